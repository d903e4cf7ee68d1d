#include <gtest/gtest.h>

#include <algorithm>

#include "automation/AutomationRegistry.h"
#include "automation/sim/SimulationBackend.h"
#include "core/MGlobal.h"
#include "core/PendingMessages.h"
#include "core/cOPCServer.h"
#include "platform/ComputerName.h"
#include "platform/ManualDispatcher.h"
#include "platform/RecordingMessageBoxService.h"
#include "platform/Services.h"

using namespace tagwell;
using namespace std::chrono_literals;

namespace {

constexpr const char* ThisComputer = "TagwellHost";
const std::string InvalidProgIdHint = "Error! Possible cause: Invalid ProgID or OPC Server Disconnected";

// A backend that answers for one ProgID on every node and only records how
// it was asked to connect.
class RecordingBackend : public ServerBackend {
public:
    static constexpr const char* ProgId = "Test.Recorder.1";
    static constexpr const char* ClassId = "{0A1B2C3D-0000-4000-8000-00000000000A}";

    bool reachesNode(const std::string&) override { return true; }
    std::vector<std::string> serverList(const std::string&) override { return {ProgId}; }
    std::optional<std::string> classIdOf(const std::string& p) override
    {
        return p == ProgId ? std::optional<std::string>(ClassId) : std::nullopt;
    }
    std::optional<std::string> progIdOf(const std::string& c) override
    {
        return c == ClassId ? std::optional<std::string>(ProgId) : std::nullopt;
    }
    std::unique_ptr<ServerConnection> connect(const std::string& progId, const std::string& node) override
    {
        calls.push_back(progId + "@" + node);
        throw ComError(errors::E_FAIL_, "RecordingBackend", "recorded only");
    }
    std::vector<std::string> calls;
};

struct RecordingOwner : IServerCallback {
    void Shutdown(const std::string& key, const std::string& reason) override
    {
        shutdowns.push_back(key + "|" + reason);
    }
    void OPCServerError(const std::string& text) override { errors.push_back(text); }
    std::vector<std::string> shutdowns;
    std::vector<std::string> errors;
};

class cOPCServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dispatcher::install(&dispatcher);
        Services::installMessageBox(&boxes);
        ComputerName::setProvider([] { return std::optional<std::string>(ThisComputer); });
        SimulationBackend::shared()->reset();
        PendingMessages::Clear();
    }
    void TearDown() override
    {
        ComputerName::setProvider({});
        Services::installMessageBox(nullptr);
        Dispatcher::install(nullptr);
    }
    SimServer& demo() { return SimulationBackend::shared()->server(SimulationBackend::DemoProgId); }

    ManualDispatcher dispatcher;
    RecordingMessageBoxService boxes;
};

}  // namespace

TEST_F(cOPCServerTest, ConnectsTheDemonstrationServerAndReadsItsStatus)
{
    cOPCServer server;
    ASSERT_TRUE(server.ConnectOPCServer(SimulationBackend::DemoProgId, "Server 0", 0, ""));
    EXPECT_TRUE(server.GetOPCServerIsLocal());
    EXPECT_EQ(server.GetServerName(), SimulationBackend::DemoProgId);
    EXPECT_EQ(server.GetOPCServerKey(), "Server 0");
    EXPECT_EQ(server.GetServerNameFromServer(), SimulationBackend::DemoProgId);
    EXPECT_EQ(server.GetNodeName(), ThisComputer);

    std::string vendor;
    int32_t state = 0;
    double started = 0, now = 0;
    int16_t major = -1;
    EXPECT_TRUE(server.GetVendorInfo(vendor));
    EXPECT_TRUE(server.GetServerState(state));
    EXPECT_TRUE(server.GetStartTime(started));
    dispatcher.advance(2000ms);
    EXPECT_TRUE(server.GetCurrentTime(now));
    EXPECT_TRUE(server.GetMajorVersion(major));
    EXPECT_EQ(vendor, demo().vendorInfo());
    EXPECT_EQ(state, 1);
    EXPECT_NEAR((now - started) * 86400.0, 2.0, 0.01);
    EXPECT_EQ(major, SimServer::Major);

    bool active = false;
    int32_t rate = 0;
    float deadBand = -1;
    EXPECT_TRUE(server.GetDefaultGroupIsActive(active));
    EXPECT_TRUE(server.GetDefaultGroupUpdateRate(rate));
    EXPECT_TRUE(server.GetDefaultGroupDeadBand(deadBand));
    EXPECT_TRUE(active);
    EXPECT_EQ(rate, 100);
    EXPECT_EQ(deadBand, 0.0f);
    EXPECT_TRUE(PendingMessages::All().empty());
}

