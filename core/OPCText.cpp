#include "core/OPCText.h"

#include <array>
#include <map>

#include "platform/ValueText.h"
#include "platform/Variant.h"

namespace tagwell {

namespace {

constexpr int32_t QualityTopBits = 0xC0;
constexpr int32_t HighestScalarType = 17;
constexpr int32_t ArrayFlag = vtArray;
constexpr const char* PossiblyUnsigned = "Possible Unsigned data type, Writes may not work";

struct TypeTexts {
    const char* properties;
    const char* write;
};

// Indexed by type code 0 to 17.
constexpr std::array<TypeTexts, 18> TypeTable = {{
    {"Native - Specific Data Type is not set by OPC Server", "Native - Specific Data Type is not set by OPC Server"},
    {"Invalid Data Type", "Invalid Data Type"},
    {"Short Integer - 16 bit Signed", "Integer - 16 bit Signed"},
    {"Long Integer - 32 bit Signed", "Long - 32 bit Signed"},
    {"Float - 32 bit Float", "Float - 32 bit Float"},
    {"Double - 64 bit Real", "Double - 64 bit Real"},
    {"Currency - Not Allowed", "Currency Type Not Allowed"},
    {"Date - Not Allowed", "Date Type Not Allowed"},
    {"String - 8 bit Signed Characters", "String - 8 bit Signed Characters"},
    {"Object - Not Allowed", "Object Type Not Allowed"},
    {"Invalid Data Type", "Invalid Data Type"},
    {"Boolean - True or False", "Boolean - True or False"},
    {"Variant - Not Allowed", "Variant Type Not Allowed"},
    {"Data Access - Not Allowed", "Data Access Type Not Allowed"},
    {"Decimal  - Not Allowed", "Decimal Type Not Allowed"},
    {"Invalid Data Type - Unspecified", "Invalid Data Type - Unspecified"},
    {"Invalid Data Type - Unspecified", "Invalid Data Type - Unspecified"},
    {"Char - 8 bit Unsigned Byte", "Byte - 8 bit Unsigned "},
}};

std::string typeText(int32_t type, const char* TypeTexts::*column, const char* arraySuffix)
{
    if (type >= 0 && type <= HighestScalarType)
        return TypeTable[size_t(type)].*column;
    if (type > ArrayFlag && type <= ArrayFlag + HighestScalarType)
        return std::string(TypeTable[size_t(type - ArrayFlag)].*column) + arraySuffix;
    return PossiblyUnsigned;
}

}  // namespace

std::string OPCText::QualityText(int32_t quality)
{
    static const std::map<int32_t, std::string> texts = {
        {0, "Bad, Non Specific"},
        {4, "Bad - Configuration error"},
        {8, "Bad - Not connected"},
        {12, "Bad - Device failure"},
        {16, "Bad - Sensor failure"},
        {20, "Bad - Last known value"},
        {24, "Bad - Communication failure"},
        {28, "Bad - Out of service"},
        {64, "Uncertain"},
        {68, "Uncertain - Last usable value"},
        {80, "Uncertain - Sensor not accurate"},
        {84, "Uncertain - EGU exceeded"},
        {88, "Uncertain - Sub-normal"},
        {192, "Good"},
        {216, "Good - Local override"},
    };
    auto it = texts.find(quality);
    return it == texts.end() ? "??" : it->second;
}

std::string OPCText::ShortQualityText(int32_t quality)
{
    return (quality & QualityTopBits) ? "Good" : "Bad " + ValueText::signedField(quality);
}

std::string OPCText::PropertiesDataTypeText(int32_t type)
{
    return typeText(type, &TypeTexts::properties, " Array");
}

std::string OPCText::WriteDataTypeText(int32_t type)
{
    return typeText(type, &TypeTexts::write, "Array");
}

const std::vector<std::pair<std::string, int16_t>>& OPCText::DataTypeChoices()
{
    static const std::vector<std::pair<std::string, int16_t>> choices = {
        {"Native", 0},      {"Boolean", 11},    {"Byte", 17},         {"ByteArray", 8209},
        {"Short", 2},       {"ShortArray", 8194}, {"Long", 3},        {"LongArray", 8195},
        {"Float", 4},       {"FloatArray", 8196}, {"String", 8},
    };
    return choices;
}

const std::vector<std::string>& OPCText::AccessRightsChoices()
{
    static const std::vector<std::string> choices = {"Any", "Read Only", "Write Only", "Read/Write"};
    return choices;
}

std::optional<std::string> OPCText::ServerStateText(int32_t state)
{
    switch (state) {
    case OPCRunning: return "SERVER RUNNING - NORMAL";
    case OPCFailed: return "SERVER FAILED - CHECK WITH OPC SERVER VENDOR";
    case OPCNoconfig: return "SERVER RUNNING, NO CONFIG INFO";
    case OPCSuspended: return "SERVER SUSPENDED, OUT OF SERVICE";
    case OPCTest: return "SERVER IN TEST MODE, OUTPUTS DISABLED";
    case OPCDisconnected: return "SERVER DISCONNECTED";
    case ServerStateUnreadable: return "";
    default: return std::nullopt;
    }
}

std::string OPCText::ServerStateMessage(int32_t state)
{
    switch (state) {
    case OPCRunning:
    case NoServerObject: return "";
    case ServerStateUnreadable: return "Failed to obtain OPC Server State";
    case OPCFailed:
    case OPCNoconfig:
    case OPCSuspended:
    case OPCTest:
    case OPCDisconnected: return "OPC " + *ServerStateText(state);
    default: return "Unknown Error Occurred While Obtaining OPC Server State";
    }
}

}  // namespace tagwell
