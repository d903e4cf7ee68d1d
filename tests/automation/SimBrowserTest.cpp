#include <algorithm>

#include "SimFixture.h"
#include "automation/sim/SimBrowser.h"

namespace tagwell::test {
namespace {

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

class SimBrowserTest : public SimFixture {
protected:
    void SetUp() override
    {
        SimFixture::SetUp();
        server = connected();
        browser = server->CreateBrowser();
        ASSERT_NE(browser, nullptr);
    }
    std::shared_ptr<OPCBrowser> browser;
};

TEST_F(SimBrowserTest, WalksDownToTheDemonstrationItemsAndBackUp)
{
    EXPECT_EQ(browser->Organization(), OPCHierarchical);
    browser->ShowBranches();
    EXPECT_TRUE(contains(listing(*browser), "SimulatePLC"));
    browser->MoveDown("simulateplc");
    browser->MoveDown("PHASED");
    EXPECT_EQ(browser->CurrentPosition(), "SimulatePLC.PHASED");
    browser->ShowBranches();
    EXPECT_EQ(browser->Count(), 0);
    browser->ShowLeafs();
    EXPECT_EQ(listing(*browser), (std::vector<std::string>{"Ramp1", "Ramp2", "Ramp3", "Ramp4", "Ramp5"}));
    const std::string id = browser->GetItemID("ramp3");
    EXPECT_EQ(id, "SimulatePLC.PHASED.Ramp3");
    auto group = server->OPCGroups()->Add("");
    EXPECT_NO_THROW(group->OPCItems()->AddItem(id, 1));

    browser->MoveUp();
    EXPECT_EQ(browser->CurrentPosition(), "SimulatePLC");
    browser->ShowLeafs();
    EXPECT_EQ(browser->Count(), 0);
    browser->MoveToRoot();
    EXPECT_EQ(browser->CurrentPosition(), "");
}

TEST_F(SimBrowserTest, UnknownBranchesLeavesAndPositionsAreRefused)
{
    EXPECT_NE(errorOf([&] { browser->MoveDown("NoSuchBranch"); }), 0);
    EXPECT_NE(errorOf([&] { browser->MoveUp(); }), 0) << "already at the root";
    EXPECT_EQ(browser->CurrentPosition(), "");
    browser->MoveDown("SimulatePLC");
    EXPECT_EQ(errorOf([&] { browser->GetItemID("PHASED"); }), errors::OPC_E_UNKNOWNITEMID) << "a branch";
    EXPECT_EQ(errorOf([&] { browser->GetItemID("Ramp1"); }), errors::OPC_E_UNKNOWNITEMID) << "a leaf elsewhere";
    browser->ShowBranches();
    EXPECT_NE(errorOf([&] { browser->Item(0); }), 0);
    EXPECT_NE(errorOf([&] { browser->Item(browser->Count() + 1); }), 0);
}

TEST_F(SimBrowserTest, FiltersOnNameTypeAndAccessApplyToTheNextListing)
{
    browser->MoveDown("Access");
    struct Case { const char* pattern; int32_t access; std::vector<std::string> expected; };
    const Case cases[] = {
        {"", OPCAnyAccess, {"ReadOnly", "WriteOnly", "ReadWrite"}},
        {"", OPCReadable, {"ReadOnly", "ReadWrite"}},
        {"", OPCWritable, {"WriteOnly", "ReadWrite"}},
        {"", OPCReadable | OPCWritable, {"ReadWrite"}},
        {"read*", OPCAnyAccess, {"ReadOnly", "ReadWrite"}},
        {"*only", OPCWritable, {"WriteOnly"}},
        {"?rite*", OPCAnyAccess, {"WriteOnly"}},
    };
    for (const Case& c : cases) {
        browser->SetFilter(c.pattern);
        browser->SetAccessRights(c.access);
        browser->ShowLeafs();
        EXPECT_EQ(listing(*browser), c.expected) << c.pattern << " access " << c.access;
    }

    browser->SetFilter("");
    browser->SetAccessRights(OPCAnyAccess);
    browser->MoveToRoot();
    browser->MoveDown("Static");
    browser->MoveDown("Arrays");
    browser->SetDataType(int16_t(vtArray | vtI4));
    browser->ShowLeafs();
    EXPECT_EQ(listing(*browser), std::vector<std::string>{"LongArray"});
    browser->SetDataType(0);
    browser->ShowLeafs();
    EXPECT_TRUE(contains(listing(*browser), "LongArray"));
    EXPECT_GT(browser->Count(), 1);
}

TEST_F(SimBrowserTest, FlatLeafListingGivesItemIdsOfEveryLeafBelow)
{
    browser->MoveDown("SimulatePLC");
    browser->SetDataType(vtBool);
    browser->ShowLeafs(true);
    const auto ids = listing(*browser);
    for (const char* expected : {"SimulatePLC.BOOL.In1", "SimulatePLC.BOOL.Out2", "SimulatePLC.RANDOM.Boolean"})
        EXPECT_TRUE(contains(ids, expected)) << expected;
    auto group = server->OPCGroups()->Add("");
    for (const auto& id : ids) {
        EXPECT_EQ(id.rfind("SimulatePLC.", 0), 0u) << id;
        EXPECT_EQ(browser->GetItemID(id), id);
        EXPECT_EQ(group->OPCItems()->AddItem(id, 1)->CanonicalDataType(), vtBool);
    }
}

struct PatternCase {
    const char* pattern;
    const char* name;
    bool matches;
};

class SimPatternTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(SimPatternTest, StarAndQuestionMarkMatchWithoutRegardToCase)
{
    EXPECT_EQ(SimBrowser::matches(GetParam().pattern, GetParam().name), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SimPatternTest,
    ::testing::Values(PatternCase{"", "anything", true}, PatternCase{"*", "", true},
                      PatternCase{"Ramp?", "ramp1", true}, PatternCase{"Ramp?", "Ramp10", false},
                      PatternCase{"Ramp?", "Ramp", false}, PatternCase{"r*1", "Ramp1", true},
                      PatternCase{"r*1", "Ramp12", false}, PatternCase{"*a*b", "xaxaxb", true},
                      PatternCase{"a*", "b", false}, PatternCase{"?", "", false},
                      PatternCase{"**x", "abx", true},
                      PatternCase{"*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false}));

TEST_F(SimFixture, FlatServerListsEveryItemAsALeafOfTheRoot)
{
    auto flat = connected(SimulationBackend::FlatProgId);
    auto browser = flat->CreateBrowser();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->Organization(), OPCFlat);
    browser->ShowBranches();
    EXPECT_EQ(browser->Count(), 0);
    browser->ShowLeafs();
    const auto leaves = listing(*browser);
    ASSERT_FALSE(leaves.empty());
    auto group = flat->OPCGroups()->Add("");
    for (const auto& leaf : leaves) {
        EXPECT_EQ(browser->GetItemID(leaf), leaf);
        EXPECT_NO_THROW(group->OPCItems()->AddItem(leaf, 1));
    }
    EXPECT_NE(errorOf([&] { browser->MoveDown(leaves.front()); }), 0);
}

TEST_F(SimFixture, ServerWithoutBrowserStillServesItsItems)
{
    auto plain = connected(SimulationBackend::NoBrowserProgId);
    EXPECT_EQ(plain->CreateBrowser(), nullptr);
    auto group = plain->OPCGroups()->Add("");
    EXPECT_NO_THROW(group->OPCItems()->AddItem("SimulatePLC.PHASED.Ramp1", 1));
}

}  // namespace
}  // namespace tagwell::test