TEST_F(cOPCServerTest, ChoosesNodeAndConnectionKindFromTheNames)
{
    auto recorder = std::make_shared<RecordingBackend>();
    AutomationRegistry::instance().addBackend(recorder);
    struct Case { std::string serverName; std::string node; bool local; std::string call; };
    const Case cases[] = {
        {RecordingBackend::ProgId, "", true, std::string(RecordingBackend::ProgId) + "@" + ThisComputer},
        {RecordingBackend::ProgId, ThisComputer, true, std::string(RecordingBackend::ProgId) + "@" + ThisComputer},
        {RecordingBackend::ProgId, "TAGWELLHOST", false, std::string(RecordingBackend::ProgId) + "@TAGWELLHOST"},
        {RecordingBackend::ProgId, "PLANT7", false, std::string(RecordingBackend::ProgId) + "@PLANT7"},
        // Braces on both ends: connected by class identifier.
        {RecordingBackend::ClassId, "", true, std::string(RecordingBackend::ProgId) + "@" + ThisComputer},
    };
    for (const Case& c : cases) {
        recorder->calls.clear();
        cOPCServer server;
        EXPECT_FALSE(server.ConnectOPCServer(c.serverName, "Server 1", 1, c.node));
        EXPECT_EQ(server.GetOPCServerIsLocal(), c.local) << c.node;
        EXPECT_EQ(recorder->calls, std::vector<std::string>{c.call}) << c.serverName << " " << c.node;
        EXPECT_EQ(server.GetServerName(), c.serverName);  // kept although the connection failed
    }
    AutomationRegistry::instance().removeBackend(recorder);
}

TEST_F(cOPCServerTest, ConnectsByClassIdentifierAndSendsAnOpeningBraceAloneToConnect)
{
    cOPCServer byClass;
    EXPECT_TRUE(byClass.ConnectOPCServer(SimulationBackend::FlatClassId, "Server 0", 0, ""));
    EXPECT_EQ(byClass.GetServerNameFromServer(), SimulationBackend::FlatProgId);

    cOPCServer halfBraced;
    EXPECT_FALSE(halfBraced.ConnectOPCServer("{2C6F3B8E-51A4-4F0B-9D7E-6A1C0B3E7D02", "Server 1", 1, ""));
    ASSERT_EQ(PendingMessages::Count(), 1u);
    EXPECT_EQ(PendingMessages::All()[0],
              "Function 'Connect' returned an error of -2147467259 or Hex 0x80004005");
}

TEST_F(cOPCServerTest, AFailedConnectionIsReportedWithTheHintOfItsNumber)
{
    struct Case { int32_t error; std::string text; std::string hint; };
    const Case cases[] = {
        {errors::E_FAIL_, "Function 'Connect' returned an error of -2147467259 or Hex 0x80004005", InvalidProgIdHint},
        {429, "Function 'Connect' returned an error of  429 or Hex 0x1AD",
         "Error! Possible cause: No ProgID or Incorrect DCOM configuration."},
        {errors::RPC_E_SERVERCALL_RETRYLATER_, "Function 'Connect' returned an error of -2147418107 or Hex 0x80010005",
         "Error! Possible cause: DCOM Timeout on Remote OPC Server"},
    };
    for (const Case& c : cases) {
        SetUp();
        boxes.shown.clear();
        demo().faults().fail("Connect", c.error);
        RecordingOwner owner;
        cOPCServer server;
        server.SetServerOwner(&owner);
        EXPECT_FALSE(server.ConnectOPCServer(SimulationBackend::DemoProgId, "Server 0", 0, ""));
        EXPECT_EQ(owner.errors, std::vector<std::string>{c.text});
        EXPECT_EQ(PendingMessages::All(), std::vector<std::string>{c.text});
        EXPECT_EQ(boxes.prompts(), std::vector<std::string>{c.hint});
    }
}

