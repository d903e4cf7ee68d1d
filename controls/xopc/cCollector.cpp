#include "controls/xopc/cCollector.h"

#include "controls/xopc/ConfigFileKeys.h"
#include "core/cMousePointer.h"
#include "core/cOPCGroup.h"
#include "core/cOPCItem.h"
#include "core/cOPCServer.h"
#include "platform/PrivateProfile.h"
#include "platform/ValueText.h"

namespace tagwell {

namespace {

using namespace configfile;

// A configuration document being built in memory; remembers whether any
// value could not be stored.
class ConfigDocument {
public:
    void put(const std::string& section, const std::string& key, const std::string& value)
    {
        m_complete = m_profile.setValue(section, key, value) && m_complete;
    }
    void putCount(const std::string& section, const std::string& key, size_t count)
    {
        put(section, key, ValueText::plain(int64_t(count)));
    }
    void putFlag(const std::string& section, const std::string& key, bool flag)
    {
        put(section, key, ValueText::ofBoolean(flag));
    }
    bool saveTo(const std::string& path) const { return m_complete && m_profile.save(path); }

private:
    PrivateProfile m_profile;
    bool m_complete = true;
};

void writeItem(ConfigDocument& doc, const std::string& section, int i, cOPCItem& item)
{
    doc.put(section, itemKey(ItemKey, i), item.GetItemID());
    doc.putFlag(section, itemKey(ActiveKey, i), item.GetItemActiveState());
    doc.putFlag(section, itemKey(LoggedKey, i), item.GetItemLogged());
    doc.putFlag(section, itemKey(UpdatedKey, i), item.GetItemDisplayUpdates());
    doc.put(section, itemKey(AliasKey, i), item.GetItemAlias());
    doc.put(section, itemKey(CustomTag1Key, i), item.GetItemCustomTag1());
    doc.put(section, itemKey(CustomTag2Key, i), item.GetItemCustomTag2());
}

// False when the group cannot tell its update rate or dead band: a file
// with a made-up value would not load back what was configured.
bool writeGroup(ConfigDocument& doc, const std::string& section, cOPCGroup& group)
{
    int32_t updateRate = 0;
    float deadband = 0;
    if (!group.GetGroupUpdateRate(updateRate) || !group.GetGroupDeadBand(deadband))
        return false;
    doc.put(section, GroupNameKey, group.GetGroupName());
    doc.put(section, UpdateRateKey, ValueText::plain(updateRate));
    // General form keeps fractions (2.5 stays 2.5); whole numbers are
    // written as before ("2").
    doc.put(section, DeadbandKey, ValueText::general(deadband, DeadbandDigits));
    const auto& items = group.GetOPCGroupItemsCollection();
    doc.putCount(section, ItemsKey, items.count());
    int i = 0;
    for (const auto& entry : items) {
        ++i;
        if (entry.value)
            writeItem(doc, section, i, *entry.value);
    }
    return true;
}

bool writeServer(ConfigDocument& doc, int position, cOPCServer& server)
{
    const std::string section = serverSection(position);
    doc.put(section, ProgIDKey, server.GetServerName());
    // The local computer is stored as no node, so that the file opens on
    // other computers too.
    doc.put(section, NodeKey, server.GetOPCServerIsLocal() ? std::string() : server.GetNodeName());
    auto& groups = server.GetOPCServerGroupCollection();
    doc.putCount(section, GroupsKey, groups.count());
    int g = 0;
    for (auto& entry : groups) {
        if (entry.value && !writeGroup(doc, groupSection(position + 1, g), *entry.value))
            return false;
        ++g;
    }
    return true;
}

}  // namespace

std::shared_ptr<cOPCServer> cCollector::ServerById(int32_t serverId) const
{
    return ServerByKey("Server " + std::to_string(serverId));
}

std::shared_ptr<cOPCServer> cCollector::ServerByKey(const std::string& serverKey) const
{
    const std::shared_ptr<cOPCServer>* server = m_servers.find(serverKey);
    return server ? *server : nullptr;
}

void cCollector::RemoveAllServers()
{
    while (!m_servers.empty())
        m_servers.takeLast();
}

bool cCollector::WriteConfigFile(const std::string& Name, const std::string& Path)
{
    cMousePointer busy;
    try {
        ConfigDocument doc;
        doc.put(HeaderSection, ConfigurationNameKey, Name);
        doc.putCount(HeaderSection, ServersKey, m_servers.count());
        int s = 0;
        for (auto& entry : m_servers) {
            if (entry.value && !writeServer(doc, s, *entry.value))
                return false;
            ++s;
        }
        return doc.saveTo(Path);
    } catch (...) {
        return false;
    }
}

}  // namespace tagwell
