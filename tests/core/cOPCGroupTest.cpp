#include "GroupFixture.h"

#include <functional>

#include "automation/OPCGroups.h"
#include "core/PendingMessages.h"
#include "platform/ValueText.h"

namespace tagwell::test {
namespace {

constexpr const char* UnknownRowText = "Invalid ItemID From Server - Please ignore";

std::vector<std::string> reports() { return PendingMessages::All(); }

// The report a group object makes for a label and error number.
std::string groupReport(const std::string& label, const std::string& number, const std::string& hex)
{
    return "OPC function '" + label + "' returned an error of " + number + " or Hex 0x" + hex;
}

OPCGroupEvents& eventsOf(cOPCGroup& group) { return group; }

// ---------------------------------------------------------------- groups

using GroupCreationTest = GroupFixture;

TEST_F(GroupCreationTest, AGroupWithoutANameIsNamedByTheServerAndFoundThere)
{
    std::string name, key;
    ASSERT_TRUE(server->AddOPCGroup(name, 100, 0, true, true, key));
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(key, "Group 1 0");
    std::shared_ptr<cOPCGroup> group = *server->GetOPCServerGroupCollection().find(key);
    EXPECT_EQ(group->GetGroupName(), name);
    EXPECT_NO_THROW(server->GetOPCServerObject()->OPCGroups()->GetOPCGroup(name));
}

TEST_F(GroupCreationTest, ADuplicateNameFailsWithItsHintAndTheCollectionKeepsOneGroup)
{
    std::string first = "Line", second = "Line", firstKey, secondKey;
    ASSERT_TRUE(server->AddOPCGroup(first, 100, 0, true, true, firstKey));
    EXPECT_FALSE(server->AddOPCGroup(second, 100, 0, true, true, secondKey));

    EXPECT_EQ(server->GetOPCServerGroupCollection().count(), 1u);
    EXPECT_TRUE(secondKey.empty());
    EXPECT_EQ(boxes.prompts(), std::vector<std::string>{"Error! Possible cause: Cannot Add Duplicate Groupname"});
    EXPECT_EQ(reports(), std::vector<std::string>{
                             "Function 'Add Group' returned an error of -1073479668 or Hex 0xC004000C"});
}

TEST_F(GroupCreationTest, TheIndexOfARemovedGroupIsTakenByTheNextOne)
{
    std::vector<std::string> keys;
    for (const char* name : {"A", "B", "C"}) {
        std::string groupName = name, key;
        ASSERT_TRUE(server->AddOPCGroup(groupName, 100, 0, true, true, key));
        keys.push_back(key);
    }
    ASSERT_TRUE(server->RemoveOPCGroup(keys[1], ""));

    std::string name = "D", key;
    ASSERT_TRUE(server->AddOPCGroup(name, 100, 0, true, true, key));
    EXPECT_EQ(key, keys[1]);
    EXPECT_EQ((*server->GetOPCServerGroupCollection().find(key))->GetGroupIndex(), 2);
}

TEST_F(GroupCreationTest, ADestroyedGroupNoLongerReceivesTheAutomationGroupsEvents)
{
    auto group = addGroup("Gone", 60'000);
    auto item = addItem(*group, "Static.Long");
    std::shared_ptr<OPCGroup> automation = item->GetOPCItemObject()->Parent();
    RecordingGroupOwner owner;
    group->SetGroupOwner(&owner);
    group->GroupUpdates(true);

    // Shut down: the server is not asked to remove the group, which lives on.
    ASSERT_TRUE(server->RemoveOPCGroup(group->GetGroupKey(), "ServerShutdown"));
    group.reset();
    item.reset();
    int32_t cancelId = 0;
    automation->AsyncRefresh(OPCDevice, 5, cancelId);
    clock.runPending();

    EXPECT_TRUE(owner.updates.empty());
}

// ---------------------------------------------------------------- items

using GroupItemsTest = GroupFixture;

TEST_F(GroupItemsTest, ItemsAreKeyedByTheirClientHandleAndMappedByItemID)
{
    auto group = addGroup();
    std::string first, second, again;
    ASSERT_TRUE(group->AddOPCItem("Static.Long", vtI4, true, true, false, first, "Level", "t1", "t2"));
    ASSERT_TRUE(group->AddOPCItem("Static.Double", vtEmpty, true, true, false, second));
    ASSERT_TRUE(group->AddOPCItem("STATIC.long", vtEmpty, true, true, false, again));

    EXPECT_EQ(first, "Item 1");
    EXPECT_EQ(second, "Item 2");
    EXPECT_EQ(again, "Item 3");
    auto item = itemOf(*group, first);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->GetItemIndex(), 1);
    EXPECT_EQ(item->GetItemClientHandle(), 1);
    EXPECT_EQ(item->GetItemAlias(), "Level");
    EXPECT_EQ(item->GetItemCustomTag1(), "t1");
    EXPECT_EQ(item->GetItemCustomTag2(), "t2");
    EXPECT_EQ(item->GetItemDataType(cOPCItem::ReadStored), vtI4);
    EXPECT_EQ(group->GetItemKeyForItemID("static.LONG"), "Item 1") << "the first entry stays";
    EXPECT_EQ(group->GetItemKeyForItemID("Static.Double"), "Item 2");
    EXPECT_EQ(group->GetItemKeyForItemID("Static.Missing"), "");
}

TEST_F(GroupItemsTest, AFreedClientHandleIsReusedWhileTheOldItemIDStillMapsToItsKey)
{
    auto group = addGroup();
    std::string first, second, third;
    ASSERT_TRUE(group->AddOPCItem("Static.Long", vtEmpty, true, true, false, first));
    ASSERT_TRUE(group->AddOPCItem("Static.Double", vtEmpty, true, true, false, second));
    int32_t error = 0;
    ASSERT_TRUE(group->RemoveOPCItem(first, error));
    ASSERT_TRUE(group->AddOPCItem("Static.String", vtEmpty, true, true, false, third));

    EXPECT_EQ(third, first);
    EXPECT_EQ(group->GetItemKeyForItemID("Static.Long"), first);
    EXPECT_EQ(itemOf(*group, group->GetItemKeyForItemID("Static.Long"))->GetItemID(), "Static.String");
    EXPECT_EQ(group->GetOPCGroupItemsCollection().count(), 2u);
}

TEST_F(GroupItemsTest, AnItemTheServerDoesNotKnowIsReportedAndLeavesItsHandleFree)
{
    auto group = addGroup();
    std::string key = "unchanged";
    EXPECT_FALSE(group->AddOPCItem("No.Such.Item", vtEmpty, true, true, false, key));
    EXPECT_EQ(key, "unchanged");
    EXPECT_EQ(reports(), std::vector<std::string>{groupReport("Add Item", "-1073479673", "C0040007")});
    EXPECT_TRUE(boxes.shown.empty());

    ASSERT_TRUE(group->AddOPCItem("Static.Long", vtEmpty, true, true, false, key));
    EXPECT_EQ(key, "Item 1");
}

struct MissingKeyCase {
    const char* itemKey;
};

class RemoveMissingItemTest : public GroupFixture, public ::testing::WithParamInterface<MissingKeyCase> {};

TEST_P(RemoveMissingItemTest, FailsUnderRemoveItemAndKeepsEveryItem)
{
    auto group = addGroup();
    addItem(*group, "Static.Long");
    int32_t error = 12345;
    EXPECT_FALSE(group->RemoveOPCItem(GetParam().itemKey, error));
    EXPECT_EQ(error, 12345) << "only a refusal by the server sets the error";
    EXPECT_EQ(group->GetOPCGroupItemsCollection().count(), 1u);
    EXPECT_EQ(reports(), std::vector<std::string>{groupReport("Remove Item", " 5", "5")});
}

INSTANTIATE_TEST_SUITE_P(Keys, RemoveMissingItemTest,
                         ::testing::Values(MissingKeyCase{"Item1"}, MissingKeyCase{"Item 2"},
                                           MissingKeyCase{"Item  1"}, MissingKeyCase{""}));

TEST_F(GroupItemsTest, ARemovalTheServerRefusesLeavesTheItemAndReportsThePerItemError)
{
    auto group = addGroup();
    auto item = addItem(*group, "Static.Long");
    // The server already forgot the item: it refuses its handle.
    OPCItem* automation = item->GetOPCItemObject();
    OleArray<int32_t> refusals;
    automation->Parent()->OPCItems()->Remove(1, OleArray<int32_t>::oneBased({automation->ServerHandle()}),
                                             refusals);

    int32_t error = 0;
    EXPECT_FALSE(group->RemoveOPCItem("Item 1", error));
    EXPECT_EQ(error, errors::OPC_E_INVALIDHANDLE);
    EXPECT_EQ(group->GetOPCGroupItemsCollection().count(), 1u);
    EXPECT_EQ(reports(), std::vector<std::string>{groupReport("Remove Item", "-1073479679", "C0040001")});
}

struct ValidationCase {
    const char* itemId;
    int16_t type;
    bool valid;
    int32_t error;
};

class ValidateItemTest : public GroupFixture, public ::testing::WithParamInterface<ValidationCase> {};

TEST_P(ValidateItemTest, AnswersWithoutAReportAndAddsNothing)
{
    auto group = addGroup();
    int32_t error = 0;
    EXPECT_EQ(group->ValidateOPCItem(GetParam().itemId, GetParam().type, true, error), GetParam().valid);
    EXPECT_EQ(error, GetParam().error);
    EXPECT_TRUE(reports().empty());
    EXPECT_EQ(group->GetOPCGroupItemsCollection().count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Items, ValidateItemTest,
                         ::testing::Values(ValidationCase{"Static.Long", vtEmpty, true, 0},
                                           ValidationCase{"Static.Long", vtR8, true, 0},
                                           ValidationCase{"No.Such.Item", vtEmpty, false, errors::OPC_E_UNKNOWNITEMID},
                                           ValidationCase{"Static.String", vtI4, false, errors::OPC_E_BADTYPE}));

TEST_F(GroupItemsTest, AValidationCallThatFailsIsReported)
{
    auto group = addGroup();
    demo().faults().fail("Validate", errors::RPC_E_CALL_REJECTED_);
    int32_t error = 0;
    EXPECT_FALSE(group->ValidateOPCItem("Static.Long", vtEmpty, true, error));
    EXPECT_EQ(reports(), std::vector<std::string>{groupReport("Validate Item", "-2147418111", "80010001")});
    EXPECT_EQ(boxes.prompts(), std::vector<std::string>{"Error! Possible cause: DCOM Timeout on Remote OPC Server"});
}

// ---------------------------------------------------------------- settings

struct SettingCase {
    const char* name;
    const char* fault;  // the automation member whose failure both calls meet
    const char* setLabel;
    const char* getLabel;
    std::function<bool(cOPCGroup&)> set;
    std::function<bool(cOPCGroup&, std::string&)> get;  // the value read, as text
    const char* expected;
};

void PrintTo(const SettingCase& c, std::ostream* os) { *os << c.name; }

class GroupSettingTest : public GroupFixture, public ::testing::WithParamInterface<SettingCase> {};

TEST_P(GroupSettingTest, ReadsBackWhatWasSet)
{
    auto group = addGroup();
    ASSERT_TRUE(GetParam().set(*group));
    std::string seen;
    ASSERT_TRUE(GetParam().get(*group, seen));
    EXPECT_EQ(seen, GetParam().expected);
    EXPECT_TRUE(reports().empty());
}

TEST_P(GroupSettingTest, ReportsEachFailureUnderItsOwnLabel)
{
    auto group = addGroup();
    RecordingGroupOwner owner;
    group->SetGroupOwner(&owner);
    demo().faults().fail(GetParam().fault, errors::E_FAIL_);
    std::string seen = "untouched";
    EXPECT_FALSE(GetParam().set(*group));
    EXPECT_FALSE(GetParam().get(*group, seen));
    EXPECT_EQ(seen, "untouched");
    const std::vector<std::string> expected{groupReport(GetParam().setLabel, "-2147467259", "80004005"),
                                            groupReport(GetParam().getLabel, "-2147467259", "80004005")};
    EXPECT_EQ(reports(), expected);
    EXPECT_EQ(owner.errors, expected);
    EXPECT_TRUE(boxes.shown.empty()) << "0x80004005 has no hint for a group";
}

template <class T, class Text>
std::function<bool(cOPCGroup&, std::string&)> reading(bool (cOPCGroup::*get)(T&), Text text)
{
    return [get, text](cOPCGroup& group, std::string& seen) {
        T value{};
        if (!(group.*get)(value))
            return false;
        seen = text(value);
        return true;
    };
}

const auto boolText = [](bool v) { return ValueText::ofBoolean(v); };
const auto numberText = [](auto v) { return ValueText::general(double(v), 7); };

INSTANTIATE_TEST_SUITE_P(
    Settings, GroupSettingTest,
    ::testing::Values(
        SettingCase{"ActiveState", "IsActive", "Group Active State", "Get Group Active State",
                    [](cOPCGroup& g) { return g.SetGroupActiveState(false); },
                    reading(&cOPCGroup::GetGroupActiveState, boolText), "False"},
        SettingCase{"Subscribed", "IsSubscribed", "Group Subscribed", "Get Group Subscribed",
                    [](cOPCGroup& g) { return g.SetGroupSubscribed(false); },
                    reading(&cOPCGroup::GetGroupSubscribed, boolText), "False"},
        SettingCase{"UpdateRate", "UpdateRate", "Set Group Update Rate", "Get Group Update Rate",
                    [](cOPCGroup& g) { return g.SetGroupUpdateRate(250); },
                    reading(&cOPCGroup::GetGroupUpdateRate, numberText), "250"},
        SettingCase{"DeadBand", "DeadBand", "Set Group Dead Band", "Get Group Dead Band",
                    [](cOPCGroup& g) { return g.SetGroupDeadBand(2.5f); },
                    reading(&cOPCGroup::GetGroupDeadBand, numberText), "2.5"},
        SettingCase{"TimeBias", "TimeBias", "Set Group Time Bias", "Get Group Time Bias",
                    [](cOPCGroup& g) { return g.SetGroupTimeBias(60); },
                    reading(&cOPCGroup::GetGroupTimeBias, numberText), "60"},
        SettingCase{"DefaultDataType", "DefaultRequestedDataType", "Set OPC Item Default Data Type",
                    "Get OPC Item Default Data Type",
                    [](cOPCGroup& g) { return g.SetOPCItemsDefaultDataType(vtI4); },
                    reading(&cOPCGroup::GetOPCItemsDefaultDataType, numberText), "3"},
        SettingCase{"DefaultActive", "DefaultIsActive", "Set OPC Item Default Active State",
                    "Get OPC Item Default Active State",
                    [](cOPCGroup& g) { return g.SetOPCItemsDefaultActive(false); },
                    reading(&cOPCGroup::GetOPCItemsDefaultActive, boolText), "False"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- data changes

// Rows for the items with client handles 1 and 2 around a handle no item has.
struct ThreeRows {
    OleArray<int32_t> handles = OleArray<int32_t>::oneBased({1, 7, 2});
    OleArray<Variant> values = OleArray<Variant>::oneBased({Variant(int32_t(10)), Variant(int32_t(20)),
                                                            Variant(int32_t(30))});
    OleArray<int32_t> qualities = OleArray<int32_t>::oneBased({192, 192, 216});
    OleArray<double> stamps = OleArray<double>::oneBased({46000.25, 46000.5, 46000.75});

    void sendTo(cOPCGroup& group, int32_t transactionId = 0) const
    {
        eventsOf(group).DataChange(transactionId, 3, handles, values, qualities, stamps);
    }
};

struct FlagsCase {
    bool groupUpdates;
    bool withItemIds;
    bool updateExpected;
    std::vector<std::string> itemIds;
};

class ThreeRowDataChangeTest : public GroupFixture, public ::testing::WithParamInterface<FlagsCase> {};

TEST_P(ThreeRowDataChangeTest, UpdatesTheKnownItemsAndPassesTheWholeChangeByTheFlags)
{
    auto group = addGroup("Rows", 60'000);
    auto first = addItem(*group, "Static.Long");
    auto third = addItem(*group, "Static.Double");
    RecordingGroupOwner owner;
    group->SetGroupOwner(&owner);
    group->GroupUpdates(GetParam().groupUpdates);
    group->GroupUpdatesWithItemIDs(GetParam().withItemIds);

    ThreeRows rows;
    rows.sendTo(*group, 42);

    EXPECT_EQ(first->GetItemValue(cOPCItem::ReadStored), Variant(int32_t(10)));
    EXPECT_EQ(first->GetItemTimeStamp(cOPCItem::ReadStored), 46000.25);
    EXPECT_EQ(third->GetItemValue(cOPCItem::ReadStored), Variant(int32_t(30)));
    EXPECT_EQ(third->GetItemQuality(cOPCItem::ReadStored), 216);
    if (GetParam().updateExpected) {
        ASSERT_EQ(owner.updates.size(), 1u);
        const GroupUpdate& update = owner.updates[0];
        EXPECT_EQ(update.groupKey, group->GetGroupKey());
        EXPECT_EQ(update.transactionId, 42);
        EXPECT_EQ(update.numItems, 3);
        EXPECT_EQ(update.clientHandles, rows.handles.elements());
        EXPECT_EQ(update.values, rows.values.elements());
        EXPECT_EQ(update.itemIdsLowerBound, 1);
        EXPECT_EQ(update.itemIds, GetParam().itemIds);
    } else {
        EXPECT_TRUE(owner.updates.empty());
    }
    EXPECT_TRUE(owner.errors.empty());
    EXPECT_TRUE(reports().empty());
    EXPECT_TRUE(boxes.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Flags, ThreeRowDataChangeTest,
    ::testing::Values(FlagsCase{false, false, false, {}}, FlagsCase{false, true, false, {}},
                      FlagsCase{true, false, true, {""}},
                      FlagsCase{true, true, true, {"Static.Long", UnknownRowText, "Static.Double"}}));

struct CallbackFailureCase {
    int32_t number;
    std::vector<std::string> passedOn;
};

class DataChangeFailureTest : public GroupFixture,
                              public ::testing::WithParamInterface<CallbackFailureCase> {};

TEST_P(DataChangeFailureTest, AFailingItemOwnerStopsNoRowAndOnlyItsDescriptionReachesTheGroupOwner)
{
    auto group = addGroup("Rows", 60'000);
    auto first = addItem(*group, "Static.Long");
    auto third = addItem(*group, "Static.Double");
    RecordingItemOwner itemOwner;
    itemOwner.failWith = ComError(GetParam().number, "Host", "The host failed");
    first->SetItemOwner(&itemOwner);
    RecordingGroupOwner owner;
    group->SetGroupOwner(&owner);
    group->GroupUpdates(true);

    ThreeRows().sendTo(*group);

    EXPECT_EQ(third->GetItemValue(cOPCItem::ReadStored), Variant(int32_t(30)));
    EXPECT_EQ(owner.updates.size(), 1u);
    EXPECT_EQ(owner.errors, GetParam().passedOn);
    EXPECT_TRUE(reports().empty());
    EXPECT_TRUE(boxes.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Numbers, DataChangeFailureTest,
                         ::testing::Values(CallbackFailureCase{errors::TypeMismatch, {"The host failed"}},
                                           CallbackFailureCase{errors::InvalidProcedureCall, {}}));

TEST_F(GroupFixture, RowsOutsideTheEventsArraysAreSkippedAndTheFailureIsPassedOn)
{
    auto group = addGroup("Rows", 60'000);
    auto first = addItem(*group, "Static.Long");
    RecordingGroupOwner owner;
    group->SetGroupOwner(&owner);
    ThreeRows rows;
    eventsOf(*group).DataChange(0, 5, rows.handles, rows.values, rows.qualities, rows.stamps);
    EXPECT_EQ(first->GetItemValue(cOPCItem::ReadStored), Variant(int32_t(10)));
    EXPECT_EQ(owner.errors.size(), 1u);
}

// ---------------------------------------------------------------- writes and refreshes

class GroupWriteTest : public GroupFixture {
protected:
    void SetUp() override
    {
        GroupFixture::SetUp();
        group = addGroup("Writes", 100);
        group->SetGroupOwner(&owner);
        writable = addItem(*group, "Access.ReadWrite");
        readOnly = addItem(*group, "Access.ReadOnly");
        advance(100);  // the first tick stores every item with good quality
        ASSERT_EQ(readOnly->GetItemQuality(cOPCItem::ReadStored), 192);
    }

    std::shared_ptr<cOPCGroup> group;
    RecordingGroupOwner owner;
    std::shared_ptr<cOPCItem> writable, readOnly;
};

TEST_F(GroupWriteTest, AnAsyncWriteMarksTheItemThatFailedBadAndCompletesWithTheTransaction)
{
    ASSERT_TRUE(group->AsyncWriteOPCGroup(OleArray<std::shared_ptr<cOPCItem>>::oneBased({writable, readOnly}),
                                          OleArray<Variant>::oneBased({Variant(int32_t(5)), Variant(int32_t(6))}),
                                          77));
    EXPECT_TRUE(owner.completions.empty()) << "the completion comes later";
    clock.runPending();

    EXPECT_EQ(owner.completions, std::vector<int32_t>{77});
    EXPECT_EQ(readOnly->GetItemQuality(cOPCItem::ReadStored), 0);
    EXPECT_EQ(readOnly->GetItemQualityString(), "Bad, Non Specific");
    EXPECT_EQ(writable->GetItemQuality(cOPCItem::ReadStored), 192);
    EXPECT_EQ(writable->GetItemValue(cOPCItem::ReadLive), Variant(int32_t(5)));
    EXPECT_TRUE(reports().empty());
}

TEST_F(GroupWriteTest, ASyncWriteIgnoresElementsBelowOne)
{
    OleArray<std::shared_ptr<cOPCItem>> objects(0, {nullptr, writable});
    OleArray<Variant> values(0, {Variant("ignored"), Variant(int32_t(41))});
    ASSERT_TRUE(group->SyncWriteOPCGroup(objects, values));
    EXPECT_EQ(writable->GetItemValue(cOPCItem::ReadLive), Variant(int32_t(41)));
    EXPECT_TRUE(reports().empty());
}

TEST_F(GroupWriteTest, WritesThatCannotBeMadeAreReportedUnderTheirLabels)
{
    const OleArray<std::shared_ptr<cOPCItem>> none(1, {});
    const OleArray<std::shared_ptr<cOPCItem>> missingValue = OleArray<std::shared_ptr<cOPCItem>>::oneBased({writable});
    const OleArray<Variant> noValues(1, {});
    EXPECT_FALSE(group->SyncWriteOPCGroup(none, noValues));
    EXPECT_FALSE(group->AsyncWriteOPCGroup(missingValue, noValues, 1));
    demo().faults().fail("AsyncWrite", errors::RPC_E_SERVERCALL_RETRYLATER_);
    EXPECT_FALSE(group->AsyncWriteOPCGroup(missingValue, OleArray<Variant>::oneBased({Variant(1.0)}), 2));

    EXPECT_EQ(reports(), (std::vector<std::string>{groupReport("Synchronous Write Item", " 9", "9"),
                                                   groupReport("Asynchronous Write Item", " 9", "9"),
                                                   groupReport("Asynchronous Write Item", "-2147418107", "80010005")}));
    EXPECT_EQ(boxes.prompts(), std::vector<std::string>{"Error! Possible cause: DCOM Timeout on Remote OPC Server"});
    EXPECT_EQ(writable->GetItemValue(cOPCItem::ReadLive), Variant(int32_t(0)));
}

TEST_F(GroupFixture, ARefreshFromTheCacheRepeatsTheLastReadingAndOneFromTheDeviceReadsAgain)
{
    auto group = addGroup("Refresh", 600'000);  // no subscription tick during the test
    auto ramp = addItem(*group, "SimulatePLC.PHASED.Ramp1");
    RecordingGroupOwner owner;
    group->SetGroupOwner(&owner);
    group->GroupUpdates(true);

    const auto refreshed = [&](int32_t source, int32_t transaction) {
        EXPECT_NE(group->AsyncRefresh(source, transaction), 0);
        clock.runPending();
        EXPECT_EQ(owner.updates.back().transactionId, transaction);
        return ramp->GetItemValue(cOPCItem::ReadStored);
    };
    const Variant atStart = refreshed(OPCDevice, 11);
    advance(1000);
    const Variant fromCache = refreshed(OPCCache, 12);
    const Variant fromDevice = refreshed(OPCDevice, 13);

    EXPECT_EQ(fromCache, atStart);
    EXPECT_NE(fromDevice, atStart);
    EXPECT_EQ(fromDevice, ramp->GetItemValue(cOPCItem::ReadLive));
    EXPECT_EQ(owner.updates.size(), 3u);
}

TEST_F(GroupFixture, ARefreshThatCannotStartGivesCancelIdZeroAndIsReported)
{
    auto group = addGroup("Refresh", 600'000);
    addItem(*group, "Static.Long");
    EXPECT_EQ(group->AsyncRefresh(3, 1), 0);
    EXPECT_EQ(group->AsyncRefresh(70000, 1), 0);
    EXPECT_EQ(reports(), (std::vector<std::string>{groupReport("Asynchronous Refresh", "-2147024809", "80070057"),
                                                   groupReport("Asynchronous Refresh", " 6", "6")}));
}

}  // namespace
}  // namespace tagwell::test

namespace tagwell::test {
namespace {

// An item owner that removes the item it hears from, as a host may do in
// its handler.
class RemovingOwner : public RecordingItemOwner {
public:
    void OPCItemUpdate(const std::string& Alias, const std::string& ItemID, const Variant& Value, double TimeDate,
                       int32_t Quality) override
    {
        RecordingItemOwner::OPCItemUpdate(Alias, ItemID, Value, TimeDate, Quality);
        int32_t error = 0;
        removed = group->RemoveOPCItem(group->GetItemKeyForItemID(ItemID), error);
    }
    cOPCGroup* group = nullptr;
    bool removed = false;
};

TEST_F(GroupFixture, AnItemItsOwnerRemovesDuringADataChangeLivesUntilTheChangeEnds)
{
    auto group = addGroup("Rows", 60'000);
    std::weak_ptr<cOPCItem> first = addItem(*group, "Static.Long");
    auto third = addItem(*group, "Static.Double");
    RemovingOwner owner;
    owner.group = group.get();
    first.lock()->SetItemOwner(&owner);

    ThreeRows().sendTo(*group);

    EXPECT_TRUE(owner.removed);
    EXPECT_TRUE(first.expired()) << "released once the change was handled";
    EXPECT_EQ(group->GetOPCGroupItemsCollection().count(), 1u);
    EXPECT_EQ(third->GetItemValue(cOPCItem::ReadStored), Variant(int32_t(30)));
}

}  // namespace
}  // namespace tagwell::test
