#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Variant.h"

namespace tagwell {

// How a simulated tag's value moves with time.
enum class SimSignal {
    Static,  // holds what was last written
    Ramp,    // low to high over one period, then back to low
    Sine,    // centred between low and high, one cycle per period
    Random,  // a new seeded pseudo-random value every period
    Toggle,  // Boolean that flips every half period
    Cycle,   // steps through a list of texts, one per period
};

// Engineering-unit range of an analog tag.
struct SimEURange {
    double low = 0;
    double high = 0;
    double span() const { return high - low; }
};

// One leaf of a simulated address space: its identity, type, access, its
// signal and the value it holds.
//
// The value is a pure function of the virtual clock (milliseconds of
// Dispatcher::current().now()) for generated signals, so that two readers at
// the same moment see the same value whatever else happened in between;
// random signals hash their seed with the period number instead of keeping a
// generator state. A write turns any signal into a static value.
class SimTag {
public:
    struct Definition {
        std::string itemId;          // fully qualified
        std::string name;            // the leaf name in its branch
        uint16_t canonicalType = vtR8;
        int32_t accessRights = 3;    // 1 readable, 2 writable
        SimSignal signal = SimSignal::Static;
        std::chrono::milliseconds period{10'000};
        std::chrono::milliseconds phase{0};
        double low = 0;              // signal range (ramps, sines, random values)
        double high = 100;
        std::optional<SimEURange> euRange;  // analog tags: properties 102/103 and the dead band
        std::string units;
        std::string description;
        int32_t arrayLength = 0;     // > 0 for array types
        Variant initial;             // static tags
        std::vector<std::string> texts;  // cycle tags
    };

    // createdAt: the automation date a static value carries until it is written.
    SimTag(Definition definition, double createdAt);

    const std::string& itemId() const { return m_def.itemId; }
    const std::string& name() const { return m_def.name; }
    uint16_t canonicalType() const { return m_def.canonicalType; }
    int32_t accessRights() const { return m_def.accessRights; }
    bool isReadable() const { return (m_def.accessRights & 1) != 0; }
    bool isWritable() const { return (m_def.accessRights & 2) != 0; }
    SimSignal signal() const { return m_def.signal; }
    const std::optional<SimEURange>& euRange() const { return m_def.euRange; }
    const std::string& units() const { return m_def.units; }
    const std::string& description() const { return m_def.description; }

    // The value at a moment of the virtual clock, in the canonical type.
    Variant valueAt(std::chrono::milliseconds now) const;
    int32_t quality() const { return m_quality; }
    // The automation date the value last changed: the sampling moment for a
    // generated signal, the write for a static one.
    double timestampAt(double currentDate) const;

    // Stores a value already converted to the canonical type.
    void store(const Variant& value, double date);
    void setQuality(int32_t quality) { m_quality = quality; }

private:
    double fraction(std::chrono::milliseconds now) const;
    double scalarAt(std::chrono::milliseconds now, int32_t element) const;
    Variant typed(double value) const;
    Variant zeroValue() const;

    Definition m_def;
    Variant m_value;
    double m_writtenAt = 0;
    int32_t m_quality;
};

}  // namespace tagwell
