// Building a configuration through the public methods: what each returns,
// which events come with which arguments, how servers, groups and items are
// numbered, and what the failures give back.

#include "XOPCFixture.h"

#include "core/MCollector.h"
#include "core/OPCKeys.h"
#include "platform/ComError.h"
#include "core/cOPCGroup.h"
#include "core/cOPCItem.h"
#include "core/cOPCServer.h"

namespace tagwell::test {
namespace {

using XOPCMethods = XOPCFixture;

TEST_F(XOPCMethods, ServersAreNumberedFromZeroAndAFailedAttemptUsesANumber)
{
    QSignalSpy added(control, &XOPC::ServerAdded);

    EXPECT_EQ(control->AddNewServer(DemoProgId), 0);
    EXPECT_EQ(control->AddNewServer("No.Such.Server"), -1);
    EXPECT_EQ(control->AddNewServer(SimulationBackend::FlatProgId), 2);

    EXPECT_EQ(firstArguments(added), QStringList({"Server 0", "Server 2"}));
    EXPECT_EQ(collector().ServerIndex, 3);
    EXPECT_EQ(collector().Servers().count(), 2u);
}

TEST_F(XOPCMethods, EmptyNodeIsAnnouncedEmptyLoggedAsLocalAndHandedBackAsLocal)
{
    QSignalSpy added(control, &XOPC::ServerAdded);
    QString node;

    ASSERT_EQ(control->AddNewServer(DemoProgId, node), 0);

    ASSERT_EQ(added.count(), 1);
    EXPECT_EQ(added[0][0].toString(), "Server 0");
    EXPECT_EQ(added[0][1].toString(), DemoProgId);
    EXPECT_EQ(added[0][2].toString(), "");
    EXPECT_EQ(node, "Local");
    EXPECT_EQ(control->LogLines().last(),
              QString("New Server connection to ") + DemoProgId + " on node Local");
}

TEST_F(XOPCMethods, AddingAServerSelectsItAndClearsTheGroupSelection)
{
    const qint16 first = addServer();
    addGroup(first);
    control->AddNewServer(DemoProgId);

    EXPECT_EQ(collector().SelectedOPCServer->GetOPCServerKey(), "Server 1");
    EXPECT_EQ(collector().SelectedOPCGroup, nullptr);
    EXPECT_EQ(control->Title(), "Total Item Count = 0, Item List: No Group Selected");
}

TEST_F(XOPCMethods, GroupAddedCarriesServerKeyGroupKeyAndName)
{
    addServer();
    const qint16 second = addServer();
    QSignalSpy added(control, &XOPC::GroupAdded);

    const QString key = control->AddNewGroup("Fast", 250, 1.5f, false, true, second);

    EXPECT_EQ(key, "Group 1 1");
    ASSERT_EQ(added.count(), 1);
    EXPECT_EQ(added[0], QList<QVariant>({"Server 1", "Group 1 1", "Fast"}));
    EXPECT_EQ(control->LogLines().last(),
              "Group Fast added; Update Rate = 250, Deadband = 1.5, Active state = False");
    EXPECT_EQ(collector().SelectedOPCGroup->GetGroupKey(), "Group 1 1");
}

TEST_F(XOPCMethods, GroupForAnUnknownServerFailsAndLeavesNoServerSelected)
{
    addServer();
    QSignalSpy added(control, &XOPC::GroupAdded);

    EXPECT_EQ(control->AddNewGroup("Lost", 100, 0, true, true, 7), "");

    EXPECT_EQ(collector().SelectedOPCServer, nullptr);
    EXPECT_EQ(added.count(), 0);
}

TEST_F(XOPCMethods, ItemAddedCarriesKeysNameAndRunningTotal)
{
    const qint16 server = addServer();
    const QString group = addGroup(server);
    QSignalSpy added(control, &XOPC::ItemAdded);

    EXPECT_EQ(control->AddNewItem(server, group, Ramp1, 0, true), "Item 1");
    EXPECT_EQ(control->AddNewItem(server, group, Ramp2, 0, true), "Item 2");

    ASSERT_EQ(added.count(), 2);
    EXPECT_EQ(added[1], QList<QVariant>({"Server 0", "Group 1 0", "Item 2", Ramp2, 2}));
    EXPECT_EQ(control->Title(), "Total Item Count = 2, Member(s) of Group 'Group A':");
    EXPECT_EQ(list().RowCount(), 2);
    EXPECT_EQ(list().RowKey(1), "Item 2");
    EXPECT_EQ(control->LogLines().last(), QString("Item ") + Ramp2 + " added");
}

TEST_F(XOPCMethods, ItemAddedAfterSecondGroupCountsAcrossGroups)
{
    const qint16 server = addServer();
    const QString a = addGroup(server, "A");
    const QString b = addGroup(server, "B");
    addItem(server, a, Ramp1);
    QSignalSpy added(control, &XOPC::ItemAdded);

    addItem(server, b, Ramp2);

    ASSERT_EQ(added.count(), 1);
    EXPECT_EQ(added[0][1].toString(), "Group 2 0");
    EXPECT_EQ(added[0][2].toString(), "Item 1");
    EXPECT_EQ(added[0][4].toInt(), 2);
}

TEST_F(XOPCMethods, ItemInAnUnknownGroupFailsWithLogLineAndOPCError)
{
    const qint16 server = addServer();
    const QString group = addGroup(server);
    addItem(server, group, Ramp1);
    QSignalSpy errors(control, &XOPC::OPCError);
    QSignalSpy added(control, &XOPC::ItemAdded);

    EXPECT_EQ(control->AddNewItem(server, "Group 9 0", Ramp2, 0, true), "");

    const QString failure = QString("Unable to add Item ") + Ramp2;
    EXPECT_EQ(firstArguments(errors), QStringList{failure});
    EXPECT_EQ(control->LogLines().last(), failure);
    EXPECT_EQ(added.count(), 0);
    EXPECT_EQ(list().RowCount(), 0);
    EXPECT_EQ(collector().GlobalItemCount, 1);
}

TEST_F(XOPCMethods, ItemTheServerRefusesFailsTheSameWay)
{
    const qint16 server = addServer();
    const QString group = addGroup(server);
    QSignalSpy errors(control, &XOPC::OPCError);

    EXPECT_EQ(control->AddNewItem(server, group, "No.Such.Item", 0, true), "");

    EXPECT_TRUE(firstArguments(errors).contains("Unable to add Item No.Such.Item"));
    EXPECT_EQ(collector().GlobalItemCount, 0);
}

TEST_F(XOPCMethods, ItemsAddedThroughTheMethodAreShownNotLoggedAndCarryTheirTags)
{
    const qint16 server = addServer();
    const QString group = addGroup(server);

    control->AddNewItem(server, group, Ramp1, 0, false, "Alias 1", "Tag A", "Tag B");

    const auto& item = collector().SelectedOPCItem;
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetItemAlias(), "Alias 1");
    EXPECT_EQ(item->GetItemCustomTag1(), "Tag A");
    EXPECT_EQ(item->GetItemCustomTag2(), "Tag B");
    EXPECT_FALSE(item->GetItemLogged());
    EXPECT_TRUE(item->GetItemDisplayUpdates());
    EXPECT_FALSE(item->GetItemActiveState());
}

TEST_F(XOPCMethods, DisconnectAllStartsANewConfigurationAndKeepsTheDisplayInterval)
{
    const qint16 server = addServer();
    addItem(server, addGroup(server), Ramp1);
    ASSERT_TRUE(control->StartDisplayUpdate(500));
    QSignalSpy info(control, &XOPC::Information);

    control->DisconnectAll();

    EXPECT_EQ(firstArguments(info), QStringList({"New configuration", "Display update terminated"}));
    const QStringList log = control->LogLines();
    EXPECT_EQ(log.mid(log.size() - 2), QStringList({"New configuration...", "Display update terminated..."}));
    EXPECT_EQ(collector().Servers().count(), 0u);
    EXPECT_EQ(collector().DisplayInterval, 500);
    EXPECT_EQ(collector().GlobalItemCount, 0);
    EXPECT_EQ(list().RowCount(), 0);
    EXPECT_FALSE(control->Timer()->Time1Enabled());
    EXPECT_EQ(control->AddNewServer(DemoProgId), 0);
}

TEST_F(XOPCMethods, DisconnectAllLeavesCollectionRunning)
{
    control->setCollectInterval(1000);
    ASSERT_TRUE(control->StartCollectionUpdates());

    control->DisconnectAll();

    EXPECT_TRUE(MCollector::CollectionActive());
    EXPECT_TRUE(control->Timer()->Time2Enabled());
}

TEST_F(XOPCMethods, DisconnectAllDisconnectsFromTheServer)
{
    const qint16 server = addServer();
    addItem(server, addGroup(server), Ramp1);
    ASSERT_EQ(demo().connectionCount(), 1);

    control->DisconnectAll();

    EXPECT_EQ(demo().connectionCount(), 0);
}

class XOPCWrites : public XOPCFixture {
protected:
    void SetUp() override
    {
        XOPCFixture::SetUp();
        server = addServer();
        group = addGroup(server);
        out1 = addItem(server, group, "SimulatePLC.BOOL.Out1");
        out2 = addItem(server, group, "SimulatePLC.BOOL.Out2");
    }

