#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "automation/sim/SimulationBackend.h"
#include "core/ErrorReport.h"
#include "core/IBrowserCallback.h"
#include "core/OPCKeys.h"
#include "core/PendingMessages.h"
#include "core/cOPCBrowser.h"
#include "core/cOPCServer.h"
#include "platform/ManualDispatcher.h"
#include "platform/RecordingMessageBoxService.h"
#include "platform/Services.h"

using namespace tagwell;

namespace {

constexpr int16_t TypeBoolean = 11;
constexpr int16_t TypeDouble = 5;
constexpr const char* DcomHint = "Error! Possible cause: DCOM Timeout on Remote OPC Server";

class RecordingBrowserOwner : public IBrowserCallback {
public:
    void OPCBrowserError(const std::string& BrowserError) override { errors.push_back(BrowserError); }
    std::vector<std::string> errors;
};

// Every name of the last listing, read the way the item explorer reads it.
std::vector<std::string> listing(cOPCBrowser& browser)
{
    std::vector<std::string> names;
    const int32_t count = browser.GetItemCount();
    for (int32_t i = 1; i <= count; ++i) {
        std::string name;
        if (browser.GetItemName(name, i))
            names.push_back(name);
    }
    return names;
}

// The same listing read straight from an automation browser.
std::vector<std::string> listing(OPCBrowser& browser)
{
    std::vector<std::string> names;
    for (int32_t i = 1; i <= browser.Count(); ++i)
        names.push_back(browser.Item(i));
    return names;
}

bool contains(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

class BrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dispatcher::install(&clock);
        Services::installMessageBox(&boxes);
        SimulationBackend::shared()->reset();
        PendingMessages::Clear();
        browser = browserOf(SimulationBackend::DemoProgId);
        ASSERT_NE(browser, nullptr);
        browser->SetBrowserOwner(&owner);
    }
    void TearDown() override
    {
        browser.reset();
        servers.clear();
        Services::installMessageBox(nullptr);
        Dispatcher::install(nullptr);
    }

    cOPCServer& connect(const std::string& progId)
    {
        servers.push_back(std::make_unique<cOPCServer>());
        const auto index = static_cast<int16_t>(servers.size() - 1);
        EXPECT_TRUE(servers.back()->ConnectOPCServer(progId, OPCKeys::ServerKey(index), index, ""));
        return *servers.back();
    }
    std::shared_ptr<cOPCBrowser> browserOf(const std::string& progId)
    {
        std::shared_ptr<cOPCBrowser> result;
        EXPECT_TRUE(connect(progId).GetServerBrowseObject(result));
        return result;
    }
    SimServer& demo() { return SimulationBackend::shared()->server(SimulationBackend::DemoProgId); }
    // A second, independent walk of the same address space.
    std::shared_ptr<OPCBrowser> referenceBrowser(const std::string& progId)
    {
        return connect(progId).GetOPCServerObject()->CreateBrowser();
    }
    void moveTo(cOPCBrowser& target, const std::vector<std::string>& path)
    {
        ASSERT_TRUE(target.MoveToRoot());
        for (const auto& branch : path)
            ASSERT_TRUE(target.MoveDown(branch)) << branch;
    }

    ManualDispatcher clock;
    RecordingMessageBoxService boxes;
    RecordingBrowserOwner owner;
    std::vector<std::unique_ptr<cOPCServer>> servers;
    std::shared_ptr<cOPCBrowser> browser;
};

}  // namespace

// ---- walking and listing -------------------------------------------------------

TEST_F(BrowserTest, WalksTheHierarchicalSpaceDownToLeavesAndTheirItemIds)
{
    int32_t organization = 0;
    ASSERT_TRUE(browser->GetBrowserOrganization(organization));
    EXPECT_EQ(organization, OPCHierarchical);

    ASSERT_TRUE(browser->ShowBranches());
    EXPECT_TRUE(contains(listing(*browser), "SimulatePLC"));
    moveTo(*browser, {"SimulatePLC", "PHASED"});
    ASSERT_TRUE(browser->ShowLeafs());
    const auto leaves = listing(*browser);
    ASSERT_FALSE(leaves.empty());
    for (const auto& leaf : leaves) {
        const std::string id = browser->GetItemID(leaf);
        EXPECT_EQ(id, "SimulatePLC.PHASED." + leaf);
        EXPECT_NE(demo().addressSpace().find(id), nullptr) << id;
    }

    ASSERT_TRUE(browser->MoveUp());
    ASSERT_TRUE(browser->ShowBranches());
    EXPECT_TRUE(contains(listing(*browser), "PHASED")) << "back at SimulatePLC";
    ASSERT_TRUE(browser->MoveToRoot());
    ASSERT_TRUE(browser->ShowBranches());
    EXPECT_TRUE(contains(listing(*browser), "SimulatePLC"));
    EXPECT_TRUE(owner.errors.empty());
    EXPECT_EQ(PendingMessages::Count(), 0u);
}

