#include "controls/xopc/cCollector.h"

#include "core/cOPCServer.h"

namespace tagwell {

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

}  // namespace tagwell
