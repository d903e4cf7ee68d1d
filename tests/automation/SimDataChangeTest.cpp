#include "SimFixture.h"

namespace tagwell::test {
namespace {

constexpr int32_t Rate = 200;

class SimDataChangeTest : public SimFixture {
protected:
    std::shared_ptr<OPCItem> add(OPCGroup& group, const std::string& id, int32_t handle)
    {
        return group.OPCItems()->AddItem(id, handle);
    }
};

TEST_F(SimDataChangeTest, FirstTickSendsInitialValuesThenOnlyChangesExactlyWhenDue)
{
    auto group = subscribedGroup(Rate);
    auto level = add(*group, "Static.Long", 1);
    auto text = add(*group, "Static.String", 2);

    advance(Rate - 1);
    EXPECT_TRUE(events.changes.empty()) << "nothing before the first tick";
    advance(1);
    ASSERT_EQ(events.changes.size(), 1u);
    const RecordedChange& first = events.changes[0];
    EXPECT_EQ(first.transactionId, 0);
    EXPECT_EQ(first.handles, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(first.valueOf(1), level->Value());
    EXPECT_EQ(first.valueOf(2), text->Value());

    advance(3 * Rate);
    EXPECT_EQ(events.changes.size(), 1u) << "unchanged values are not sent again";

    demo().setTagValue("Static.String", Variant("changed"));
    advance(Rate - 1);
    EXPECT_EQ(events.changes.size(), 1u);
    advance(1);
    ASSERT_EQ(events.changes.size(), 2u);
    EXPECT_EQ(events.changes[1].handles, std::vector<int32_t>{2});
    EXPECT_EQ(events.changes[1].valueOf(2), Variant("changed"));
}

TEST_F(SimDataChangeTest, GeneratedSignalsSendWhatTheItemsReadAtTheTick)
{
    auto group = subscribedGroup(Rate);
    std::vector<std::shared_ptr<OPCItem>> ramps;
    for (int i = 1; i <= 5; ++i)
        ramps.push_back(add(*group, "SimulatePLC.PHASED.Ramp" + std::to_string(i), i));
    for (int tick = 1; tick <= 3; ++tick) {
        advance(Rate);
        ASSERT_EQ(events.changes.size(), size_t(tick));
        for (int i = 1; i <= 5; ++i)
            EXPECT_EQ(events.changes.back().valueOf(i), ramps[size_t(i - 1)]->Value());
        EXPECT_DOUBLE_EQ(events.changes.back().timestamps[0], clock.currentDate());
    }
    EXPECT_NE(events.changes[0].valueOf(1), events.changes[1].valueOf(1)) << "a ramp moves";
    EXPECT_NE(events.changes[0].valueOf(1), events.changes[0].valueOf(2)) << "ramps are phased";
}

TEST_F(SimDataChangeTest, NothingArrivesAfterTheSinkIsClearedOrTheGroupIsGone)
{
    auto group = subscribedGroup(Rate);
    add(*group, "SimulatePLC.PHASED.Ramp1", 1);
    advance(Rate);
    ASSERT_EQ(events.changes.size(), 1u);

    int32_t cancel = 0;
    group->AsyncRefresh(OPCDevice, 7, cancel);
    group->setEventSink(nullptr);
    advance(5 * Rate);
    EXPECT_EQ(events.changes.size(), 1u);

    group->setEventSink(&events);
    group->AsyncRefresh(OPCDevice, 8, cancel);
    server->OPCGroups()->Remove(group->Name());
    advance(5 * Rate);
    EXPECT_EQ(events.changes.size(), 1u);
    EXPECT_EQ(clock.activeTimerCount(), 0u);
}

TEST_F(SimDataChangeTest, AnalogItemsChangeOnlyBeyondTheDeadBandOfTheirRange)
{
    // Static.Analog.Level spans 0..1000, so 2 % is 20 units; Static.Long has no range.
    auto group = subscribedGroup(Rate, 2.0f);
    add(*group, "Static.Analog.Level", 1);
    add(*group, "Static.Long", 2);
    demo().setTagValue("Static.Analog.Level", 250.0);
    demo().setTagValue("Static.Long", 100);
    advance(Rate);
    ASSERT_EQ(events.changes.size(), 1u);

    struct Step { double level; int32_t longValue; bool levelSent; };
    const Step steps[] = {{265, 101, false}, {269.5, 101, false}, {271, 101, true}, {251, 101, false},
                          {250.9, 101, true}};
    for (const Step& step : steps) {
        const size_t before = events.changes.size();
        demo().setTagValue("Static.Analog.Level", step.level);
        demo().setTagValue("Static.Long", step.longValue);
        advance(Rate);
        const bool sentAny = events.changes.size() > before;
        const bool levelSent = sentAny && events.changes.back().has(1);
        EXPECT_EQ(levelSent, step.levelSent) << "level " << step.level;
    }
    EXPECT_TRUE(events.changes[1].has(2)) << "an item without a range sends any change";

    demo().setTagQuality("Static.Analog.Level", 0);
    advance(Rate);
    EXPECT_TRUE(events.changes.back().has(1)) << "a quality change is always sent";
    EXPECT_EQ(events.changes.back().qualities[0], 0);
}

TEST_F(SimDataChangeTest, OnlyActiveItemsOfActiveGroupsAreSentAndActivationResendsThem)
{
    auto group = subscribedGroup(Rate);
    auto quiet = add(*group, "Static.Short", 1);
    add(*group, "Static.Long", 2);
    quiet->SetIsActive(false);
    advance(Rate);
    ASSERT_EQ(events.changes.size(), 1u);
    EXPECT_EQ(events.changes[0].handles, std::vector<int32_t>{2});

    quiet->SetIsActive(true);
    advance(Rate);
    ASSERT_EQ(events.changes.size(), 2u);
    EXPECT_EQ(events.changes[1].handles, std::vector<int32_t>{1});

    group->SetIsActive(false);
    demo().setTagValue("Static.Long", 5);
    advance(3 * Rate);
    EXPECT_EQ(events.changes.size(), 2u) << "an inactive group is silent";
    group->SetIsActive(true);
    advance(Rate);
    ASSERT_EQ(events.changes.size(), 3u);
    EXPECT_EQ(events.changes[2].handles, (std::vector<int32_t>{1, 2}));
}

TEST_F(SimDataChangeTest, RefreshFromCacheRepeatsTheLastSampleAndFromDeviceSamplesNow)
{
    auto group = subscribedGroup(Rate);
    auto ramp = add(*group, "SimulatePLC.PHASED.Ramp1", 1);
    add(*group, "Static.Long", 2);
    advance(Rate);
    ASSERT_EQ(events.changes.size(), 1u);
    const RecordedChange tick = events.changes[0];
    advance(Rate / 4);  // between ticks: the ramp moved, the cache did not

    int32_t cancel = 0;
    group->AsyncRefresh(OPCCache, 41, cancel);
    EXPECT_EQ(events.changes.size(), 1u) << "a refresh arrives later, not inside the call";
    clock.runPending();
    ASSERT_EQ(events.changes.size(), 2u);
    const RecordedChange& cached = events.changes[1];
    EXPECT_EQ(cached.transactionId, 41);
    EXPECT_EQ(cached.handles, (std::vector<int32_t>{1, 2})) << "unchanged items are included";
    EXPECT_EQ(cached.values, tick.values);
    EXPECT_EQ(cached.timestamps, tick.timestamps);

    group->AsyncRefresh(OPCDevice, 42, cancel);
    clock.runPending();
    ASSERT_EQ(events.changes.size(), 3u);
    const RecordedChange& device = events.changes[2];
    EXPECT_EQ(device.transactionId, 42);
    EXPECT_EQ(device.valueOf(1), ramp->Value());
    EXPECT_NE(device.valueOf(1), tick.valueOf(1));
}

TEST_F(SimDataChangeTest, RefreshIsRefusedWithoutAnActiveGroupOrActiveItemsOrAValidSource)
{
    auto group = subscribedGroup(Rate);
    int32_t cancel = 0;
    EXPECT_EQ(errorOf([&] { group->AsyncRefresh(OPCDevice, 1, cancel); }), errors::E_FAIL_);
    add(*group, "Static.Long", 1);
    EXPECT_EQ(errorOf([&] { group->AsyncRefresh(3, 1, cancel); }), errors::E_INVALIDARG_);
    group->SetIsActive(false);
    EXPECT_EQ(errorOf([&] { group->AsyncRefresh(OPCCache, 1, cancel); }), errors::E_FAIL_);
    clock.runPending();
    EXPECT_TRUE(events.changes.empty());
}

TEST_F(SimDataChangeTest, ValuesArriveInTheRequestedTypeAndWritesShowInLaterChanges)
{
    auto group = subscribedGroup(Rate);
    group->OPCItems()->SetDefaultRequestedDataType(vtI4);
    auto ramp = add(*group, "SimulatePLC.PHASED.Ramp2", 1);
    group->OPCItems()->SetDefaultRequestedDataType(vtEmpty);
    auto out = add(*group, "SimulatePLC.BOOL.Out1", 2);
    advance(Rate);
    ASSERT_EQ(events.changes.size(), 1u);
    EXPECT_EQ(events.changes[0].valueOf(1).type(), vtI4);
    EXPECT_EQ(events.changes[0].valueOf(2), Variant(false));

    out->Write(Variant(true));
    advance(Rate);
    EXPECT_EQ(events.changes.back().valueOf(2), Variant(true));
    EXPECT_DOUBLE_EQ(server->LastUpdateTime(), clock.currentDate());
}

TEST_F(SimDataChangeTest, OneTickCarriesAHundredThousandItems)
{
    constexpr int32_t Count = 100'000;
    demo().addGeneratedTags("Bulk", Count, SimSignal::Static);
    auto group = subscribedGroup(Rate);
    auto items = group->OPCItems();
    for (int32_t i = 1; i <= Count; ++i)
        items->AddItem("Bulk.Tag" + std::to_string(i), i);
    EXPECT_EQ(items->Count(), Count);
    advance(Rate);
    ASSERT_EQ(events.changes.size(), 1u);
    EXPECT_EQ(events.changes[0].handles.size(), size_t(Count));
    EXPECT_EQ(events.changes[0].handles.back(), Count);

    demo().setTagValue("Bulk.Tag77777", 1.0);
    advance(Rate);
    ASSERT_EQ(events.changes.size(), 2u);
    EXPECT_EQ(events.changes[1].handles, std::vector<int32_t>{77777});
}

}  // namespace
}  // namespace tagwell::test