TEST_F(cOPCServerTest, BadNamesAndNodesFailWithAReportAndNothingElse)
{
    const std::pair<std::string, std::string> attempts[] = {
        {"No.Such.Server", ""},
        {"", ""},
        {"{not-a-class-id}", ""},
        {"{00000000-0000-0000-0000-000000000000}", ""},
        {SimulationBackend::DemoProgId, "NOWHERE"},
    };
    for (const auto& [name, node] : attempts) {
        PendingMessages::Clear();
        cOPCServer server;
        EXPECT_FALSE(server.ConnectOPCServer(name, "Server 0", 0, node)) << name;
        EXPECT_EQ(PendingMessages::Count(), 1u) << name;
        EXPECT_EQ(MGlobal::GetServerStateCode(&server), ServerStateUnreadable);
    }
}

TEST_F(cOPCServerTest, AFailingGroupDefaultIsReportedButDoesNotStopTheConnection)
{
    demo().faults().fail("DefaultGroupUpdateRate", errors::E_FAIL_);
    cOPCServer server;
    EXPECT_TRUE(server.ConnectOPCServer(SimulationBackend::DemoProgId, "Server 0", 0, ""));
    EXPECT_EQ(PendingMessages::All(),
              std::vector<std::string>{"Function 'SetDefaultGroupUpdateRate' returned an error of -2147467259 or Hex 0x80004005"});
}

TEST_F(cOPCServerTest, StateProbeGivesStateOr99Or999)
{
    EXPECT_EQ(MGlobal::GetServerStateCode(nullptr), NoServerObject);
    cOPCServer server;
    EXPECT_EQ(MGlobal::GetServerStateCode(&server), ServerStateUnreadable);  // never connected
    ASSERT_TRUE(server.ConnectOPCServer(SimulationBackend::DemoProgId, "Server 0", 0, ""));
    for (int32_t state = 1; state <= 6; ++state) {
        demo().setServerState(state);
        EXPECT_EQ(MGlobal::GetServerStateCode(&server), state);
    }
    demo().faults().fail("ServerState", errors::RPC_E_CALL_REJECTED_);
    EXPECT_EQ(MGlobal::GetServerStateCode(&server), ServerStateUnreadable);
}

TEST_F(cOPCServerTest, DisconnectForShutdownCallsNothingWhileANormalOneReleasesTheServer)
{
    cOPCServer server;
    ASSERT_TRUE(server.ConnectOPCServer(SimulationBackend::DemoProgId, "Server 0", 0, ""));
    demo().faults().fail("Disconnect", errors::E_FAIL_, 1);
    EXPECT_TRUE(server.DisconnectOPCServer("ServerShutdown"));
    EXPECT_TRUE(PendingMessages::All().empty());
    EXPECT_NE(server.GetOPCServerObject(), nullptr);

    EXPECT_FALSE(server.DisconnectOPCServer(""));  // the injected failure is still due
    EXPECT_EQ(PendingMessages::Count(), 1u);
    EXPECT_TRUE(server.DisconnectOPCServer(""));
    EXPECT_EQ(server.GetOPCServerObject(), nullptr);
    EXPECT_EQ(demo().connectionCount(), 0);

    int32_t state = 0;
    EXPECT_FALSE(server.GetServerState(state));
    EXPECT_EQ(PendingMessages::All().back(), "Function 'ServerState' returned an error of  91 or Hex 0x5B");
}

TEST_F(cOPCServerTest, ShutdownNoticeReachesALivingOwnerOnly)
{
    struct LoggingOwner : IServerCallback {
        explicit LoggingOwner(std::vector<std::string>& log) : shutdowns(log) {}
        void Shutdown(const std::string& key, const std::string& reason) override
        {
            shutdowns.push_back(key + "|" + reason);
        }
        std::vector<std::string>& shutdowns;
    };
    std::vector<std::string> log;
    auto owner = std::make_unique<LoggingOwner>(log);
    cOPCServer server;
    server.SetServerOwner(owner.get());
    ASSERT_TRUE(server.ConnectOPCServer(SimulationBackend::DemoProgId, "Server 3", 3, ""));
    demo().shutdown("Maintenance");
    EXPECT_TRUE(log.empty());  // raised later, on the owner thread
    dispatcher.runPending();
    EXPECT_EQ(log, std::vector<std::string>{"Server 3|Maintenance"});

    owner.reset();
    demo().shutdown("Again");
    dispatcher.runPending();
    EXPECT_EQ(log, std::vector<std::string>{"Server 3|Maintenance"});
}

