#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/KeyedCollection.h"

namespace tagwell {

class cOPCGroup;
class cOPCItem;
class cOPCServer;

// What one data control holds of its configuration: the connected servers
// under their ServerKeys, in the order they were added, and the current
// selection that group and item operations apply to. The tree and the item
// list of the control are views of these; nothing else keeps a copy.
//
// The holder owns the servers (each server owns its groups, each group its
// items). The selection holds counted references too, so a selected object
// that was removed from its collection stays usable until the selection
// moves on. Owner thread only.
class cCollector {
public:
    using ServerCollection = KeyedCollection<std::shared_ptr<cOPCServer>>;

    static constexpr int16_t DefaultDisplayInterval = 250;  // ms

    cCollector() = default;
    cCollector(const cCollector&) = delete;
    cCollector& operator=(const cCollector&) = delete;

    ServerCollection& Servers() { return m_servers; }
    const ServerCollection& Servers() const { return m_servers; }

    // The server added under "Server " and the decimal ServerID, or nullptr.
    std::shared_ptr<cOPCServer> ServerById(int32_t serverId) const;
    // The server under a ServerKey, or nullptr.
    std::shared_ptr<cOPCServer> ServerByKey(const std::string& serverKey) const;
    // Drops every server, the last added first; dropping the last reference
    // to a server disconnects its groups and then the server itself.
    void RemoveAllServers();

    // Saves the configuration (servers, their groups, the groups' items with
    // their flags and tags) to the file at Path, under the name Name; the
    // layout of the file is described in ConfigFileKeys.h. The whole file is
    // built in memory first and then replaces any earlier file in one step,
    // so a write that fails, at any point, leaves an earlier file whole and
    // makes no new one. False when a server, group or item cannot give its
    // settings or the file cannot be written (a folder that does not exist,
    // no permission, a full disk). Shows the hourglass while it runs.
    bool WriteConfigFile(const std::string& Name, const std::string& Path);

    std::shared_ptr<cOPCServer> SelectedOPCServer;
    std::shared_ptr<cOPCGroup> SelectedOPCGroup;
    std::shared_ptr<cOPCItem> SelectedOPCItem;

    // The number the next server is given; every attempt uses one.
    int16_t ServerIndex = 0;
    // Items added minus items removed one by one; shown in the list title.
    int32_t GlobalItemCount = 0;
    // Milliseconds between two display updates.
    int16_t DisplayInterval = DefaultDisplayInterval;

private:
    ServerCollection m_servers;
};

}  // namespace tagwell
