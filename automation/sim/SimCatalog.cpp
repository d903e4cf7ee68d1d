#include "automation/sim/SimCatalog.h"

#include <array>

namespace tagwell {

namespace {
using std::chrono::milliseconds;

constexpr int32_t ReadOnly = OPCReadable;
constexpr int32_t WriteOnly = OPCWritable;
constexpr int32_t ReadWrite = OPCReadable | OPCWritable;
constexpr milliseconds PhasedRampPeriod{8'000};
constexpr int PhasedRampCount = 5;
constexpr milliseconds SignalPeriod{10'000};
constexpr milliseconds RandomPeriod{1'000};
constexpr int32_t ArrayLength = 10;

SimTag::Definition signal(std::string id, uint16_t type, SimSignal kind, double low, double high,
                          milliseconds period = SignalPeriod)
{
    SimTag::Definition d;
    d.itemId = std::move(id);
    d.canonicalType = type;
    d.accessRights = ReadOnly;
    d.signal = kind;
    d.low = low;
    d.high = high;
    d.period = period;
    if (type & vtArray)
        d.arrayLength = ArrayLength;
    return d;
}

SimTag::Definition stored(std::string id, uint16_t type, Variant initial, int32_t access = ReadWrite)
{
    SimTag::Definition d;
    d.itemId = std::move(id);
    d.canonicalType = type;
    d.accessRights = access;
    d.initial = std::move(initial);
    return d;
}

SimTag::Definition analog(SimTag::Definition d, double low, double high, std::string units)
{
    d.euRange = SimEURange{low, high};
    d.units = std::move(units);
    return d;
}

SimTag::Definition described(SimTag::Definition d, std::string text)
{
    d.description = std::move(text);
    return d;
}

Variant arrayOf(uint16_t elementType, std::vector<Variant> elements)
{
    return Variant::array(elementType, std::move(elements));
}
}  // namespace

void SimCatalog::populate(SimAddressSpace& space)
{
    if (space.organization() == OPCFlat)
        addFlat(space);
    else
        addDemonstration(space);
}

void SimCatalog::addDemonstration(SimAddressSpace& space)
{
    for (int i = 1; i <= PhasedRampCount; ++i) {
        auto d = analog(signal("SimulatePLC.PHASED.Ramp" + std::to_string(i), vtR8, SimSignal::Ramp,
                               0, 100, PhasedRampPeriod),
                        0, 100, "%");
        d.phase = PhasedRampPeriod * (i - 1) / PhasedRampCount;
        space.add(described(std::move(d), "Phased ramp " + std::to_string(i)));
    }
    space.add(described(signal("SimulatePLC.BOOL.In1", vtBool, SimSignal::Toggle, 0, 1, milliseconds(2'000)),
                        "Digital input 1"));
    space.add(described(signal("SimulatePLC.BOOL.In2", vtBool, SimSignal::Toggle, 0, 1, milliseconds(3'000)),
                        "Digital input 2"));
    space.add(described(stored("SimulatePLC.BOOL.Out1", vtBool, false), "Digital output 1"));
    space.add(described(stored("SimulatePLC.BOOL.Out2", vtBool, false), "Digital output 2"));
    addSignals(space);
    addStatics(space);
    addPlant(space);
}

void SimCatalog::addSignals(SimAddressSpace& space)
{
    struct Typed { const char* name; uint16_t type; double low, high; };
    constexpr std::array<Typed, 5> Scalars{{{"Byte", vtUI1, 0, 255},
                                            {"Short", vtI2, -1000, 1000},
                                            {"Long", vtI4, -100000, 100000},
                                            {"Float", vtR4, -100, 100},
                                            {"Double", vtR8, -1000, 1000}}};
    for (const Typed& t : Scalars) {
        const std::string name = t.name;
        space.add(analog(signal("SimulatePLC.RAMP." + name, t.type, SimSignal::Ramp, t.low, t.high),
                         t.low, t.high, ""));
        space.add(analog(signal("SimulatePLC.SINE." + name, t.type, SimSignal::Sine, t.low, t.high),
                         t.low, t.high, ""));
        space.add(signal("SimulatePLC.RANDOM." + name, t.type, SimSignal::Random, t.low, t.high,
                         RandomPeriod));
        space.add(signal("SimulatePLC.ARRAY." + name + "Array", uint16_t(vtArray | t.type),
                         SimSignal::Ramp, t.low, t.high));
    }
    space.add(signal("SimulatePLC.RANDOM.Boolean", vtBool, SimSignal::Random, 0, 1, RandomPeriod));
    space.add(signal("SimulatePLC.ARRAY.BooleanArray", vtArray | vtBool, SimSignal::Toggle, 0, 1));
    auto cycle = signal("SimulatePLC.STRING.Cycle", vtString, SimSignal::Cycle, 0, 0, milliseconds(5'000));
    cycle.texts = {"Idle", "Starting", "Running", "Stopping"};
    space.add(described(std::move(cycle), "Machine state text"));
}

void SimCatalog::addStatics(SimAddressSpace& space)
{
    space.add(stored("Static.Boolean", vtBool, true));
    space.add(stored("Static.Byte", vtUI1, uint8_t(7)));
    space.add(stored("Static.Short", vtI2, int16_t(-12)));
    space.add(stored("Static.Long", vtI4, int32_t(123456)));
    space.add(stored("Static.Float", vtR4, 1.5f));
    space.add(stored("Static.Double", vtR8, 2.25));
    space.add(stored("Static.String", vtString, "Hello"));
    space.add(stored("Static.Arrays.BooleanArray", vtArray | vtBool,
                     arrayOf(vtBool, {true, false, true})));
    space.add(stored("Static.Arrays.ByteArray", vtArray | vtUI1,
                     arrayOf(vtUI1, {uint8_t(1), uint8_t(2), uint8_t(3)})));
    space.add(stored("Static.Arrays.ShortArray", vtArray | vtI2,
                     arrayOf(vtI2, {int16_t(1), int16_t(-2), int16_t(3)})));
    space.add(stored("Static.Arrays.LongArray", vtArray | vtI4,
                     arrayOf(vtI4, {int32_t(10), int32_t(20), int32_t(30)})));
    space.add(stored("Static.Arrays.FloatArray", vtArray | vtR4, arrayOf(vtR4, {0.5f, 1.5f, 2.5f})));
    space.add(stored("Static.Arrays.DoubleArray", vtArray | vtR8, arrayOf(vtR8, {0.25, 0.5, 0.75})));
    space.add(stored("Static.Arrays.StringArray", vtArray | vtString, arrayOf(vtString, {"a", "b", "c"})));
    space.add(described(analog(stored("Static.Analog.Level", vtR8, 250.0), 0, 1000, "m"), "Tank level"));
    space.add(described(analog(stored("Static.Analog.Temperature", vtR4, 20.0f), -50, 150, "degC"),
                        "Room temperature"));
    space.add(described(stored("Access.ReadOnly", vtI4, int32_t(42), ReadOnly), "Read-only value"));
    space.add(described(stored("Access.WriteOnly", vtI4, int32_t(0), WriteOnly), "Write-only value"));
    space.add(described(stored("Access.ReadWrite", vtI4, int32_t(0), ReadWrite), "Read/write value"));
}

void SimCatalog::addPlant(SimAddressSpace& space)
{
    for (const char* line : {"Plant.Area1.Line1", "Plant.Area1.Line2", "Plant.Area2.Line1"}) {
        const std::string base = line;
        space.add(analog(signal(base + ".Motor1.Speed", vtR4, SimSignal::Sine, 0, 1500), 0, 1500, "rpm"));
        space.add(signal(base + ".Motor1.Running", vtBool, SimSignal::Toggle, 0, 1, milliseconds(20'000)));
        space.add(analog(stored(base + ".Motor1.Setpoint", vtR4, 750.0f), 0, 1500, "rpm"));
        space.add(analog(signal(base + ".Tank1.Level", vtR8, SimSignal::Ramp, 0, 10), 0, 10, "m"));
        space.add(stored(base + ".Tank1.Alarm", vtBool, false, ReadOnly));
        space.add(stored(base + ".Counter", vtI4, int32_t(0)));
    }
}

void SimCatalog::addFlat(SimAddressSpace& space)
{
    space.add(analog(signal("Ramp1", vtR8, SimSignal::Ramp, 0, 100), 0, 100, "%"));
    space.add(analog(signal("Ramp2", vtI2, SimSignal::Ramp, 0, 100), 0, 100, "%"));
    space.add(analog(signal("Sine1", vtR4, SimSignal::Sine, -1, 1), -1, 1, ""));
    space.add(signal("Random1", vtI4, SimSignal::Random, 0, 1000, RandomPeriod));
    space.add(signal("Switch1", vtBool, SimSignal::Toggle, 0, 1, milliseconds(2'000)));
    space.add(stored("Setpoint1", vtR8, 50.0));
    space.add(stored("Text1", vtString, "Flat"));
    space.add(stored("Counts", vtArray | vtI4, arrayOf(vtI4, {int32_t(1), int32_t(2), int32_t(3)})));
}

}  // namespace tagwell