TEST_F(cOPCServerTest, ServerListWorksWithoutAConnection)
{
    cOPCServer server;
    OleArray<std::string> list;
    server.GetOPCServerList(list);
    EXPECT_EQ(list.lbound(), 1);
    for (const char* progId : {SimulationBackend::DemoProgId, SimulationBackend::FlatProgId,
                               SimulationBackend::NoBrowserProgId})
        EXPECT_NE(std::find(list.begin(), list.end(), progId), list.end()) << progId;

    OleArray<std::string> untouched = OleArray<std::string>::oneBased({"kept"});
    server.GetOPCServerList(untouched, std::string("NOWHERE"));
    EXPECT_EQ(untouched.elements(), std::vector<std::string>{"kept"});
    EXPECT_EQ(PendingMessages::All(),
              std::vector<std::string>{"Function 'Get OPC Server List' returned an error of -2147023174 or Hex 0x800706BA"});
}

TEST_F(cOPCServerTest, AvailablePropertiesCarryEngineeringLimitsAndValues)
{
    cOPCServer server;
    ASSERT_TRUE(server.ConnectOPCServer(SimulationBackend::DemoProgId, "Server 0", 0, ""));
    int32_t count = 0;
    OleArray<int32_t> ids;
    OleArray<std::string> descriptions;
    OleArray<int16_t> types;
    OleArray<Variant> values;
    ASSERT_TRUE(server.GetAvailableProperties("SimulatePLC.PHASED.Ramp1", count, ids, descriptions, types, values));
    ASSERT_GT(count, 0);
    EXPECT_EQ(ids.lbound(), 1);
    EXPECT_EQ(ids.ubound(), count);
    EXPECT_EQ(values.ubound(), count);
    auto valueOf = [&](int32_t id) {
        for (int32_t i = 1; i <= count; ++i)
            if (ids[i] == id)
                return values[i];
        return Variant();
    };
    EXPECT_GT(valueOf(102).toR8(), valueOf(103).toR8());
    EXPECT_EQ(valueOf(1).toI4(), demo().tag("SimulatePLC.PHASED.Ramp1").canonicalType());

    EXPECT_FALSE(server.GetAvailableProperties("No.Such.Item", count, ids, descriptions, types, values));
    EXPECT_EQ(PendingMessages::Count(), 1u);
}

TEST_F(cOPCServerTest, DestructionRemovesGroupsAndDisconnects)
{
    {
        cOPCServer server;
        ASSERT_TRUE(server.ConnectOPCServer(SimulationBackend::DemoProgId, "Server 0", 0, ""));
        std::string name = "G", key;
        ASSERT_TRUE(server.AddOPCGroup(name, 100, 0, true, true, key));
        EXPECT_EQ(demo().connectionCount(), 1);
    }
    EXPECT_EQ(demo().connectionCount(), 0);
    EXPECT_TRUE(PendingMessages::All().empty());
}

TEST_F(cOPCServerTest, LocalComputerNameFallsBackToUnknown)
{
    EXPECT_EQ(MGlobal::GetLocalComputerName(), ThisComputer);
    ComputerName::setProvider([] { return std::optional<std::string>(std::string(300, 'n')); });
    EXPECT_EQ(MGlobal::GetLocalComputerName(), std::string(255, 'n'));
    ComputerName::setProvider([] { return std::optional<std::string>(); });
    EXPECT_EQ(MGlobal::GetLocalComputerName(), "UNKNOWN");
    EXPECT_TRUE(boxes.shown.empty());

    ComputerName::setProvider([]() -> std::optional<std::string> {
        throw ComError(errors::PermissionDenied, "HostNames", "Permission denied");
    });
    EXPECT_EQ(MGlobal::GetLocalComputerName(), "UNKNOWN");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Error # 70");
    EXPECT_EQ(boxes.shown[0].prompt,
              "Error # 70\twas generated in\rProcedure :\tGetWorkStationID\rBy Program : \tHostNames\r"
              "Description : \tPermission denied");
    EXPECT_EQ(msgbox::iconOf(boxes.shown[0].style), msgbox::Exclamation);
}
