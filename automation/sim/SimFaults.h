#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace tagwell {

// Injected failures of a simulated server, for tests.
//
// An operation is named by its automation member, optionally qualified by the
// object that has it: "UpdateRate" fails both reading and writing a group's
// update rate; "OPCItems.Remove" only the removal of items while "Remove"
// fails the removal of groups and of items alike. A qualified entry is looked
// up first. Names compare without regard to case.
//
// Objects and their member names:
//   OPCServer   GetOPCServers (the node's server list), Connect, Disconnect,
//               OPCGroups, CreateBrowser, StartTime, CurrentTime,
//               LastUpdateTime, MajorVersion, MinorVersion, BuildNumber,
//               VendorInfo, ServerState, ServerName, ServerNode,
//               QueryAvailableProperties, GetItemProperties
//   OPCGroups   DefaultGroupIsActive, DefaultGroupUpdateRate,
//               DefaultGroupDeadband, DefaultGroupTimeBias, Count, Add,
//               GetOPCGroup, Remove, RemoveAll
//   OPCGroup    Name, IsActive, IsSubscribed, UpdateRate, DeadBand, TimeBias,
//               OPCItems, SyncWrite, AsyncWrite, AsyncRefresh
//   OPCItems    DefaultRequestedDataType, DefaultIsActive, Count, AddItem,
//               GetOPCItem, Remove, Validate
//   OPCItem     ClientHandle, ServerHandle, AccessPath, AccessRights, ItemID,
//               IsActive, RequestedDataType, Value, Quality, TimeStamp,
//               CanonicalDataType, EUType, EUInfo, Parent, Write
//   OPCBrowser  Organization, Filter, DataType, AccessRights,
//               CurrentPosition, Count, Item, ShowBranches, ShowLeafs, MoveUp,
//               MoveToRoot, MoveDown, GetItemID
//
// A failing member throws ComError with the injected number, the object's
// name as source and a description naming the member; it changes nothing.
class SimFaults {
public:
    static constexpr int32_t Always = -1;

    // Fails the operation on every call (times = Always) or on the next
    // `times` calls.
    void fail(const std::string& operation, int32_t error, int32_t times = Always);
    void clear(const std::string& operation);
    void clearAll();

    // Makes every connection attempt fail with the error; nullopt accepts again.
    void refuseConnections(std::optional<int32_t> error) { m_refusal = error; }
    std::optional<int32_t> connectionRefusal() const { return m_refusal; }

    // Throws the injected failure of object.member, if one is due.
    void check(const char* object, const char* member);

private:
    struct Fault {
        int32_t error;
        int32_t remaining;
    };
    void trigger(const std::string& key, const char* object, const char* member);

    std::map<std::string, Fault> m_faults;
    std::optional<int32_t> m_refusal;
};

}  // namespace tagwell
