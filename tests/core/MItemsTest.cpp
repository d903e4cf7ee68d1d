#include "GroupFixture.h"

#include <map>
#include <sstream>

#include "core/MItems.h"
#include "core/PendingMessages.h"

namespace tagwell::test {
namespace {

// ---------------------------------------------------------------- parent windows

// "R1" registers window 1, "C1" reports it closing; after each step the
// expected BindingActive: "+" set, "-" cleared.
struct RegistryCase {
    const char* name;
    const char* steps;
};

void PrintTo(const RegistryCase& c, std::ostream* os) { *os << c.name; }

class ParentWindowTest : public ::testing::TestWithParam<RegistryCase> {
protected:
    void SetUp() override
    {
        MItems::ResetParentWindows();
        MItems::SetBindingActive(true);
    }
    void TearDown() override { MItems::ResetParentWindows(); }
};

TEST_P(ParentWindowTest, BindingStopsOnceEveryRegisteredWindowBeganToClose)
{
    std::istringstream steps(GetParam().steps);
    std::string step;
    while (steps >> step) {
        const auto window = MItems::WindowHandle(std::stoul(step.substr(1, step.size() - 2)));
        if (step[0] == 'R')
            MItems::RegisterParentWindow(window);
        else
            MItems::ParentWindowClosing(window);
        EXPECT_EQ(MItems::BindingActive(), step.back() == '+') << "after " << step;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, ParentWindowTest,
    ::testing::Values(RegistryCase{"TwoForms", "R1+ R2+ C1+ C2-"},
                      RegistryCase{"WindowRegisteredAgainAfterAnother", "R1+ R2+ R1+ C1+ C2-"},
                      RegistryCase{"WindowRegisteredTwiceInARow", "R1+ R1+ C1-"},
                      RegistryCase{"NoWindowsAtAll", "C5-"},
                      RegistryCase{"UnregisteredWindowCloses", "R1+ C9+ C1-"},
                      RegistryCase{"OneFormClosingInThreeSteps", "R1+ R2+ C1+ C1+ C1+ C2-"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParentWindowTest, ClosingWhileBindingIsOffMarksNothing)
{
    MItems::RegisterParentWindow(1);
    MItems::RegisterParentWindow(2);
    MItems::SetBindingActive(false);
    MItems::ParentWindowClosing(1);
    MItems::SetBindingActive(true);
    MItems::ParentWindowClosing(2);
    EXPECT_TRUE(MItems::BindingActive()) << "window 1 is still counted as open";
    MItems::ParentWindowClosing(1);
    EXPECT_FALSE(MItems::BindingActive());
}

// ---------------------------------------------------------------- bound properties

class FakeControl : public IBindableControl {
public:
    std::optional<int32_t> memberIdOf(const std::string& propertyName) const override
    {
        ++lookups;
        auto it = members.find(propertyName);
        return it == members.end() ? std::nullopt : std::optional<int32_t>(it->second);
    }
    void setPropertyById(int32_t memberId, const Variant& value) override
    {
        if (refuse)
            throw ComError(errors::TypeMismatch, "FakeControl", "Type mismatch");
        writes.emplace_back(memberId, value);
    }

    std::map<std::string, int32_t> members{{"Caption", 4}, {"Value", 9}};
    mutable int lookups = 0;
    bool refuse = false;
    std::vector<std::pair<int32_t, Variant>> writes;
};

class BindingTest : public GroupFixture {
protected:
    void SetUp() override
    {
        GroupFixture::SetUp();
        MItems::SetBindingActive(true);
        group = addGroup("Bound", 600'000);
        item = addItem(*group, "Static.Double");
        group->SetGroupOwner(&owner);
    }

    // One data change of the bound item.
    void update(const Variant& value)
    {
        OPCGroupEvents& events = *group;
        events.DataChange(0, 1, OleArray<int32_t>::oneBased({1}), OleArray<Variant>::oneBased({value}),
                          OleArray<int32_t>::oneBased({192}), OleArray<double>::oneBased({46000.0}));
    }

    std::shared_ptr<cOPCGroup> group;
    std::shared_ptr<cOPCItem> item;
    RecordingGroupOwner owner;
    FakeControl control;
};

struct ScalingCase {
    const char* name;
    Variant stored;
    double scaling;
    Variant written;
};

void PrintTo(const ScalingCase& c, std::ostream* os) { *os << c.name; }

class ScalingTest : public BindingTest, public ::testing::WithParamInterface<ScalingCase> {};

TEST_P(ScalingTest, NumbersAreScaledAndEverythingElsePassesUnchanged)
{
    item->RegisterXOPCGroupControl(&control, "Value", GetParam().scaling);
    update(GetParam().stored);
    ASSERT_EQ(control.writes.size(), 1u);
    EXPECT_EQ(control.writes[0].first, 9);
    EXPECT_EQ(control.writes[0].second, GetParam().written);
    EXPECT_TRUE(owner.errors.empty());
}

const Variant ArrayValue = Variant::array(vtR8, {Variant(1.0), Variant(2.0)});

INSTANTIATE_TEST_SUITE_P(
    Values, ScalingTest,
    ::testing::Values(ScalingCase{"HalfOfTen", Variant(int32_t(10)), 0.5, Variant(5.0)},
                      ScalingCase{"Float", Variant(1.5f), 2, Variant(3.0)},
                      ScalingCase{"TrueIsMinusOne", Variant(true), 3, Variant(-3.0)},
                      ScalingCase{"Text", Variant("abc"), 0.5, Variant("abc")},
                      ScalingCase{"ArrayUnscaled", ArrayValue, 0.5, ArrayValue}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BindingTest, ThePropertyIsLookedUpOnceAndAgainAfterANewRegistration)
{
    item->RegisterXOPCGroupControl(&control, "Caption", 1);
    update(Variant(1.0));
    update(Variant(2.0));
    EXPECT_EQ(control.lookups, 1);
    item->RegisterXOPCGroupControl(&control, "Value", 1);
    update(Variant(3.0));
    EXPECT_EQ(control.lookups, 2);
    EXPECT_EQ(control.writes, (std::vector<std::pair<int32_t, Variant>>{{4, Variant(1.0)}, {4, Variant(2.0)},
                                                                        {9, Variant(3.0)}}));
}

TEST_F(BindingTest, NothingIsWrittenWhenBindingStoppedTheControlWentOrItWasDeregistered)
{
    item->RegisterXOPCGroupControl(&control, "Value", 1);
    MItems::SetBindingActive(false);
    update(Variant(1.0));
    MItems::SetBindingActive(true);
    {
        FakeControl shortLived;
        item->RegisterXOPCGroupControl(&shortLived, "Value", 1);
    }
    update(Variant(2.0));
    item->RegisterXOPCGroupControl(&control, "Value", 1);
    item->DeregisterXOPCGroupControl();
    update(Variant(3.0));

    EXPECT_TRUE(control.writes.empty());
    EXPECT_TRUE(owner.errors.empty());
    EXPECT_EQ(item->GetItemValue(cOPCItem::ReadStored), Variant(3.0)) << "the item still stores";
}

TEST_F(BindingTest, AnUnknownPropertyOrARefusedWriteReachesTheGroupOwnerOnly)
{
    item->RegisterXOPCGroupControl(&control, "NoSuchProperty", 1);
    update(Variant(1.0));
    control.refuse = true;
    item->RegisterXOPCGroupControl(&control, "Value", 1);
    update(Variant(2.0));

    EXPECT_EQ(owner.errors, (std::vector<std::string>{"Unknown name: NoSuchProperty", "Type mismatch"}));
    EXPECT_TRUE(PendingMessages::All().empty());
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace tagwell::test
