#include "SimFixture.h"

namespace tagwell::test {
namespace {

class SimItemsTest : public SimFixture {
protected:
    void SetUp() override
    {
        SimFixture::SetUp();
        group = subscribedGroup(100);
        items = group->OPCItems();
    }
    std::shared_ptr<OPCGroup> group;
    std::shared_ptr<OPCItems> items;
};

struct RefusedAdd {
    const char* itemId;
    int16_t requestedType;
    int32_t error;
};

class SimAddItemTest : public SimItemsTest, public ::testing::WithParamInterface<RefusedAdd> {};

TEST_P(SimAddItemTest, RefusedItemsThrowTheirErrorAndAreNotAdded)
{
    items->SetDefaultRequestedDataType(GetParam().requestedType);
    EXPECT_EQ(errorOf([&] { items->AddItem(GetParam().itemId, 1); }), GetParam().error);
    EXPECT_EQ(items->Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SimAddItemTest,
    ::testing::Values(RefusedAdd{"", vtEmpty, errors::OPC_E_INVALIDITEMID},
                      RefusedAdd{"SimulatePLC.PHASED.Ramp9", vtEmpty, errors::OPC_E_UNKNOWNITEMID},
                      RefusedAdd{"SimulatePLC.PHASED", vtEmpty, errors::OPC_E_UNKNOWNITEMID},
                      RefusedAdd{"Static.String", vtI4, errors::OPC_E_BADTYPE},
                      RefusedAdd{"Static.Arrays.LongArray", vtI4, errors::OPC_E_BADTYPE},
                      RefusedAdd{"Static.Long", vtArray, errors::OPC_E_BADTYPE}));

TEST_F(SimItemsTest, ItemsKeepTheirHandlesAndDescribeTheirTag)
{
    items->SetDefaultIsActive(false);
    auto level = items->AddItem("static.analog.LEVEL", 5);
    items->SetDefaultIsActive(true);
    auto flag = items->AddItem("SimulatePLC.BOOL.In1", 5);
    EXPECT_NE(level->ServerHandle(), flag->ServerHandle());
    EXPECT_EQ(items->GetOPCItem(flag->ServerHandle()), flag);
    EXPECT_EQ(level->ClientHandle(), 5);
    EXPECT_EQ(level->ItemID(), "static.analog.LEVEL");
    EXPECT_FALSE(level->IsActive());
    EXPECT_TRUE(flag->IsActive());
    EXPECT_EQ(level->CanonicalDataType(), vtR8);
    EXPECT_EQ(flag->CanonicalDataType(), vtBool);
    EXPECT_EQ(flag->AccessRights(), OPCReadable);
    EXPECT_EQ(level->AccessRights(), OPCReadable | OPCWritable);
    EXPECT_EQ(level->EUType(), 1);
    EXPECT_EQ(level->EUInfo().toArray().elements.size(), 2u);
    EXPECT_EQ(flag->EUType(), 0);
    EXPECT_TRUE(flag->EUInfo().isEmpty());
    EXPECT_EQ(level->Parent(), group);
    server->OPCGroups()->Remove(group->Name());
    EXPECT_EQ(level->Parent(), nullptr);
}

TEST_F(SimItemsTest, RemoveAndValidateReportEachItemInOneBasedArrays)
{
    auto a = items->AddItem("Static.Short", 1);
    auto b = items->AddItem("Static.Long", 2);
    OleArray<int32_t> errs;
    items->Remove(3, OleArray<int32_t>::oneBased({a->ServerHandle(), 424242, a->ServerHandle()}), errs);
    EXPECT_EQ(errs.lbound(), 1);
    EXPECT_EQ(errs.elements(),
              (std::vector<int32_t>{0, errors::OPC_E_INVALIDHANDLE, errors::OPC_E_INVALIDHANDLE}));
    EXPECT_EQ(items->Count(), 1);
    EXPECT_EQ(errorOf([&] { items->GetOPCItem(a->ServerHandle()); }), errors::OPC_E_INVALIDHANDLE);

    items->Validate(4, OleArray<std::string>::oneBased({"Static.Long", "Nope", "", "Static.String"}), errs,
                    OleArray<int16_t>::oneBased({vtEmpty, vtEmpty, vtEmpty, vtR8}));
    EXPECT_EQ(errs.lbound(), 1);
    EXPECT_EQ(errs.elements(), (std::vector<int32_t>{0, errors::OPC_E_UNKNOWNITEMID,
                                                     errors::OPC_E_INVALIDITEMID, errors::OPC_E_BADTYPE}));
    items->Validate(1, OleArray<std::string>::oneBased({"Static.Short"}), errs, {});
    EXPECT_EQ(errs[1], 0) << "no requested types means the default";
    EXPECT_EQ(items->Count(), 1) << "validation adds nothing";
    EXPECT_EQ(errorOf([&] { items->Remove(2, OleArray<int32_t>::oneBased({b->ServerHandle()}), errs); }),
              errors::E_INVALIDARG_);
}

struct WriteCase {
    const char* what;
    const char* itemId;
    Variant value;
    int32_t error;
};

class SimWriteTest : public SimItemsTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(SimWriteTest, WriteConvertsToTheCanonicalTypeOrRefusesAndKeepsTheValue)
{
    const WriteCase& c = GetParam();
    auto item = items->AddItem(c.itemId, 1);
    const Variant before = demo().tag(c.itemId).valueAt(clock.now());
    EXPECT_EQ(errorOf([&] { item->Write(c.value); }), c.error);
    const Variant after = demo().tag(c.itemId).valueAt(clock.now());
    if (c.error)
        EXPECT_EQ(after, before);
    else
        EXPECT_EQ(after, c.value.convertTo(item->CanonicalDataType()));
    EXPECT_EQ(after.type(), item->CanonicalDataType());
}

INSTANTIATE_TEST_SUITE_P(
    Table, SimWriteTest,
    ::testing::Values(WriteCase{"TextToShort", "Static.Short", Variant("12"), 0},
                      WriteCase{"DoubleToLong", "Static.Long", Variant(7.0), 0},
                      WriteCase{"ArrayToArray", "Static.Arrays.LongArray",
                                Variant::array(vtR8, {1.0, 2.0}), 0},
                      WriteCase{"WordToShort", "Static.Short", Variant("abc"), errors::OPC_E_BADTYPE},
                      WriteCase{"EmptyToShort", "Static.Short", Variant(), errors::OPC_E_BADTYPE},
                      WriteCase{"ScalarToArray", "Static.Arrays.LongArray", Variant(1), errors::OPC_E_BADTYPE},
                      WriteCase{"TooBigForShort", "Static.Short", Variant(100000), errors::OPC_E_RANGE},
                      WriteCase{"ReadOnly", "Access.ReadOnly", Variant(1), errors::OPC_E_BADRIGHTS},
                      WriteCase{"ReadOnlyInput", "SimulatePLC.BOOL.In1", Variant(true), errors::OPC_E_BADRIGHTS}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(SimItemsTest, WriteOnlyItemsTakeWritesButCannotBeRead)
{
    auto item = items->AddItem("Access.WriteOnly", 1);
    item->Write(Variant(5));
    EXPECT_EQ(errorOf([&] { item->Value(); }), errors::OPC_E_BADRIGHTS);
    advance(100);
    EXPECT_TRUE(events.changes.empty());
}

TEST_F(SimItemsTest, SyncWriteGivesAnErrorPerItem)
{
    auto good = items->AddItem("Static.Double", 1);
    auto readOnly = items->AddItem("Access.ReadOnly", 2);
    OleArray<int32_t> errs;
    group->SyncWrite(3, OleArray<int32_t>::oneBased({good->ServerHandle(), readOnly->ServerHandle(), -3}),
                     OleArray<Variant>::oneBased({Variant(9.5), Variant(1), Variant(1)}), errs);
    EXPECT_EQ(errs.lbound(), 1);
    EXPECT_EQ(errs.elements(), (std::vector<int32_t>{0, errors::OPC_E_BADRIGHTS, errors::OPC_E_INVALIDHANDLE}));
    EXPECT_EQ(good->Value(), Variant(9.5));
}

TEST_F(SimItemsTest, AsyncWriteRefusesUnknownHandlesAtOnceAndReportsTheRestLater)
{
    auto good = items->AddItem("Static.Double", 11);
    auto readOnly = items->AddItem("Access.ReadOnly", 12);
    OleArray<int32_t> errs;
    int32_t cancel = 0;
    group->AsyncWrite(3, OleArray<int32_t>::oneBased({good->ServerHandle(), -3, readOnly->ServerHandle()}),
                      OleArray<Variant>::oneBased({Variant(3.25), Variant(1), Variant(1)}), errs, 77, cancel);
    EXPECT_EQ(errs.elements(), (std::vector<int32_t>{0, errors::OPC_E_INVALIDHANDLE, 0}));
    EXPECT_TRUE(events.writes.empty()) << "completion comes later";
    clock.runPending();
    ASSERT_EQ(events.writes.size(), 1u);
    EXPECT_EQ(events.writes[0].transactionId, 77);
    EXPECT_EQ(events.writes[0].handles, (std::vector<int32_t>{11, 12}));
    EXPECT_EQ(events.writes[0].errors, (std::vector<int32_t>{0, errors::OPC_E_BADRIGHTS}));
    EXPECT_EQ(good->Value(), Variant(3.25));

    group->AsyncWrite(1, OleArray<int32_t>::oneBased({good->ServerHandle()}),
                      OleArray<Variant>::oneBased({Variant(4.5)}), errs, 78, cancel);
    group->setEventSink(nullptr);
    clock.runPending();
    EXPECT_EQ(events.writes.size(), 1u) << "no completion after the sink is cleared";
}

}  // namespace
}  // namespace tagwell::test