TEST_F(BrowserTest, FlatServerListsEveryItemAsALeafNamedByItsId)
{
    auto flat = browserOf(SimulationBackend::FlatProgId);
    ASSERT_NE(flat, nullptr);
    int32_t organization = 0;
    ASSERT_TRUE(flat->GetBrowserOrganization(organization));
    EXPECT_EQ(organization, OPCFlat);

    ASSERT_TRUE(flat->ShowBranches());
    EXPECT_TRUE(listing(*flat).empty());
    ASSERT_TRUE(flat->ShowLeafs());
    const auto leaves = listing(*flat);
    SimServer& server = SimulationBackend::shared()->server(SimulationBackend::FlatProgId);
    EXPECT_EQ(leaves.size(), server.addressSpace().size());
    for (const auto& leaf : leaves)
        EXPECT_EQ(flat->GetItemID(leaf), leaf);
    EXPECT_EQ(PendingMessages::Count(), 0u);
}

TEST_F(BrowserTest, FiltersSetBeforeAListingApplyToIt)
{
    struct Case {
        std::vector<std::string> position;
        std::string pattern;
        int16_t type;
        int32_t access;
        std::optional<bool> flat;
        std::vector<std::string> mustList;
        std::vector<std::string> mustNotList;
    };
    const Case cases[] = {
        {{"SimulatePLC", "PHASED"}, "*3", 0, OPCAnyAccess, std::nullopt, {"Ramp3"}, {"Ramp1", "Ramp5"}},
        {{"SimulatePLC", "PHASED"}, "ramp?", 0, OPCAnyAccess, false, {"Ramp1", "Ramp5"}, {}},
        {{"SimulatePLC", "BOOL"}, "", TypeBoolean, OPCAnyAccess, std::nullopt, {"In1", "Out2"}, {}},
        {{"SimulatePLC", "BOOL"}, "", TypeDouble, OPCAnyAccess, std::nullopt, {}, {"In1", "Out1"}},
        {{"SimulatePLC", "BOOL"}, "", 0, OPCWritable, std::nullopt, {"Out1", "Out2"}, {"In1", "In2"}},
        {{"Access"}, "", 0, OPCReadable, std::nullopt, {"ReadOnly", "ReadWrite"}, {"WriteOnly"}},
        {{"SimulatePLC"}, "In*", TypeBoolean, OPCReadable, true,
         {"SimulatePLC.BOOL.In1", "SimulatePLC.BOOL.In2"}, {"SimulatePLC.BOOL.Out1"}},
    };
    auto reference = referenceBrowser(SimulationBackend::DemoProgId);
    ASSERT_NE(reference, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern + " type " + std::to_string(c.type) + " access " + std::to_string(c.access));
        moveTo(*browser, c.position);
        ASSERT_TRUE(browser->SetFilter(c.pattern));
        ASSERT_TRUE(browser->SetDataTypeFilter(c.type));
        ASSERT_TRUE(browser->SetAccessFilter(c.access));
        ASSERT_TRUE(browser->ShowLeafs(c.flat));
        const auto names = listing(*browser);
        for (const auto& name : c.mustList)
            EXPECT_TRUE(contains(names, name)) << name;
        for (const auto& name : c.mustNotList)
            EXPECT_FALSE(contains(names, name)) << name;

        reference->MoveToRoot();
        for (const auto& branch : c.position)
            reference->MoveDown(branch);
        reference->SetFilter(c.pattern);
        reference->SetDataType(c.type);
        reference->SetAccessRights(c.access);
        reference->ShowLeafs(c.flat.value_or(false));
        EXPECT_EQ(names, listing(*reference)) << "the whole listing is the automation browser's";
    }
    EXPECT_EQ(PendingMessages::Count(), 0u);
}