    bool tagValue(const char* itemId) { return demo().tag(itemId).valueAt(clock.now()).toBool(); }

    qint16 server = -1;
    QString group, out1, out2;
};

TEST_F(XOPCWrites, WriteItemWritesAndKeepsTheSelection)
{
    const auto selected = collector().SelectedOPCItem;

    EXPECT_TRUE(control->WriteItem(server, group, out1, Variant(true)));

    EXPECT_TRUE(tagValue("SimulatePLC.BOOL.Out1"));
    EXPECT_EQ(collector().SelectedOPCItem, selected);
}

TEST_F(XOPCWrites, WriteItemFailuresAreFalse)
{
    struct Case {
        const char* name;
        qint32 server;
        QString group;
        QString item;
    };
    const Case cases[] = {
        {"unknown server", 5, group, out1},
        {"unknown group", server, "Group 7 0", out1},
        {"unknown item", server, group, "Item 99"},
        {"no key at all", server, group, ""},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(control->WriteItem(c.server, c.group, c.item, Variant(true))) << c.name;
    EXPECT_FALSE(control->WriteItem(server, group, "Item 1", Variant("not a Boolean")));
}

TEST_F(XOPCWrites, SynchronousGroupWriteTakesKeysFromIndexOne)
{
    auto keys = OleArray<std::string>::withBounds(0, 2);
    keys[0] = "ignored";
    keys[1] = out1.toStdString();
    keys[2] = out2.toStdString();
    auto values = OleArray<Variant>::withBounds(0, 2);
    values[1] = Variant(true);
    values[2] = Variant(true);

    EXPECT_TRUE(control->WriteGroupSynchronous(server, group, keys, values));

    EXPECT_TRUE(tagValue("SimulatePLC.BOOL.Out1"));
    EXPECT_TRUE(tagValue("SimulatePLC.BOOL.Out2"));
}

TEST_F(XOPCWrites, SynchronousGroupWriteRefusesItemIDs)
{
    auto keys = OleArray<std::string>::oneBased({"SimulatePLC.BOOL.Out1"});
    auto values = OleArray<Variant>::oneBased({Variant(true)});

    EXPECT_FALSE(control->WriteGroupSynchronous(server, group, keys, values));

    EXPECT_FALSE(tagValue("SimulatePLC.BOOL.Out1"));
}

TEST_F(XOPCWrites, SynchronousGroupWriteReportsARefusedWriteAsFailure)
{
    demo().faults().fail("SyncWrite", errors::E_FAIL_);
    auto keys = OleArray<std::string>::oneBased({out1.toStdString()});
    auto values = OleArray<Variant>::oneBased({Variant(true)});

    EXPECT_FALSE(control->WriteGroupSynchronous(server, group, keys, values));
}

TEST_F(XOPCWrites, AsynchronousGroupWriteTurnsItemIDsIntoKeysInTheCallersArray)
{
    auto keys = OleArray<std::string>::withBounds(0, 2);
    keys[0] = "SimulatePLC.BOOL.Out2";
    keys[1] = "SimulatePLC.BOOL.Out1";
    keys[2] = out2.toStdString();
    auto values = OleArray<Variant>::withBounds(0, 2);
    values[1] = Variant(true);
    values[2] = Variant(true);

    EXPECT_TRUE(control->WriteGroupAsynchronous(server, group, keys, values, 42));
    advance(10);

    EXPECT_EQ(keys[0], "SimulatePLC.BOOL.Out2");
    EXPECT_EQ(keys[1], out1.toStdString());
    EXPECT_EQ(keys[2], out2.toStdString());
    EXPECT_TRUE(tagValue("SimulatePLC.BOOL.Out1"));
    EXPECT_TRUE(tagValue("SimulatePLC.BOOL.Out2"));
}

TEST_F(XOPCWrites, AsynchronousGroupWriteOfAnUnknownItemIDFails)
{
    auto keys = OleArray<std::string>::oneBased({"SimulatePLC.BOOL.In1"});
    auto values = OleArray<Variant>::oneBased({Variant(true)});

    EXPECT_FALSE(control->WriteGroupAsynchronous(server, group, keys, values, 1));
}

TEST_F(XOPCWrites, RefreshGroupAsyncRefreshesTheShownGroupOnly)
{
    EXPECT_NE(control->RefreshGroupAsync(1, 7), 0);

    control->DisconnectAll();
    EXPECT_EQ(control->RefreshGroupAsync(1, 7), 0);
}

}  // namespace
}  // namespace tagwell::test
