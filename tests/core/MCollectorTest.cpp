#include "GroupFixture.h"

#include "core/MCollector.h"

namespace tagwell::test {
namespace {

struct AllBatch {
    OleArray<std::string> aliases, itemIds;
    OleArray<Variant> values;
    OleArray<double> dates;
    OleArray<int32_t> qualities;

    void take() { MCollector::TakeAllUpdates(aliases, itemIds, values, dates, qualities); }
};

struct ItemBatch {
    OleArray<Variant> values;
    OleArray<double> dates;
    OleArray<int32_t> qualities;

    void take(cOPCItem& item) { item.GetAllItemUpdates(values, dates, qualities); }
};

class CollectorTest : public GroupFixture {
protected:
    void SetUp() override
    {
        GroupFixture::SetUp();
        group = addGroup("Collect", 600'000);
        std::string key;
        ASSERT_TRUE(group->AddOPCItem("Static.Long", vtEmpty, true, true, true, key, "Level"));
        level = itemOf(*group, key);
        ASSERT_TRUE(group->AddOPCItem("Static.Double", vtEmpty, true, true, true, key, "Flow"));
        flow = itemOf(*group, key);
        ASSERT_TRUE(group->AddOPCItem("Static.Short", vtEmpty, true, true, false, key, "Quiet"));
        quiet = itemOf(*group, key);
    }

    // One data change of all three items with the given number as every value.
    void change(int32_t n)
    {
        OPCGroupEvents& events = *group;
        events.DataChange(0, 3, OleArray<int32_t>::oneBased({1, 2, 3}),
                          OleArray<Variant>::oneBased({Variant(n), Variant(n), Variant(n)}),
                          OleArray<int32_t>::oneBased({192, 192, 192}),
                          OleArray<double>::oneBased({46000.0 + n, 46000.0 + n, 46000.0 + n}));
    }

    void collect(CollectionMode mode)
    {
        MCollector::SetCollectionMode(mode);
        MCollector::SetCollectionActive(true);
    }

    std::shared_ptr<cOPCGroup> group;
    std::shared_ptr<cOPCItem> level, flow, quiet;
};

TEST_F(CollectorTest, AllItemsBatchRunsFromZeroWithAnEmptyFirstElementAndTheUpdatesInArrivalOrder)
{
    collect(cmAll);
    change(1);
    change(2);
    ASSERT_EQ(MCollector::AllUpdatesCount(), 4);

    AllBatch batch;
    batch.take();
    EXPECT_EQ(batch.aliases, OleArray<std::string>(0, {"", "Level", "Flow", "Level", "Flow"}));
    EXPECT_EQ(batch.itemIds,
              OleArray<std::string>(0, {"", "Static.Long", "Static.Double", "Static.Long", "Static.Double"}));
    EXPECT_EQ(batch.values, OleArray<Variant>(0, {Variant(), Variant(1), Variant(1), Variant(2), Variant(2)}));
    EXPECT_EQ(batch.dates, OleArray<double>(0, {0, 46001, 46001, 46002, 46002}));
    EXPECT_EQ(batch.qualities, OleArray<int32_t>(0, {0, 192, 192, 192, 192}));
    EXPECT_EQ(MCollector::AllUpdatesCount(), 0);

    const AllBatch kept = batch;
    batch.take();
    EXPECT_EQ(batch.values, kept.values) << "nothing waiting: the outputs stay as they were";

    change(3);
    batch.take();
    EXPECT_EQ(batch.itemIds, OleArray<std::string>(0, {"", "Static.Long", "Static.Double"}));
}

TEST_F(CollectorTest, ClearingDropsTheAllItemsBatchButNotTheItemBuffers)
{
    collect(cmItem);
    change(1);
    MCollector::SetCollectionMode(cmAll);
    change(2);
    MCollector::SetCollectionActive(false);
    MCollector::ClearAllUpdates();

    EXPECT_EQ(MCollector::AllUpdatesCount(), 0);
    EXPECT_EQ(level->GetItemUpdatesCount(), 1);
    change(3);
    EXPECT_EQ(level->GetItemUpdatesCount(), 1) << "nothing is collected once collection stopped";
    EXPECT_EQ(MCollector::AllUpdatesCount(), 0);
}

TEST_F(CollectorTest, SwitchingModesWhileCollectingLeavesEachBufferWithWhatItTook)
{
    collect(cmItem);
    change(1);
    MCollector::SetCollectionMode(cmAll);
    change(2);
    EXPECT_EQ(level->GetItemUpdatesCount(), 1) << "waits for the mode to come back";
    MCollector::SetCollectionMode(cmItem);
    change(3);

    ItemBatch fromItem;
    fromItem.take(*level);
    EXPECT_EQ(fromItem.values, OleArray<Variant>::oneBased({Variant(1), Variant(3)}));
    AllBatch fromAll;
    fromAll.take();
    EXPECT_EQ(fromAll.values, OleArray<Variant>(0, {Variant(), Variant(2), Variant(2)}));
}

class NotLoggedTest : public CollectorTest, public ::testing::WithParamInterface<CollectionMode> {};

TEST_P(NotLoggedTest, AnItemThatIsNotLoggedReachesNoBuffer)
{
    collect(GetParam());
    change(1);
    change(2);
    EXPECT_EQ(quiet->GetItemUpdatesCount(), 0);
    AllBatch batch;
    batch.take();
    for (const std::string& id : batch.itemIds)
        EXPECT_NE(id, "Static.Short");
    EXPECT_EQ(quiet->GetItemValue(cOPCItem::ReadStored), Variant(2)) << "still displayed";
}

INSTANTIATE_TEST_SUITE_P(Modes, NotLoggedTest, ::testing::Values(cmNone, cmItem, cmAll));

TEST(CollectorLookupTest, ClassIdsOfARegisteredServerAndOfAnUnknownOne)
{
    std::string classId, fullProgId;
    const std::string progId = SimulationBackend::DemoProgId;
    const std::string withoutVersion = progId.substr(0, progId.rfind('.'));
    MCollector::LookupClassIds(withoutVersion, classId, fullProgId);
    EXPECT_EQ(classId, SimulationBackend::DemoClassId);
    EXPECT_EQ(fullProgId, progId);

    MCollector::LookupClassIds("Nobody.Server.1", classId, fullProgId);
    EXPECT_EQ(classId, "Unknown");
    EXPECT_EQ(fullProgId, "Unknown");
}

TEST(CollectorLookupTest, VisibleRowsAreWhatTheListSays)
{
    struct List : IRowCountSource {
        int32_t countPerPage() const override { return 17; }
    } list;
    EXPECT_EQ(MCollector::VisibleRowCount(list), 17);
}

}  // namespace
}  // namespace tagwell::test
