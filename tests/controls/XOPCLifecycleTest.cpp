// A control's life: start-up and its failure, the values a new control
// starts with, the state shared by every control of the process, what a host
// can read about the members, and the tear-down when the host window closes.

#include "XOPCFixture.h"

#include <QMetaClassInfo>
#include <QMetaMethod>

#include "core/MCollector.h"
#include "core/PendingMessages.h"
#include "core/cOPCServer.h"

namespace tagwell::test {
namespace {

using XOPCLifecycle = XOPCFixture;

TEST_F(XOPCLifecycle, ANewControlStartsWithTheseValues)
{
    EXPECT_FALSE(control->ReceiveItemUpdateEvents());
    EXPECT_FALSE(control->ReceiveGroupUpdateEvents());
    EXPECT_EQ(control->CollectInterval(), 0);
    EXPECT_EQ(control->CollectMode(), cmNone);
    EXPECT_TRUE(control->ShowLog());
    EXPECT_TRUE(control->ShowTree());
    EXPECT_TRUE(control->ShowToolbar());
    EXPECT_FALSE(control->ShowItemQualityAsText());
    EXPECT_TRUE(control->AllowEdit());
    EXPECT_EQ(control->CustomTag1Caption(), "");
    EXPECT_EQ(control->CustomTag2Caption(), "");
    EXPECT_FLOAT_EQ(control->Timeout(), 5.0f);
    EXPECT_EQ(collector().ServerIndex, 0);
    EXPECT_EQ(collector().GlobalItemCount, 0);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(XOPCLifecycle, PropertiesAreReachableByName)
{
    struct Case {
        const char* name;
        QVariant value;
    };
    const Case cases[] = {{"ReceiveItemUpdateEvents", true}, {"ReceiveGroupUpdateEvents", true},
                          {"CollectInterval", 1500},        {"CollectMode", int(cmItem)},
                          {"ShowItemQualityAsText", true},  {"AllowEdit", false},
                          {"CustomTag1Caption", "Plant"},   {"CustomTag2Caption", "Unit"},
                          {"Timeout", 2.5f},                {"ShowToolbar", false}};
    for (const Case& c : cases) {
        ASSERT_TRUE(control->setProperty(c.name, c.value)) << c.name;
        EXPECT_EQ(control->property(c.name), c.value) << c.name;
    }
}

TEST_F(XOPCLifecycle, WithoutATimerTheHostIsToldAndTheControlStillConfigures)
{
    XOPC::setTimerFactory([] { return std::shared_ptr<CPacetick>(); });
    XOPC bare;

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].prompt, "Check Registration of Pacetick.dll");
    EXPECT_EQ(boxes.shown[0].style, msgbox::OKOnly);
    EXPECT_EQ(bare.Timer(), nullptr);
    EXPECT_EQ(bare.AddNewServer(DemoProgId), 0);
}

TEST_F(XOPCLifecycle, ATimerThatFailsToBeMadeCountsAsNone)
{
    XOPC::setTimerFactory([]() -> std::shared_ptr<CPacetick> { throw std::runtime_error("no"); });
    XOPC bare;

    EXPECT_EQ(boxes.prompts(), std::vector<std::string>{"Check Registration of Pacetick.dll"});
    EXPECT_EQ(bare.Timer(), nullptr);
}

TEST_F(XOPCLifecycle, ASecondControlResetsTheSharedCollectionState)
{
    control->setCollectInterval(1000);
    control->setCollectMode(cmAll);
    ASSERT_TRUE(control->StartCollectionUpdates());
    MCollector::AppendAllUpdate("a", "b", Variant(1.0), 0, 192);
    PendingMessages::Append("waiting");

    XOPC second;

    EXPECT_FALSE(MCollector::CollectionActive());
    EXPECT_EQ(MCollector::AllUpdatesCount(), 0);
    EXPECT_EQ(PendingMessages::Count(), 0u);
    EXPECT_EQ(second.CollectMode(), cmAll);
    second.setCollectMode(cmItem);
    EXPECT_EQ(control->CollectMode(), cmItem);
}

TEST_F(XOPCLifecycle, ClosingTheHostWindowTearsDownOnce)
{
    const qint16 server = addServer();
    addItem(server, addGroup(server), Ramp1);
    ASSERT_TRUE(control->StartDisplayUpdate(250));
    std::weak_ptr<CPacetick> timer = control->Timer();
    QSignalSpy info(control, &XOPC::Information);

    host->close();
    host->show();
    host->close();

    EXPECT_EQ(firstArguments(info), QStringList{"Display update terminated"});
    EXPECT_EQ(control->Collector(), nullptr);
    EXPECT_EQ(control->Timer(), nullptr);
    EXPECT_TRUE(timer.expired());
    EXPECT_EQ(demo().connectionCount(), 0);
}

TEST_F(XOPCLifecycle, AfterTearDownEveryMethodGivesItsFailureValue)
{
    const qint16 server = addServer();
    const QString group = addGroup(server);
    const QString item = addItem(server, group, "SimulatePLC.BOOL.Out1");
    control->TearDown();

    auto keys = OleArray<std::string>::oneBased({item.toStdString()});
    auto values = OleArray<Variant>::oneBased({Variant(true)});
    EXPECT_EQ(control->AddNewServer(DemoProgId), -1);
    EXPECT_EQ(control->AddNewGroup("G", 100, 0, true, true, server), "");
    EXPECT_EQ(control->AddNewItem(server, group, Ramp1, 0, true), "");
    EXPECT_FALSE(control->StartDisplayUpdate(250));
    EXPECT_FALSE(control->StartCollectionUpdates());
    EXPECT_FALSE(control->StartStateWatch());
    EXPECT_FALSE(control->WriteItem(server, group, item, Variant(true)));
    EXPECT_FALSE(control->WriteGroupSynchronous(server, group, keys, values));
    EXPECT_FALSE(control->WriteGroupAsynchronous(server, group, keys, values, 1));
    EXPECT_EQ(control->RefreshGroupAsync(1, 0), 0);
    EXPECT_FALSE(control->OpenItemPlot());
    control->DisconnectAll();
    control->StopDisplayUpdate();
    control->StopCollectionUpdates();
    control->RefreshItemList();
    control->RaiseBatchEvents();
    control->CheckServerState();
    control->ShowGroupItems();
    EXPECT_EQ(control->Collector(), nullptr);
}

TEST_F(XOPCLifecycle, DestroyingTheControlDisconnectsItsServers)
{
    addServer();
    ASSERT_EQ(demo().connectionCount(), 1);

    delete control;
    control = nullptr;

    EXPECT_EQ(demo().connectionCount(), 0);
}

TEST_F(XOPCLifecycle, MembersCarryTheirDispatchIdsAndHelpStrings)
{
    const QMetaObject* meta = control->metaObject();
    const auto info = [meta](const QString& name) {
        const int i = meta->indexOfClassInfo(name.toUtf8().constData());
        return i < 0 ? QString() : QString::fromUtf8(meta->classInfo(i).value());
    };
    EXPECT_EQ(info("DispId:AddNewServer"), "0x6003004c");
    EXPECT_EQ(info("DispId:WriteGroupAsynchronous"), "0x60030061");
    EXPECT_EQ(info("DispId:About"), "-552");
    EXPECT_EQ(info("Help:About"), "Shows the about box. ");
    EXPECT_EQ(info("DispId:Font"), "0x6803000c");
    EXPECT_EQ(info("ClassId"), "4949ed94-6724-4395-847e-e90650947bfb");

    const char* events[] = {"ServerAdded",    "ServerShutdown", "GroupAdded",   "ItemAdded",
                            "BatchItemUpdate", "BatchAllUpdates", "ItemTagsEdited", "OPCError",
                            "Information",    "GroupDataUpdate", "ItemDataUpdate"};
    int dispId = 1;
    for (const char* event : events) {
        EXPECT_EQ(info(QString("DispId:") + event), QString::number(dispId++)) << event;
        EXPECT_FALSE(info(QString("Help:") + event).isEmpty()) << event;
        bool found = false;
        for (int m = meta->methodOffset(); m < meta->methodCount(); ++m)
            found |= meta->method(m).methodType() == QMetaMethod::Signal && meta->method(m).name() == event;
        EXPECT_TRUE(found) << event;
    }
}

TEST_F(XOPCLifecycle, MethodsCanBeCalledByTheMetaObject)
{
    qint16 id = -1;
    ASSERT_TRUE(QMetaObject::invokeMethod(control, "AddNewServer", Q_RETURN_ARG(qint16, id),
                                          Q_ARG(QString, DemoProgId), Q_ARG(QString, "")));
    EXPECT_EQ(id, 0);
}

TEST_F(XOPCLifecycle, AboutOpensItsBoxThroughTheDialogRunner)
{
    control->About();

    ASSERT_EQ(dialogs.opened.size(), 1u);
    EXPECT_EQ(dialogs.opened[0].objectName, "frmAbout");
}

}  // namespace
}  // namespace tagwell::test
