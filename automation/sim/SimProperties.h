#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Variant.h"

namespace tagwell {

class SimTag;

// The item properties a simulated tag offers.
//
// Every tag has 1 canonical data type, 2 value, 3 quality, 4 timestamp,
// 5 access rights, 6 scan rate, 7 EU type and 101 description; analog tags
// (with EU limits) also 8 EU info, 102 high EU and 103 low EU; tags with
// units 100 EU units.
class SimProperties {
public:
    static constexpr int32_t CanonicalDataType = 1;
    static constexpr int32_t Value = 2;
    static constexpr int32_t Quality = 3;
    static constexpr int32_t Timestamp = 4;
    static constexpr int32_t AccessRights = 5;
    static constexpr int32_t ScanRate = 6;
    static constexpr int32_t EUType = 7;
    static constexpr int32_t EUInfo = 8;
    static constexpr int32_t EUUnits = 100;
    static constexpr int32_t Description = 101;
    static constexpr int32_t HighEU = 102;
    static constexpr int32_t LowEU = 103;
    // The fastest rate at which the simulation samples its tags.
    static constexpr float ScanRateMilliseconds = 10.0f;

    struct Info {
        int32_t id;
        std::string description;
        int16_t dataType;
    };
    struct Reading {
        Variant value;
        int32_t error = 0;  // OPC_E_INVALID_PID, OPC_E_BADRIGHTS
    };

    static std::vector<Info> available(const SimTag& tag);
    static Reading read(const SimTag& tag, int32_t id, std::chrono::milliseconds now,
                        double currentDate);

    // 1 analog (EU info holds low and high), 0 none.
    static int16_t euType(const SimTag& tag);
    static Variant euInfo(const SimTag& tag);

private:
    static bool offers(const SimTag& tag, int32_t id);
};

}  // namespace tagwell
