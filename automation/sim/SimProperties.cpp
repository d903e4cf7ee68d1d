#include "automation/sim/SimProperties.h"

#include <algorithm>

#include "automation/sim/SimTag.h"
#include "platform/ComError.h"

namespace tagwell {

namespace {
constexpr int16_t EUTypeNone = 0;
constexpr int16_t EUTypeAnalog = 1;

struct Standard {
    int32_t id;
    const char* description;
    int16_t dataType;
};

constexpr Standard Table[] = {
    {SimProperties::CanonicalDataType, "Item Canonical DataType", vtI2},
    {SimProperties::Value, "Item Value", vtVariant},
    {SimProperties::Quality, "Item Quality", vtI2},
    {SimProperties::Timestamp, "Item Timestamp", vtDate},
    {SimProperties::AccessRights, "Item Access Rights", vtI4},
    {SimProperties::ScanRate, "Server Scan Rate", vtR4},
    {SimProperties::EUType, "Item EU Type", vtI4},
    {SimProperties::EUInfo, "Item EUInfo", vtArray | vtR8},
    {SimProperties::EUUnits, "EU Units", vtString},
    {SimProperties::Description, "Item Description", vtString},
    {SimProperties::HighEU, "High EU", vtR8},
    {SimProperties::LowEU, "Low EU", vtR8},
};
}  // namespace

int16_t SimProperties::euType(const SimTag& tag)
{
    return tag.euRange() ? EUTypeAnalog : EUTypeNone;
}

Variant SimProperties::euInfo(const SimTag& tag)
{
    if (!tag.euRange())
        return Variant();
    return Variant::array(vtR8, {tag.euRange()->low, tag.euRange()->high});
}

bool SimProperties::offers(const SimTag& tag, int32_t id)
{
    switch (id) {
    case EUInfo: case HighEU: case LowEU: return tag.euRange().has_value();
    case EUUnits: return !tag.units().empty();
    default:
        return std::any_of(std::begin(Table), std::end(Table),
                           [id](const Standard& s) { return s.id == id; });
    }
}

std::vector<SimProperties::Info> SimProperties::available(const SimTag& tag)
{
    std::vector<Info> list;
    for (const Standard& s : Table) {
        if (!offers(tag, s.id))
            continue;
        const int16_t type = s.id == Value ? int16_t(tag.canonicalType()) : s.dataType;
        list.push_back(Info{s.id, s.description, type});
    }
    return list;
}

SimProperties::Reading SimProperties::read(const SimTag& tag, int32_t id,
                                           std::chrono::milliseconds now, double currentDate)
{
    if (!offers(tag, id))
        return Reading{Variant(), errors::OPC_E_INVALID_PID};
    switch (id) {
    case CanonicalDataType: return Reading{Variant(int16_t(tag.canonicalType()))};
    case Value:
        if (!tag.isReadable())
            return Reading{Variant(), errors::OPC_E_BADRIGHTS};
        return Reading{tag.valueAt(now)};
    case Quality: return Reading{Variant(int16_t(tag.quality()))};
    case Timestamp: return Reading{Variant::fromDate(tag.timestampAt(currentDate))};
    case AccessRights: return Reading{Variant(tag.accessRights())};
    case ScanRate: return Reading{Variant(ScanRateMilliseconds)};
    case EUType: return Reading{Variant(int32_t(euType(tag)))};
    case EUInfo: return Reading{euInfo(tag)};
    case EUUnits: return Reading{Variant(tag.units())};
    case Description: return Reading{Variant(tag.description())};
    case HighEU: return Reading{Variant(tag.euRange()->high)};
    case LowEU: return Reading{Variant(tag.euRange()->low)};
    default: return Reading{Variant(), errors::OPC_E_INVALID_PID};
    }
}

}  // namespace tagwell
