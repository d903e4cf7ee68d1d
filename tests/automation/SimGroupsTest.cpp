#include <cmath>
#include <functional>
#include <set>
#include <strings.h>

#include "SimFixture.h"
#include "automation/sim/SimGroup.h"

namespace tagwell::test {
namespace {

class SimGroupsTest : public SimFixture {
protected:
    void SetUp() override
    {
        SimFixture::SetUp();
        server = connected();
        groups = server->OPCGroups();
    }
    std::shared_ptr<OPCGroups> groups;
};

TEST_F(SimGroupsTest, EmptyNamesGetDistinctServerChosenNamesAvoidingNamesInUse)
{
    groups->Add("group2");
    std::set<std::string> lowered{"group2"};
    for (int i = 0; i < 3; ++i) {
        std::string name = groups->Add("")->Name();
        EXPECT_FALSE(name.empty());
        for (char& c : name)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(lowered.insert(name).second) << name << " given twice";
    }
    EXPECT_EQ(groups->Count(), 4);
}

TEST_F(SimGroupsTest, DuplicateNamesAreRefusedWithoutRegardToCaseAndLeaveOneGroup)
{
    groups->Add("Test1");
    for (const char* again : {"Test1", "TEST1", "test1"}) {
        EXPECT_EQ(errorOf([&] { groups->Add(again); }), errors::OPC_E_DUPLICATENAME) << again;
        EXPECT_EQ(groups->Count(), 1);
    }
    auto other = groups->Add("Test2");
    EXPECT_EQ(errorOf([&] { other->SetName("tEST1"); }), errors::OPC_E_DUPLICATENAME);
    EXPECT_EQ(other->Name(), "Test2");
}

TEST_F(SimGroupsTest, RemovedNamesCanBeUsedAgainAndUnknownNamesAreRefused)
{
    auto first = groups->Add("A");
    groups->Add("B");
    groups->Remove("a");
    EXPECT_EQ(groups->Count(), 1);
    EXPECT_NE(errorOf([&] { groups->Remove("A"); }), 0);
    EXPECT_NE(errorOf([&] { groups->GetOPCGroup("A"); }), 0);
    EXPECT_EQ(errorOf([&] { first->Name(); }), errors::E_FAIL_) << "a removed group answers no more";
    EXPECT_EQ(groups->Add("A")->Name(), "A");
    EXPECT_EQ(groups->GetOPCGroup("b")->Name(), "B");
    groups->RemoveAll();
    EXPECT_EQ(groups->Count(), 0);
}

TEST_F(SimGroupsTest, NewGroupsTakeTheDefaults)
{
    groups->SetDefaultGroupIsActive(false);
    groups->SetDefaultGroupUpdateRate(250);
    groups->SetDefaultGroupDeadband(2.5f);
    groups->SetDefaultGroupTimeBias(-60);
    auto group = groups->Add("");
    EXPECT_FALSE(group->IsActive());
    EXPECT_EQ(group->UpdateRate(), 250);
    EXPECT_FLOAT_EQ(group->DeadBand(), 2.5f);
    EXPECT_EQ(group->TimeBias(), -60);
    EXPECT_TRUE(group->IsSubscribed());
}

struct BadSetting {
    const char* what;
    std::function<void(OPCGroups&, OPCGroup&)> set;
};

class SimGroupSettingsTest : public SimGroupsTest, public ::testing::WithParamInterface<BadSetting> {};

TEST_P(SimGroupSettingsTest, OutOfRangeValuesAreRefusedAndChangeNothing)
{
    auto group = groups->Add("G");
    const int32_t rate = group->UpdateRate();
    const float band = group->DeadBand();
    EXPECT_EQ(errorOf([&] { GetParam().set(*groups, *group); }), errors::E_INVALIDARG_);
    EXPECT_EQ(group->UpdateRate(), rate);
    EXPECT_EQ(group->DeadBand(), band);
    EXPECT_EQ(groups->DefaultGroupUpdateRate(), rate);
    EXPECT_EQ(groups->DefaultGroupDeadband(), band);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SimGroupSettingsTest,
    ::testing::Values(
        BadSetting{"NegativeRate", [](OPCGroups&, OPCGroup& g) { g.SetUpdateRate(-1); }},
        BadSetting{"NegativeBand", [](OPCGroups&, OPCGroup& g) { g.SetDeadBand(-0.5f); }},
        BadSetting{"BandAbove100", [](OPCGroups&, OPCGroup& g) { g.SetDeadBand(100.5f); }},
        BadSetting{"BandNaN", [](OPCGroups&, OPCGroup& g) { g.SetDeadBand(std::nanf("")); }},
        BadSetting{"DefaultNegativeRate", [](OPCGroups& s, OPCGroup&) { s.SetDefaultGroupUpdateRate(-5); }},
        BadSetting{"DefaultBandAbove100", [](OPCGroups& s, OPCGroup&) { s.SetDefaultGroupDeadband(101); }}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(SimGroupsTest, RatesBelowTheMinimumAreRevisedUpAndOthersKept)
{
    auto group = groups->Add("");
    for (int32_t requested : {0, 1, SimGroup::MinimumUpdateRate - 1}) {
        group->SetUpdateRate(requested);
        EXPECT_EQ(group->UpdateRate(), SimGroup::MinimumUpdateRate) << requested;
    }
    group->SetUpdateRate(SimGroup::MinimumUpdateRate + 7);
    EXPECT_EQ(group->UpdateRate(), SimGroup::MinimumUpdateRate + 7);
    for (float band : {0.0f, 100.0f}) {
        group->SetDeadBand(band);
        EXPECT_EQ(group->DeadBand(), band);
    }
}

TEST_F(SimGroupsTest, ClosingTheConnectionEndsItsGroups)
{
    auto group = groups->Add("G");
    server->Disconnect();
    EXPECT_EQ(errorOf([&] { group->IsActive(); }), errors::E_FAIL_);
    EXPECT_EQ(errorOf([&] { groups->Add("H"); }), errors::E_FAIL_);
    EXPECT_EQ(clock.activeTimerCount(), 0u);
}

}  // namespace
}  // namespace tagwell::test