TEST_F(BrowserTest, ShowLeafsWithoutModeListsOnlyTheLeavesAtThePosition)
{
    moveTo(*browser, {"SimulatePLC"});
    ASSERT_TRUE(browser->ShowLeafs());
    const auto here = listing(*browser);
    ASSERT_TRUE(browser->ShowLeafs(true));
    const auto below = listing(*browser);

    EXPECT_FALSE(contains(here, "SimulatePLC.PHASED.Ramp1"));
    EXPECT_FALSE(contains(here, "Ramp1"));
    EXPECT_TRUE(contains(below, "SimulatePLC.PHASED.Ramp1"));
    EXPECT_GT(below.size(), here.size());
    for (const auto& leaf : here)
        EXPECT_NE(browser->GetItemID(leaf), "") << leaf << " is a leaf at this position";
}

// ---- failures ------------------------------------------------------------------

TEST_F(BrowserTest, EveryOperationReportsOnceUnderItsLabelAndReturnsItsFailureValue)
{
    struct Case {
        const char* member;  // of the automation browser
        const char* label;
        std::function<bool(cOPCBrowser&)> callSucceeded;
    };
    const Case cases[] = {
        {"Organization", "GetBrowserOrganization",
         [](cOPCBrowser& b) { int32_t o = -5; return b.GetBrowserOrganization(o); }},
        {"MoveToRoot", "MoveToRoot", [](cOPCBrowser& b) { return b.MoveToRoot(); }},
        {"MoveDown", "MoveDown", [](cOPCBrowser& b) { return b.MoveUp() && b.MoveDown("PHASED"); }},
        {"MoveUp", "MoveUp", [](cOPCBrowser& b) { return b.MoveUp(); }},
        {"Filter", "SetFilter", [](cOPCBrowser& b) { return b.SetFilter("*"); }},
        {"DataType", "SetDataTypeFilter", [](cOPCBrowser& b) { return b.SetDataTypeFilter(TypeBoolean); }},
        {"AccessRights", "SetAccessFilter", [](cOPCBrowser& b) { return b.SetAccessFilter(OPCReadable); }},
        {"ShowBranches", "ShowBranches", [](cOPCBrowser& b) { return b.ShowBranches(); }},
        {"ShowLeafs", "ShowLeafs", [](cOPCBrowser& b) { return b.ShowLeafs(); }},
        {"Count", "GetItemCount", [](cOPCBrowser& b) { return b.GetItemCount() != 0; }},
        {"Item", "GetItemName",
         [](cOPCBrowser& b) { std::string n; return b.GetItemName(n, 1); }},
        {"GetItemID", "GetItemID", [](cOPCBrowser& b) { return !b.GetItemID("Ramp1").empty(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        // A position, filters and listing where every call would succeed.
        ASSERT_TRUE(browser->SetFilter(""));
        ASSERT_TRUE(browser->SetDataTypeFilter(0));
        ASSERT_TRUE(browser->SetAccessFilter(OPCAnyAccess));
        moveTo(*browser, {"SimulatePLC", "PHASED"});
        ASSERT_TRUE(browser->ShowLeafs());
        ASSERT_TRUE(c.callSucceeded(*browser)) << "succeeds without the fault";
        moveTo(*browser, {"SimulatePLC", "PHASED"});
        ASSERT_TRUE(browser->ShowLeafs());
        PendingMessages::Clear();
        owner.errors.clear();

        demo().faults().fail(std::string("OPCBrowser.") + c.member, errors::E_FAIL_, 1);
        EXPECT_FALSE(c.callSucceeded(*browser));
        const std::string report = ErrorReport::Text(ErrorReport::Reporter::Browser, c.label, errors::E_FAIL_);
        EXPECT_EQ(owner.errors, std::vector<std::string>{report});
        EXPECT_EQ(PendingMessages::All(), std::vector<std::string>{report});
    }
    EXPECT_TRUE(boxes.shown.empty()) << "no hint for this error number";
}

TEST_F(BrowserTest, AFailedCountMakesTheListingLoopDoNothing)
{
    moveTo(*browser, {"SimulatePLC", "PHASED"});
    ASSERT_TRUE(browser->ShowLeafs());
    demo().faults().fail("OPCBrowser.Count", errors::RPC_S_SERVER_UNAVAILABLE_);
    EXPECT_EQ(browser->GetItemCount(), 0);
    EXPECT_TRUE(listing(*browser).empty());
    EXPECT_EQ(PendingMessages::Count(), 2u) << "one report per GetItemCount, none from GetItemName";
}

TEST_F(BrowserTest, GetItemIdOfANameThatIsNoLeafHereGivesEmptyTextAndOneReport)
{
    moveTo(*browser, {"SimulatePLC"});
    for (const std::string name : {"PHASED", "Ramp1", "NoSuchName"}) {
        PendingMessages::Clear();
        owner.errors.clear();
        EXPECT_EQ(browser->GetItemID(name), "") << name;
        ASSERT_EQ(owner.errors.size(), 1u) << name;
        EXPECT_EQ(PendingMessages::All(), owner.errors);
        EXPECT_EQ(owner.errors[0].find("OPC function 'GetItemID' returned an error of "), 0u) << owner.errors[0];
    }
}

TEST_F(BrowserTest, OnlyACallRejectedErrorShowsTheDcomHint)
{
    struct Case { int32_t error; bool hint; };
    const Case cases[] = {
        {errors::RPC_E_CALL_REJECTED_, true},
        {errors::RPC_E_SERVERCALL_RETRYLATER_, false},
        {errors::E_FAIL_, false},
        {errors::ActiveXCannotCreateObject, false},
    };
    for (const Case& c : cases) {
        boxes.shown.clear();
        demo().faults().fail("OPCBrowser.MoveToRoot", c.error, 1);
        EXPECT_FALSE(browser->MoveToRoot());
        if (c.hint) {
            ASSERT_EQ(boxes.shown.size(), 1u) << c.error;
            EXPECT_EQ(boxes.shown[0].prompt, DcomHint);
            EXPECT_EQ(boxes.shown[0].style, msgbox::OKOnly);
        } else {
            EXPECT_TRUE(boxes.shown.empty()) << c.error;
        }
    }
}

TEST_F(BrowserTest, WithoutAnAutomationBrowserOrOwnerEveryCallStillFailsCleanly)
{
    cOPCBrowser empty;
    std::string name = "unchanged";
    EXPECT_FALSE(empty.ShowBranches());
    EXPECT_EQ(empty.GetItemCount(), 0);
    EXPECT_FALSE(empty.GetItemName(name, 1));
    EXPECT_EQ(name, "unchanged");
    EXPECT_EQ(empty.GetItemID("Ramp1"), "");
    EXPECT_EQ(PendingMessages::Count(), 4u);
    EXPECT_EQ(PendingMessages::All().front(),
              ErrorReport::Text(ErrorReport::Reporter::Browser, "ShowBranches", errors::ObjectVariableNotSet));

    {
        RecordingBrowserOwner shortLived;
        browser->SetBrowserOwner(&shortLived);
    }
    demo().faults().fail("OPCBrowser.MoveUp", errors::E_FAIL_, 1);
    EXPECT_FALSE(browser->MoveUp());
    EXPECT_EQ(PendingMessages::Count(), 5u) << "reported although the owner has gone";
}

// ---- handing out browsers -------------------------------------------------------

TEST_F(BrowserTest, AServerWithoutBrowserGivesNoneAndTrue)
{
    std::shared_ptr<cOPCBrowser> none = std::make_shared<cOPCBrowser>();
    EXPECT_TRUE(connect(SimulationBackend::NoBrowserProgId).GetServerBrowseObject(none));
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(PendingMessages::Count(), 0u);
}

TEST_F(BrowserTest, AFailedBrowserRequestIsReportedByTheServer)
{
    cOPCServer& server = connect(SimulationBackend::DemoProgId);
    demo().faults().fail("CreateBrowser", errors::E_FAIL_, 1);
    std::shared_ptr<cOPCBrowser> result;
    EXPECT_FALSE(server.GetServerBrowseObject(result));
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(PendingMessages::All(), std::vector<std::string>{ErrorReport::Text(
                                          ErrorReport::Reporter::Server, "Browser Object", errors::E_FAIL_)});
    EXPECT_EQ(boxes.prompts(),
              std::vector<std::string>{"Error! Possible cause: Invalid ProgID or OPC Server Disconnected"});
}
