#pragma once

#include <string>

namespace tagwell::configfile {

// Section and key names of a configuration file of the data control, shared
// by its writer (cCollector::WriteConfigFile) and its reader
// (XOPC::LoadConfig).
//
//   [Header]      ConfigurationName, Servers
//   [Server s]    ProgID, Node, Groups                 s from 0
//   [Group k g]   GroupName, UpdateRate, Deadband,     k = s + 1, g from 0
//                 Items, then per item i (from 1):
//                 Item<i>, Active<i>, Logged<i>, Updated<i>, Alias<i>,
//                 CustomTag1<i>, CustomTag2<i>
//
// Numbers are positions in the collections at the time of writing, in
// decimal with no leading zeros: the tenth item's first tag is CustomTag110.

inline constexpr const char* HeaderSection = "Header";
inline constexpr const char* ConfigurationNameKey = "ConfigurationName";
inline constexpr const char* ServersKey = "Servers";

inline constexpr const char* ProgIDKey = "ProgID";
inline constexpr const char* NodeKey = "Node";
inline constexpr const char* GroupsKey = "Groups";

inline constexpr const char* GroupNameKey = "GroupName";
inline constexpr const char* UpdateRateKey = "UpdateRate";
inline constexpr const char* DeadbandKey = "Deadband";
inline constexpr const char* ItemsKey = "Items";

inline constexpr const char* ItemKey = "Item";
inline constexpr const char* ActiveKey = "Active";
inline constexpr const char* LoggedKey = "Logged";
inline constexpr const char* UpdatedKey = "Updated";
inline constexpr const char* AliasKey = "Alias";
inline constexpr const char* CustomTag1Key = "CustomTag1";
inline constexpr const char* CustomTag2Key = "CustomTag2";

// Significant digits of a written dead band: all a 32-bit float holds.
inline constexpr int DeadbandDigits = 7;
// Counts are 16-bit numbers; a file with a larger one does not load.
inline constexpr int MaximumCount = 32767;
inline constexpr int MinimumCount = -32768;

// "Server 0" for the first server.
inline std::string serverSection(int serverPosition)
{
    return "Server " + std::to_string(serverPosition);
}

// "Group 1 0" for the first group of the first server: the server counted
// from 1, the group from 0.
inline std::string groupSection(int serverNumber, int groupPosition)
{
    return "Group " + std::to_string(serverNumber) + " " + std::to_string(groupPosition);
}

// "Alias12" for the twelfth item's alias.
inline std::string itemKey(const char* name, int itemNumber)
{
    return name + std::to_string(itemNumber);
}

}  // namespace tagwell::configfile
