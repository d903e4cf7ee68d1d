// What the object layer reports becoming the control's events: data changes
// per item and per group, errors, write completions and server shutdowns.

#include "XOPCFixture.h"

#include <QTreeWidget>

#include "core/PendingMessages.h"
#include "core/cOPCGroup.h"
#include "core/cOPCItem.h"
#include "core/cOPCServer.h"
#include "platform/ComError.h"

namespace tagwell::test {
namespace {

class XOPCEvents : public XOPCFixture {
protected:
    void SetUp() override
    {
        XOPCFixture::SetUp();
        control->setReceiveItemUpdateEvents(true);
        control->setReceiveGroupUpdateEvents(true);
        server = addServer();
        group = addGroup(server);
    }

    qint16 server = -1;
    QString group;
};

TEST_F(XOPCEvents, ItemDataUpdateCarriesAliasItemIDAndTheStoredUpdate)
{
    control->AddNewItem(server, group, Ramp1, 0, true, "First ramp");
    const auto item = collector().SelectedOPCItem;
    QSignalSpy updates(control, &XOPC::ItemDataUpdate);

    advance(100);

    ASSERT_EQ(updates.count(), 1);
    const QList<QVariant>& args = updates[0];
    EXPECT_EQ(args[0].toString(), "First ramp");
    EXPECT_EQ(args[1].toString(), Ramp1);
    EXPECT_EQ(args[2].value<Variant>(), item->GetItemValue(cOPCItem::ReadStored));
    EXPECT_EQ(args[3].toDouble(), item->GetItemTimeStamp(cOPCItem::ReadStored));
    EXPECT_EQ(args[4].toInt(), 192);
}

TEST_F(XOPCEvents, ItemEventsComeInServerOrderAndTheGroupEventLast)
{
    addItem(server, group, Ramp1);
    addItem(server, group, Ramp2);
    addItem(server, group, Ramp3);
    QStringList order;
    QObject::connect(control, &XOPC::ItemDataUpdate, control,
            [&](const QString&, const QString& itemId) { order << itemId; });
    QObject::connect(control, &XOPC::GroupDataUpdate, control,
            [&](const QString& groupKey) { order << groupKey; });

    advance(100);

    EXPECT_EQ(order, QStringList({Ramp1, Ramp2, Ramp3, group}));
}

TEST_F(XOPCEvents, GroupDataUpdateCarriesTheWholeChangeWithItemIDsFromIndexOne)
{
    addItem(server, group, Ramp1);
    addItem(server, group, Ramp2);
    QSignalSpy updates(control, &XOPC::GroupDataUpdate);

    advance(100);

    ASSERT_EQ(updates.count(), 1);
    const QList<QVariant>& args = updates[0];
    EXPECT_EQ(args[0].toString(), group);
    EXPECT_EQ(args[1].toInt(), 2);
    const auto ids = args[2].value<OleArray<std::string>>();
    EXPECT_EQ(ids.lbound(), 1);
    EXPECT_EQ(ids.elements(), (std::vector<std::string>{Ramp1, Ramp2}));
    const auto values = args[3].value<OleArray<Variant>>();
    const auto stamps = args[4].value<OleArray<double>>();
    const auto qualities = args[5].value<OleArray<qint32>>();
    EXPECT_EQ(values.size(), 2u);
    EXPECT_EQ(stamps.size(), 2u);
    EXPECT_EQ(qualities.elements(), (std::vector<qint32>{192, 192}));
    EXPECT_EQ(args[6].toInt(), 0);
}

TEST_F(XOPCEvents, RefreshCarriesTheCallersTransactionID)
{
    addItem(server, group, StaticDouble);
    advance(100);
    QSignalSpy updates(control, &XOPC::GroupDataUpdate);

    ASSERT_NE(control->RefreshGroupAsync(1, 77), 0);
    advance(10);

    ASSERT_GE(updates.count(), 1);
    EXPECT_EQ(updates.last()[6].toInt(), 77);
}

TEST_F(XOPCEvents, ReceiveFlagsDecideWhenThingsAreAddedNotLater)
{
    control->setReceiveItemUpdateEvents(false);
    control->setReceiveGroupUpdateEvents(false);
    const QString quiet = addGroup(server, "Quiet");
    addItem(server, quiet, Ramp1);
    control->setReceiveItemUpdateEvents(true);
    control->setReceiveGroupUpdateEvents(true);
    QSignalSpy items(control, &XOPC::ItemDataUpdate);
    QSignalSpy groups(control, &XOPC::GroupDataUpdate);

    advance(300);

    EXPECT_EQ(items.count(), 0);
    EXPECT_EQ(groups.count(), 0);
}

TEST_F(XOPCEvents, ItemsWithoutOwnerStillLetTheGroupReport)
{
    control->setReceiveItemUpdateEvents(false);
    addItem(server, group, Ramp1);
    QSignalSpy items(control, &XOPC::ItemDataUpdate);
    QSignalSpy groups(control, &XOPC::GroupDataUpdate);

    advance(100);

    EXPECT_EQ(items.count(), 0);
    EXPECT_EQ(groups.count(), 1);
}

TEST_F(XOPCEvents, AsynchronousWriteCompletionIsInformation)
{
    const QString out = addItem(server, group, "SimulatePLC.BOOL.Out1");
    QSignalSpy info(control, &XOPC::Information);
    auto keys = OleArray<std::string>::oneBased({out.toStdString()});
    auto values = OleArray<Variant>::oneBased({Variant(true)});

    ASSERT_TRUE(control->WriteGroupAsynchronous(server, group, keys, values, 31));
    advance(10);

    EXPECT_EQ(firstArguments(info), QStringList{"Asynchronous Write Complete: Transaction ID = 31"});
}

TEST_F(XOPCEvents, AsynchronousWriteCompletionOfAGroupWithoutOwnerIsSilent)
{
    control->setReceiveGroupUpdateEvents(false);
    const QString quiet = addGroup(server, "Quiet");
    const QString out = addItem(server, quiet, "SimulatePLC.BOOL.Out1");
    QSignalSpy info(control, &XOPC::Information);
    auto keys = OleArray<std::string>::oneBased({out.toStdString()});
    auto values = OleArray<Variant>::oneBased({Variant(true)});

    ASSERT_TRUE(control->WriteGroupAsynchronous(server, quiet, keys, values, 31));
    advance(10);

    EXPECT_EQ(info.count(), 0);
}

TEST_F(XOPCEvents, ErrorsOfServerGroupAndItemBecomeOPCErrorAndWaitForTheLog)
{
    addItem(server, group, Ramp1);
    const auto item = collector().SelectedOPCItem;
    const auto grp = collector().SelectedOPCGroup;
    demo().faults().fail("IsActive", errors::E_FAIL_);
    demo().faults().fail("UpdateRate", errors::E_FAIL_);
    demo().faults().fail("VendorInfo", errors::E_FAIL_);
    QSignalSpy errors(control, &XOPC::OPCError);

    item->SetItemActiveState(false);
    int32_t rate = 0;
    grp->GetGroupUpdateRate(rate);
    std::string vendor;
    collector().SelectedOPCServer->GetVendorInfo(vendor);

    ASSERT_EQ(errors.count(), 3);
    ASSERT_EQ(PendingMessages::Count(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(errors[i][0].toString().toStdString(), PendingMessages::All()[size_t(i)]);
}

class XOPCShutdown : public XOPCEvents {
protected:
    void SetUp() override
    {
        XOPCEvents::SetUp();
        addItem(server, group, Ramp1);
        addItem(server, addGroup(server, "B"), Ramp2);
        const QString c = addGroup(server, "C");
        addItem(server, c, Ramp3);
        addItem(server, c, BoolIn1);
    }

    QTreeWidget& tree() { return *control->findChild<QTreeWidget*>("tvTreeView"); }
};

TEST_F(XOPCShutdown, RemovesTheGroupsAndTheServerAndAnnouncesItOnce)
{
    QSignalSpy shutdowns(control, &XOPC::ServerShutdown);
    const auto selected = collector().SelectedOPCServer;

    demo().shutdown("Maintenance");
    advance(1);

    ASSERT_EQ(shutdowns.count(), 1);
    EXPECT_EQ(shutdowns[0][0].toString(), "Server 0");
    EXPECT_EQ(shutdowns[0][1].toString(), DemoProgId);
    EXPECT_EQ(shutdowns[0][2].toString().toStdString(), demo().nodeName());
    EXPECT_EQ(shutdowns[0][3].toString(), "Maintenance");
    EXPECT_EQ(collector().Servers().count(), 0u);
    EXPECT_EQ(tree().topLevelItem(0)->childCount(), 0);
    EXPECT_EQ(list().RowCount(), 0);
    EXPECT_EQ(collector().GlobalItemCount, 4);
    EXPECT_EQ(control->Title(), "Total Item Count = 4, Item List: No Group Selected");
    EXPECT_EQ(collector().SelectedOPCServer, selected);
    EXPECT_EQ(collector().SelectedOPCGroup, nullptr);
    EXPECT_TRUE(selected->GetOPCServerGroupCollection().empty());
}

TEST_F(XOPCShutdown, OfAServerThatIsNotSelectedLeavesTheOthers)
{
    control->AddNewServer(SimulationBackend::FlatProgId);
    QSignalSpy shutdowns(control, &XOPC::ServerShutdown);

    demo().shutdown("Going");
    advance(1);

    ASSERT_EQ(shutdowns.count(), 1);
    ASSERT_EQ(collector().Servers().count(), 1u);
    EXPECT_EQ(collector().Servers().begin()->key, "Server 1");
    EXPECT_EQ(tree().topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(collector().SelectedOPCServer->GetOPCServerKey(), "Server 1");
}

TEST_F(XOPCShutdown, StopsTheDataEvents)
{
    QSignalSpy items(control, &XOPC::ItemDataUpdate);

    demo().shutdown("Going");
    advance(500);

    EXPECT_EQ(items.count(), 0);
}

}  // namespace
}  // namespace tagwell::test
