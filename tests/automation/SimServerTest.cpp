#include <cctype>

#include "SimFixture.h"
#include "automation/AutomationRegistry.h"
#include "automation/sim/SimProperties.h"
#include "platform/ComputerName.h"

namespace tagwell::test {
namespace {

std::string lowered(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string uppered(std::string text)
{
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

class SimServerTest : public SimFixture {};

TEST_F(SimServerTest, ClassIdentifiersAndProgIdsMapBothWaysForEveryServer)
{
    auto& registry = AutomationRegistry::instance();
    std::set<std::string> seen;
    for (const char* progId : {SimulationBackend::DemoProgId, SimulationBackend::FlatProgId,
                               SimulationBackend::NoBrowserProgId}) {
        const auto classId = registry.classIdFromProgId(progId);
        ASSERT_TRUE(classId.has_value()) << progId;
        EXPECT_TRUE(AutomationRegistry::isWellFormedClassId(*classId));
        EXPECT_EQ(*classId, uppered(*classId));
        EXPECT_TRUE(seen.insert(*classId).second);
        EXPECT_EQ(registry.progIdFromClassId(lowered(*classId)), std::optional<std::string>(progId));
        OPCServer byClass;
        byClass.ConnectByClassId(*classId);
        EXPECT_EQ(byClass.ServerName(), progId);
    }
    std::string versionIndependent = SimulationBackend::DemoProgId;
    versionIndependent.erase(versionIndependent.rfind('.'));
    EXPECT_EQ(sim().classIdOf(lowered(versionIndependent)), sim().classIdOf(SimulationBackend::DemoProgId));
    EXPECT_FALSE(sim().classIdOf("No.Such.Server.1").has_value());
}

TEST_F(SimServerTest, MalformedOrUnknownClassIdentifiersAreRefused)
{
    struct Case { const char* text; int32_t error; };
    const Case cases[] = {{"", errors::CO_E_CLASSSTRING_},
                          {"{2C6F3B8E-51A4-4F0B-9D7E-6A1C0B3E7D01", errors::CO_E_CLASSSTRING_},
                          {"{2C6F3B8E51A4-4F0B-9D7E-6A1C0B3E7D01}", errors::CO_E_CLASSSTRING_},
                          {"{ZC6F3B8E-51A4-4F0B-9D7E-6A1C0B3E7D01}", errors::CO_E_CLASSSTRING_},
                          {"{00000000-0000-0000-0000-000000000000}", errors::REGDB_E_CLASSNOTREG_}};
    for (const Case& c : cases) {
        OPCServer s;
        EXPECT_EQ(errorOf([&] { s.ConnectByClassId(c.text); }), c.error) << c.text;
        EXPECT_FALSE(s.isConnected());
    }
}

TEST_F(SimServerTest, TheLocalNodeAnswersToEveryNameOfThisComputer)
{
    const std::string name = ComputerName::read().value_or("localhost");
    for (const std::string& node : {std::string(), name, lowered(name), uppered(name), std::string("LocalHost")}) {
        auto s = connected(SimulationBackend::DemoProgId, node);
        EXPECT_EQ(s->ServerNode(), name) << node;
        EXPECT_EQ(s->GetOPCServers(node).lbound(), 1);
    }
}

TEST_F(SimServerTest, UnknownAndUnreachableNodesFailAsAnUnavailableServer)
{
    OPCServer s;
    EXPECT_EQ(errorOf([&] { s.Connect(SimulationBackend::DemoProgId, "NOWHERE"); }),
              errors::RPC_S_SERVER_UNAVAILABLE_);
    sim().addNode("Plant7");
    auto remote = connected(SimulationBackend::DemoProgId, "PLANT7");
    EXPECT_EQ(remote->ServerNode(), "Plant7");
    sim().server(SimulationBackend::DemoProgId, "plant7").setServerState(4);
    EXPECT_EQ(remote->ServerState(), 4);
    EXPECT_EQ(connected()->ServerState(), SimServer::StateRunning) << "each node has its own servers";

    sim().setNodeReachable("Plant7", false);
    EXPECT_EQ(errorOf([&] { s.GetOPCServers("Plant7"); }), errors::RPC_S_SERVER_UNAVAILABLE_);
    EXPECT_EQ(errorOf([&] { s.Connect(SimulationBackend::FlatProgId, "Plant7"); }),
              errors::RPC_S_SERVER_UNAVAILABLE_);
    sim().setNodeReachable("Plant7", true);
    EXPECT_EQ(s.GetOPCServers("Plant7").size(), s.GetOPCServers().size());
}

TEST_F(SimServerTest, StatusFollowsTheClockAndTheServersState)
{
    advance(1000);
    auto s = connected();
    const double started = clock.currentDate();
    EXPECT_DOUBLE_EQ(s->StartTime(), started);
    EXPECT_EQ(s->LastUpdateTime(), 0.0);
    advance(60'000);
    EXPECT_DOUBLE_EQ(s->CurrentTime(), clock.currentDate());
    EXPECT_DOUBLE_EQ(s->StartTime(), started);
    EXPECT_EQ(s->ServerName(), SimulationBackend::DemoProgId);
    EXPECT_EQ(s->VendorInfo(), SimServer::DefaultVendorInfo);
    EXPECT_EQ(s->MajorVersion(), SimServer::Major);
    EXPECT_EQ(s->MinorVersion(), SimServer::Minor);
    EXPECT_EQ(s->BuildNumber(), SimServer::Build);

    for (int32_t state = SimServer::StateFirst; state <= SimServer::StateLast; ++state) {
        demo().setServerState(state);
        EXPECT_EQ(s->ServerState(), state);
    }
    for (int32_t bad : {0, 7, -1}) {
        EXPECT_EQ(errorOf([&] { demo().setServerState(bad); }), errors::E_INVALIDARG_);
        EXPECT_EQ(s->ServerState(), SimServer::StateLast);
    }
}

TEST_F(SimServerTest, ShutdownReachesEveryConnectionOfThatServerLater)
{
    auto first = connected();
    auto second = connected();
    auto detached = connected();
    auto closed = connected();
    auto other = connected(SimulationBackend::FlatProgId);
    RecordingServerEvents a, b, c, d, e;
    first->setEventSink(&a);
    second->setEventSink(&b);
    detached->setEventSink(&c);
    closed->setEventSink(&d);
    other->setEventSink(&e);
    detached->setEventSink(nullptr);
    closed->Disconnect();

    demo().shutdown("maintenance");
    EXPECT_TRUE(a.reasons.empty()) << "the notice comes through the dispatcher";
    clock.runPending();
    EXPECT_EQ(a.reasons, std::vector<std::string>{"maintenance"});
    EXPECT_EQ(b.reasons, std::vector<std::string>{"maintenance"});
    EXPECT_TRUE(c.reasons.empty());
    EXPECT_TRUE(d.reasons.empty());
    EXPECT_TRUE(e.reasons.empty());
}

TEST_F(SimServerTest, AnalogItemsOfferHighAndLowLimitsAmongTheirProperties)
{
    auto s = connected();
    for (const char* id : {"Static.Analog.Level", "Static.Long"}) {
        const bool analog = demo().tag(id).euRange().has_value();
        int32_t count = 0;
        OleArray<int32_t> ids;
        OleArray<std::string> descriptions;
        OleArray<int16_t> types;
        s->QueryAvailableProperties(id, count, ids, descriptions, types);
        ASSERT_EQ(ids.lbound(), 1);
        ASSERT_EQ(int32_t(ids.size()), count);
        ASSERT_EQ(int32_t(descriptions.size()), count);
        for (int32_t i = 1; i <= count; ++i)
            EXPECT_FALSE(descriptions[i].empty());
        const auto& list = ids.elements();
        for (int32_t standard : {1, 2, 3, 4, 5, 6, 7, 101})
            EXPECT_NE(std::find(list.begin(), list.end(), standard), list.end()) << id << " " << standard;
        for (int32_t limit : {SimProperties::HighEU, SimProperties::LowEU})
            EXPECT_EQ(std::find(list.begin(), list.end(), limit) != list.end(), analog) << id;

        OleArray<Variant> values;
        OleArray<int32_t> errs;
        s->GetItemProperties(id, 4, OleArray<int32_t>::oneBased({SimProperties::HighEU, SimProperties::LowEU,
                                                                 SimProperties::CanonicalDataType, 9999}),
                             values, errs);
        ASSERT_EQ(values.lbound(), 1);
        EXPECT_EQ(errs[4], errors::OPC_E_INVALID_PID);
        EXPECT_EQ(values[3], Variant(int16_t(demo().tag(id).canonicalType())));
        if (analog) {
            EXPECT_EQ(errs[1], 0);
            EXPECT_EQ(values[1].toR8(), demo().tag(id).euRange()->high);
            EXPECT_EQ(values[2].toR8(), demo().tag(id).euRange()->low);
        } else {
            EXPECT_EQ(errs[1], errors::OPC_E_INVALID_PID);
            EXPECT_EQ(errs[2], errors::OPC_E_INVALID_PID);
        }
    }
    OleArray<Variant> values;
    OleArray<int32_t> errs;
    s->GetItemProperties("Access.WriteOnly", 1, OleArray<int32_t>::oneBased({SimProperties::Value}), values, errs);
    EXPECT_EQ(errs[1], errors::OPC_E_BADRIGHTS);
    int32_t count = 0;
    OleArray<int32_t> ids;
    OleArray<std::string> descriptions;
    OleArray<int16_t> types;
    EXPECT_EQ(errorOf([&] { s->QueryAvailableProperties("No.Such", count, ids, descriptions, types); }),
              errors::OPC_E_UNKNOWNITEMID);
}

}  // namespace
}  // namespace tagwell::test
