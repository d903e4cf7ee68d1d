#include "GroupFixture.h"

#include <map>

#include "automation/sim/SimTag.h"
#include "core/MCollector.h"

namespace tagwell::test {
namespace {

constexpr int32_t TagCount = 400;
constexpr int32_t UpdateRate = 50;
constexpr int32_t Step = 10;            // the clock moves in steps of this many ms
constexpr int32_t TakeEverySteps = 7;   // collection ticks out of step with the group's
constexpr int32_t Steps = 150;
constexpr int32_t NotLoggedEvery = 5;   // every fifth item is not logged

// One update as it travelled: which item, and what it carried.
struct Delivered {
    std::string itemId;
    Variant value;
    double date;
    int32_t quality;
    bool operator==(const Delivered&) const = default;
};

// Records every row of every data change the group passes to its owner: the
// updates the collection buffers must hold, each exactly once.
class RowRecorder : public IGroupCallback {
public:
    void Update(const std::string&, int32_t, int32_t NumItems, const OleArray<int32_t>&,
                const OleArray<Variant>& ItemValues, const OleArray<int32_t>& Qualities,
                const OleArray<double>& TimeStamps, const OleArray<std::string>& ItemIDs) override
    {
        for (int32_t row = 1; row <= NumItems; ++row)
            rows.push_back({ItemIDs[row], ItemValues[row], TimeStamps[row], Qualities[row]});
    }
    std::vector<Delivered> rows;
};

class UpdateDeliveryTest : public GroupFixture, public ::testing::WithParamInterface<CollectionMode> {
protected:
    void SetUp() override
    {
        GroupFixture::SetUp();
        demo().addGeneratedTags("Bulk", TagCount, SimSignal::Ramp);
        group = addGroup("Bulk", UpdateRate);
        for (int32_t n = 1; n <= TagCount; ++n) {
            auto item = addItem(*group, "Bulk.Tag" + std::to_string(n), n % NotLoggedEvery != 0);
            ASSERT_TRUE(item);
            items.push_back(item);
        }
        group->SetGroupOwner(&recorder);
        group->GroupUpdates(true);
        group->GroupUpdatesWithItemIDs(true);
    }

    // What the collection tick would raise now, appended to the batches.
    void takeBatches()
    {
        if (GetParam() == cmAll) {
            OleArray<std::string> aliases, ids;
            OleArray<Variant> values;
            OleArray<double> dates;
            OleArray<int32_t> qualities;
            const int32_t count = MCollector::AllUpdatesCount();
            MCollector::TakeAllUpdates(aliases, ids, values, dates, qualities);
            for (int32_t i = 1; i <= count; ++i)
                allBatches.push_back({ids[i], values[i], dates[i], qualities[i]});
            return;
        }
        for (const auto& item : items) {
            if (!item->GetItemLogged() || item->GetItemUpdatesCount() == 0)
                continue;
            const int32_t count = item->GetItemUpdatesCount();
            OleArray<Variant> values;
            OleArray<double> dates;
            OleArray<int32_t> qualities;
            item->GetAllItemUpdates(values, dates, qualities);
            for (int32_t i = 1; i <= count; ++i)
                itemBatches[item->GetItemID()].push_back({item->GetItemID(), values[i], dates[i], qualities[i]});
        }
    }

    std::shared_ptr<cOPCGroup> group;
    std::vector<std::shared_ptr<cOPCItem>> items;
    RowRecorder recorder;
    std::vector<Delivered> allBatches;
    std::map<std::string, std::vector<Delivered>> itemBatches;
};

TEST_P(UpdateDeliveryTest, EveryLoggedUpdateArrivesInTheBatchesExactlyOnceAndInOrder)
{
    MCollector::SetCollectionMode(GetParam());
    MCollector::SetCollectionActive(true);
    for (int32_t step = 1; step <= Steps; ++step) {
        advance(Step);
        if (step % TakeEverySteps == 0)
            takeBatches();
    }
    takeBatches();

    std::vector<Delivered> logged;
    std::map<std::string, std::vector<Delivered>> loggedByItem;
    for (const Delivered& row : recorder.rows) {
        const std::string itemKey = group->GetItemKeyForItemID(row.itemId);
        ASSERT_FALSE(itemKey.empty()) << row.itemId;
        if (itemOf(*group, itemKey)->GetItemLogged()) {
            logged.push_back(row);
            loggedByItem[row.itemId].push_back(row);
        }
    }
    ASSERT_GT(logged.size(), 5000u) << "the simulation must drive thousands of changes";
    ASSERT_LT(logged.size(), recorder.rows.size()) << "some changes are of items not logged";

    if (GetParam() == cmAll) {
        EXPECT_EQ(allBatches, logged);
    } else {
        EXPECT_EQ(itemBatches.size(), loggedByItem.size());
        EXPECT_TRUE(itemBatches == loggedByItem);
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, UpdateDeliveryTest, ::testing::Values(cmItem, cmAll),
                         [](const auto& info) { return info.param == cmItem ? "cmItem" : "cmAll"; });

}  // namespace
}  // namespace tagwell::test
