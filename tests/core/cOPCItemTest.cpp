#include "GroupFixture.h"

#include <functional>

#include "core/MCollector.h"
#include "core/PendingMessages.h"
#include "platform/ValueText.h"

namespace tagwell::test {
namespace {

std::string itemReport(const std::string& label)
{
    return "OPC function '" + label + "' returned an error of -2147467259 or Hex 0x80004005";
}

std::vector<Variant> valuesOf(const std::vector<ItemUpdate>& updates)
{
    std::vector<Variant> values;
    for (const ItemUpdate& u : updates)
        values.push_back(u.value);
    return values;
}

class ItemFixture : public GroupFixture {
protected:
    void SetUp() override
    {
        GroupFixture::SetUp();
        group = addGroup("Items", 600'000);  // no subscription tick: the tests send the updates
    }

    std::shared_ptr<cOPCGroup> group;
};

// ---------------------------------------------------------------- the update's four steps

struct UpdateStepsCase {
    const char* name;
    bool displayUpdates;
    bool logged;
    bool collecting;
    CollectionMode mode;
    std::vector<Variant> ownerSaw;  // the values the owner received, update by update
    Variant storedAfter;
    std::vector<Variant> itemBuffer;
    int32_t allBufferCount;
};

void PrintTo(const UpdateStepsCase& c, std::ostream* os) { *os << c.name; }

class UpdateStepsTest : public ItemFixture, public ::testing::WithParamInterface<UpdateStepsCase> {};

TEST_P(UpdateStepsTest, StoresCallsBackAndCollectsInOrder)
{
    const UpdateStepsCase& c = GetParam();
    auto item = addItem(*group, "Static.Long", c.logged, c.displayUpdates);
    RecordingItemOwner owner;
    item->SetItemOwner(&owner);
    MCollector::SetCollectionMode(c.mode);
    MCollector::SetCollectionActive(c.collecting);

    item->UpdateOPCItemData(Variant(int32_t(1)), 192, 46000.5);
    item->UpdateOPCItemData(Variant(int32_t(2)), 216, 46000.75);

    EXPECT_EQ(valuesOf(owner.updates), c.ownerSaw);
    EXPECT_EQ(item->GetItemValue(cOPCItem::ReadStored), c.storedAfter);
    OleArray<Variant> values;
    OleArray<double> dates;
    OleArray<int32_t> qualities;
    EXPECT_EQ(item->GetItemUpdatesCount(), int32_t(c.itemBuffer.size()));
    item->GetAllItemUpdates(values, dates, qualities);
    EXPECT_EQ(values.elements(), c.itemBuffer);
    EXPECT_EQ(MCollector::AllUpdatesCount(), c.allBufferCount);
}

const Variant Empty;
const Variant One(int32_t(1));
const Variant Two(int32_t(2));

INSTANTIATE_TEST_SUITE_P(
    Flags, UpdateStepsTest,
    ::testing::Values(
        UpdateStepsCase{"DisplayedOnly", true, false, true, cmItem, {One, Two}, Two, {}, 0},
        UpdateStepsCase{"NeitherDisplayedNorLogged", false, false, true, cmItem, {Empty, Empty}, Empty, {}, 0},
        UpdateStepsCase{"LoggedNotDisplayedSeesThePreviousUpdate", false, true, true, cmItem, {Empty, One}, Two,
                        {One, Two}, 0},
        UpdateStepsCase{"CollectionNotRunning", true, true, false, cmItem, {One, Two}, Two, {}, 0},
        UpdateStepsCase{"LoggedWithoutAModeStillStores", false, true, true, cmNone, {Empty, One}, Two, {}, 0},
        UpdateStepsCase{"AllItemsMode", true, true, true, cmAll, {One, Two}, Two, {}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ItemFixture, TheOwnerReceivesAliasItemIDAndTheStoredFields)
{
    std::string key;
    ASSERT_TRUE(group->AddOPCItem("Static.Long", vtEmpty, true, true, false, key, "Level"));
    auto item = itemOf(*group, key);
    RecordingItemOwner owner;
    item->SetItemOwner(&owner);
    item->UpdateOPCItemData(Variant(3.5), 216, 46001.25);

    ASSERT_EQ(owner.updates.size(), 1u);
    EXPECT_EQ(owner.updates[0].alias, "Level");
    EXPECT_EQ(owner.updates[0].itemId, "Static.Long");
    EXPECT_EQ(owner.updates[0].value, Variant(3.5));
    EXPECT_EQ(owner.updates[0].timeDate, 46001.25);
    EXPECT_EQ(owner.updates[0].quality, 216);
}

TEST_F(ItemFixture, AFailingOwnerCostsTheCollectionNothingAndTheFailureGoesBackToTheCaller)
{
    auto item = addItem(*group, "Static.Long", true);
    RecordingItemOwner owner;
    owner.failWith = ComError(errors::TypeMismatch, "Host", "Type mismatch");
    item->SetItemOwner(&owner);
    MCollector::SetCollectionMode(cmAll);
    MCollector::SetCollectionActive(true);

    EXPECT_THROW(item->UpdateOPCItemData(Variant(int32_t(4)), 192, 46000.0), ComError);
    EXPECT_EQ(MCollector::AllUpdatesCount(), 1);
    EXPECT_EQ(item->GetItemValue(cOPCItem::ReadStored), Variant(int32_t(4)));
}

TEST_F(ItemFixture, BufferedUpdatesAreTakenOnceInArrivalOrderFromIndexOne)
{
    auto item = addItem(*group, "Static.Long", true);
    MCollector::SetCollectionMode(cmItem);
    MCollector::SetCollectionActive(true);
    item->UpdateOPCItemData(Variant(int32_t(1)), 192, 46000.25);
    item->UpdateOPCItemData(Variant(int32_t(2)), 0, 46000.5);
    item->UpdateOPCItemData(Variant(int32_t(3)), 64, 46000.75);

    OleArray<Variant> values;
    OleArray<double> dates;
    OleArray<int32_t> qualities;
    item->GetAllItemUpdates(values, dates, qualities);
    EXPECT_EQ(values, OleArray<Variant>::oneBased({One, Two, Variant(int32_t(3))}));
    EXPECT_EQ(dates, OleArray<double>::oneBased({46000.25, 46000.5, 46000.75}));
    EXPECT_EQ(qualities, OleArray<int32_t>::oneBased({192, 0, 64}));
    EXPECT_EQ(item->GetItemUpdatesCount(), 0);

    const auto keptValues = values;
    item->GetAllItemUpdates(values, dates, qualities);
    EXPECT_EQ(values, keptValues) << "a second take leaves its outputs untouched";
}

// ---------------------------------------------------------------- live reads

struct LiveCase {
    const char* name;
    const char* fault;
    const char* label;
    std::function<std::string(cOPCItem&)> call;  // the result, as text
    const char* healthy;                         // Static.Long in group "Items"
    const char* failed;
};

void PrintTo(const LiveCase& c, std::ostream* os) { *os << c.name; }

class LiveReadTest : public ItemFixture, public ::testing::WithParamInterface<LiveCase> {};

TEST_P(LiveReadTest, ReadsTheAutomationItem)
{
    auto item = addItem(*group, "Static.Long");
    EXPECT_EQ(GetParam().call(*item), GetParam().healthy);
    EXPECT_TRUE(PendingMessages::All().empty());
}

TEST_P(LiveReadTest, AFailureIsReportedOnceAndGivesTheFailureValue)
{
    auto item = addItem(*group, "Static.Long");
    RecordingItemOwner owner;
    item->SetItemOwner(&owner);
    demo().faults().fail(GetParam().fault, errors::E_FAIL_);

    EXPECT_EQ(GetParam().call(*item), GetParam().failed);
    const std::vector<std::string> expected{itemReport(GetParam().label)};
    EXPECT_EQ(PendingMessages::All(), expected);
    EXPECT_EQ(owner.errors, expected);
}

std::string text(const Variant& v) { return v.isEmpty() ? "<empty>" : v.toString(); }
std::string text(int64_t v) { return ValueText::plain(v); }

INSTANTIATE_TEST_SUITE_P(
    Operations, LiveReadTest,
    ::testing::Values(
        LiveCase{"Value", "OPCItem.Value", "GetItemValue",
                 [](cOPCItem& i) { return text(i.GetItemValue(cOPCItem::ReadLive)); }, "123456", "<empty>"},
        LiveCase{"Quality", "OPCItem.Quality", "GetItemQuality",
                 [](cOPCItem& i) { return text(i.GetItemQuality(cOPCItem::ReadLive)); }, "192", "0"},
        LiveCase{"TimeStamp", "OPCItem.TimeStamp", "GetItemTimeStamp",
                 [](cOPCItem& i) { return i.GetItemTimeStamp(cOPCItem::ReadLive) > 0 ? "set" : "0"; }, "set", "0"},
        LiveCase{"DataType", "OPCItem.RequestedDataType", "GetItemDataType",
                 [](cOPCItem& i) { return text(i.GetItemDataType(cOPCItem::ReadLive)); }, "0", "0"},
        LiveCase{"ClientHandle", "OPCItem.ClientHandle", "GetItemClientHandle",
                 [](cOPCItem& i) { return text(i.GetItemClientHandle()); }, "1", "0"},
        LiveCase{"AccessRights", "OPCItem.AccessRights", "GetItemAccessRights",
                 [](cOPCItem& i) { return text(i.GetItemAccessRights()); }, "3", "0"},
        LiveCase{"CanonicalType", "OPCItem.CanonicalDataType", "GetItemCanonicalType",
                 [](cOPCItem& i) { return text(i.GetItemCanonicalType()); }, "3", "0"},
        LiveCase{"EUType", "OPCItem.EUType", "GetItemEUType",
                 [](cOPCItem& i) { return text(i.GetItemEUType()); }, "0", "0"},
        LiveCase{"AccessPath", "OPCItem.AccessPath", "GetItemAccessPath",
                 [](cOPCItem& i) { return "[" + i.GetItemAccessPath() + "]"; }, "[]", "[]"},
        LiveCase{"ParentName", "OPCItem.Parent", "GetItemParentName",
                 [](cOPCItem& i) { return i.GetItemParentName(); }, "Items", ""},
        LiveCase{"ActiveState", "OPCItem.IsActive", "GetItemActiveState",
                 [](cOPCItem& i) { return ValueText::ofBoolean(i.GetItemActiveState()); }, "True", "False"},
        LiveCase{"SetActiveState", "OPCItem.IsActive", "SetItemActiveState",
                 [](cOPCItem& i) { return ValueText::ofBoolean(i.SetItemActiveState(false)); }, "True", "False"},
        LiveCase{"SetValue", "OPCItem.Write", "Set Item Value",
                 [](cOPCItem& i) { return ValueText::ofBoolean(i.SetItemValue(Variant(int32_t(5)))); }, "True",
                 "False"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ItemFixture, AWriteReachesTheServerAndTheStoredValueWaitsForTheNextUpdate)
{
    auto item = addItem(*group, "Static.Long");
    item->UpdateOPCItemData(Variant(int32_t(1)), 192, 46000.0);
    ASSERT_TRUE(item->SetItemValue(Variant(int32_t(77))));
    EXPECT_EQ(item->GetItemValue(cOPCItem::ReadLive), Variant(int32_t(77)));
    EXPECT_EQ(item->GetItemValue(cOPCItem::ReadStored), One);
}

TEST_F(ItemFixture, ARefusedWriteIsReportedWithTheServersNumber)
{
    auto item = addItem(*group, "Access.ReadOnly");
    EXPECT_FALSE(item->SetItemValue(Variant(int32_t(1))));
    EXPECT_EQ(PendingMessages::All(),
              std::vector<std::string>{
                  "OPC function 'Set Item Value' returned an error of -1073479674 or Hex 0xC0040006"});
}

}  // namespace
}  // namespace tagwell::test
