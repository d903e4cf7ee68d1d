#include <functional>

#include "SimFixture.h"

namespace tagwell::test {
namespace {

constexpr int32_t Injected = errors::RPC_E_CALL_REJECTED_;

// What a faulted call works on: a connection with one group of one item and a
// browser at the root.
struct Scene {
    std::unique_ptr<OPCServer> server;
    std::shared_ptr<OPCGroups> groups;
    std::shared_ptr<OPCGroup> group;
    std::shared_ptr<OPCItem> item;
    std::shared_ptr<OPCBrowser> browser;
};

struct FaultCase {
    const char* operation;
    std::function<void(Scene&)> call;  // can be repeated once it succeeded
};

void ensureGroup(OPCGroups& groups, const std::string& name)
{
    if (errorOf([&] { groups.GetOPCGroup(name); }))
        groups.Add(name);
}

OleArray<int32_t> handlesOf(Scene& s) { return OleArray<int32_t>::oneBased({s.item->ServerHandle()}); }

const FaultCase Cases[] = {
    {"Connect", [](Scene&) { OPCServer s; s.Connect(SimulationBackend::DemoProgId); }},
    {"Disconnect", [](Scene&) { OPCServer s; s.Connect(SimulationBackend::DemoProgId); s.Disconnect(); }},
    {"OPCGroups", [](Scene& s) { s.server->OPCGroups(); }},
    {"ServerState", [](Scene& s) { s.server->ServerState(); }},
    {"VendorInfo", [](Scene& s) { s.server->VendorInfo(); }},
    {"Add", [](Scene& s) { s.groups->Add(""); }},
    {"OPCGroups.Remove", [](Scene& s) { ensureGroup(*s.groups, "Victim"); s.groups->Remove("Victim"); }},
    {"AddItem", [](Scene& s) { s.group->OPCItems()->AddItem("Static.Long", 2); }},
    {"Validate",
     [](Scene& s) {
         OleArray<int32_t> errs;
         s.group->OPCItems()->Validate(1, OleArray<std::string>::oneBased({"Static.Long"}), errs, {});
     }},
    {"SyncWrite",
     [](Scene& s) {
         OleArray<int32_t> errs;
         s.group->SyncWrite(1, handlesOf(s), OleArray<Variant>::oneBased({Variant(1)}), errs);
     }},
    {"AsyncWrite",
     [](Scene& s) {
         OleArray<int32_t> errs;
         int32_t cancel = 0;
         s.group->AsyncWrite(1, handlesOf(s), OleArray<Variant>::oneBased({Variant(1)}), errs, 1, cancel);
     }},
    {"AsyncRefresh", [](Scene& s) { int32_t cancel = 0; s.group->AsyncRefresh(OPCCache, 1, cancel); }},
    {"UpdateRate", [](Scene& s) { s.group->SetUpdateRate(500); }},
    {"IsActive", [](Scene& s) { s.group->IsActive(); }},
    {"DeadBand", [](Scene& s) { s.group->SetDeadBand(1); }},
    {"ShowBranches", [](Scene& s) { s.browser->ShowBranches(); }},
    {"ShowLeafs", [](Scene& s) { s.browser->ShowLeafs(true); }},
    {"MoveDown", [](Scene& s) { s.browser->MoveToRoot(); s.browser->MoveDown("Static"); }},
    {"GetItemID",
     [](Scene& s) { s.browser->MoveToRoot(); s.browser->MoveDown("Static"); s.browser->GetItemID("Long"); }},
    {"Write", [](Scene& s) { s.item->Write(Variant(3)); }},
    {"OPCItem.Value", [](Scene& s) { s.item->Value(); }},
};

class SimFaultsTest : public SimFixture {
protected:
    void SetUp() override
    {
        SimFixture::SetUp();
        scene.server = connected();
        scene.groups = scene.server->OPCGroups();
        scene.group = scene.groups->Add("G");
        scene.item = scene.group->OPCItems()->AddItem("Static.Long", 1);
        scene.browser = scene.server->CreateBrowser();
    }
    Scene scene;
};

class SimFaultCaseTest : public SimFaultsTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(SimFaultCaseTest, TheNamedOperationFailsForTheNextCallsOnly)
{
    demo().faults().fail(GetParam().operation, Injected, 2);
    EXPECT_EQ(errorOf([&] { GetParam().call(scene); }), Injected);
    EXPECT_EQ(errorOf([&] { GetParam().call(scene); }), Injected);
    EXPECT_EQ(errorOf([&] { GetParam().call(scene); }), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, SimFaultCaseTest, ::testing::ValuesIn(Cases), [](const auto& info) {
    std::string name = info.param.operation;
    std::erase(name, '.');
    return name;
});

TEST_F(SimFaultsTest, AFaultThatAlwaysFailsLastsUntilClearedAndCarriesSourceAndDescription)
{
    demo().faults().fail("serverstate", errors::E_FAIL_);
    for (int i = 0; i < 3; ++i) {
        try {
            scene.server->ServerState();
            ADD_FAILURE() << "ServerState did not fail";
        } catch (const ComError& e) {
            EXPECT_EQ(e.number(), errors::E_FAIL_);
            EXPECT_FALSE(e.source().empty());
            EXPECT_NE(e.description().find("ServerState"), std::string::npos);
        }
    }
    demo().faults().clear("ServerState");
    EXPECT_EQ(scene.server->ServerState(), SimServer::StateRunning);
}

TEST_F(SimFaultsTest, QualifiedNamesFailOnlyThatObjectsMemberAndFailuresChangeNothing)
{
    demo().faults().fail("OPCItems.Remove", Injected);
    EXPECT_NO_THROW(scene.groups->Remove("G"));

    auto group = scene.groups->Add("H");
    auto item = group->OPCItems()->AddItem("Static.Long", 1);
    OleArray<int32_t> errs;
    EXPECT_EQ(errorOf([&] { group->OPCItems()->Remove(1, OleArray<int32_t>::oneBased({item->ServerHandle()}), errs); }),
              Injected);
    EXPECT_EQ(group->OPCItems()->Count(), 1);

    demo().faults().fail("Write", Injected, 1);
    const Variant before = item->Value();
    EXPECT_EQ(errorOf([&] { item->Write(Variant(before.toI4() + 1)); }), Injected);
    EXPECT_EQ(item->Value(), before);
}

TEST_F(SimFaultsTest, RefusedConnectionsAndServerListFaults)
{
    demo().faults().refuseConnections(errors::ActiveXCannotCreateObject);
    OPCServer s;
    EXPECT_EQ(errorOf([&] { s.Connect(SimulationBackend::DemoProgId); }), errors::ActiveXCannotCreateObject);
    EXPECT_NO_THROW(connected(SimulationBackend::FlatProgId)) << "other servers still accept";
    demo().faults().refuseConnections(std::nullopt);
    EXPECT_NO_THROW(s.Connect(SimulationBackend::DemoProgId));

    sim().faults().fail("GetOPCServers", errors::RPC_E_SERVERCALL_RETRYLATER_, 1);
    EXPECT_EQ(errorOf([&] { s.GetOPCServers(); }), errors::RPC_E_SERVERCALL_RETRYLATER_);
    EXPECT_GE(s.GetOPCServers().size(), 3u);
}

TEST_F(SimFaultsTest, ResetReturnsTheSimulationToItsInitialState)
{
    demo().faults().fail("Connect", Injected);
    demo().setServerState(4);
    demo().setTagValue("Static.Long", 99);
    sim().addNode("Remote1");
    sim().faults().fail("GetOPCServers", Injected);

    sim().reset();
    auto fresh = connected();
    EXPECT_EQ(fresh->ServerState(), SimServer::StateRunning);
    auto item = fresh->OPCGroups()->Add("")->OPCItems()->AddItem("Static.Long", 1);
    EXPECT_NE(item->Value(), Variant(99));
    EXPECT_NO_THROW(fresh->GetOPCServers());
    EXPECT_EQ(errorOf([&] { fresh->GetOPCServers("Remote1"); }), errors::RPC_S_SERVER_UNAVAILABLE_);
    EXPECT_EQ(scene.server->ServerState(), 4) << "earlier connections keep the server they had";
}

}  // namespace
}  // namespace tagwell::test
