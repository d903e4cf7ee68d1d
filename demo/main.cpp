// Connects the built-in simulation server through the object layer and
// prints its status, the servers of this computer and the properties of one
// item.
#include <cstdio>
#include <string>

#include "core/MGlobal.h"
#include "core/OPCText.h"
#include "core/cOPCServer.h"
#include "platform/OleDate.h"

using namespace tagwell;

namespace {

constexpr const char* DemoProgId = "ICONICS.Simulator.1";
constexpr const char* DemoItem = "SimulatePLC.PHASED.Ramp1";

void printStatus(cOPCServer& server)
{
    std::string vendor;
    int32_t state = 0;
    double started = 0, now = 0;
    int16_t major = 0, minor = 0, build = 0;
    server.GetVendorInfo(vendor);
    server.GetServerState(state);
    server.GetStartTime(started);
    server.GetCurrentTime(now);
    server.GetMajorVersion(major);
    server.GetMinorVersion(minor);
    server.GetBuildNumber(build);
    std::printf("Server        %s on %s\n", server.GetServerName().c_str(),
                server.GetNodeName().c_str());
    std::printf("Vendor        %s\n", vendor.c_str());
    std::printf("State         %s\n", OPCText::ServerStateText(state).value_or("?").c_str());
    std::printf("Start time    %s\n", OleDate::toText(started).c_str());
    std::printf("Current time  %s\n", OleDate::toText(now).c_str());
    std::printf("Version       %d.%d build %d\n", major, minor, build);
}

void printServerList(cOPCServer& server)
{
    OleArray<std::string> servers;
    server.GetOPCServerList(servers);
    std::printf("\nServers on this computer (%s):\n", MGlobal::GetLocalComputerName().c_str());
    for (const std::string& progId : servers)
        std::printf("  %s\n", progId.c_str());
}

void printItemProperties(cOPCServer& server)
{
    int32_t count = 0;
    OleArray<int32_t> ids;
    OleArray<std::string> descriptions;
    OleArray<int16_t> types;
    OleArray<Variant> values;
    if (!server.GetAvailableProperties(DemoItem, count, ids, descriptions, types, values))
        return;
    std::printf("\nProperties of %s:\n", DemoItem);
    for (int32_t i = 1; i <= count; ++i) {
        std::string value;
        try {
            value = values.contains(i) ? values[i].toString() : std::string();
        } catch (const ComError&) {
            value = "(array)";
        }
        std::printf("  %4d  %-28s %s\n", ids[i], descriptions[i].c_str(), value.c_str());
    }
}

}  // namespace

int main()
{
    cOPCServer server;
    if (!server.ConnectOPCServer(DemoProgId, "Server 0", 0, "")) {
        std::fprintf(stderr, "Could not connect %s\n", DemoProgId);
        return 1;
    }
    printStatus(server);
    printServerList(server);
    printItemProperties(server);
    server.DisconnectOPCServer("");
    return 0;
}
