// The timed activities: display updates of the list (Time1), collection
// events (Time2) and the state watch (Time3), driven tick by tick with the
// timer's own clock; the toolbar buttons that start and stop display updates.

#include "XOPCFixture.h"

#include <QScrollBar>
#include <QToolButton>
#include <QTreeWidget>

#include "controls/xopc/XOPCItemListView.h"
#include "core/MCollector.h"
#include "core/PendingMessages.h"
#include "core/cOPCGroup.h"
#include "core/cOPCItem.h"
#include "core/cOPCServer.h"
#include "platform/ComError.h"
#include "platform/OleDate.h"

namespace tagwell::test {
namespace {

using XOPCTimer = XOPCFixture;

TEST_F(XOPCTimer, StartUpLeavesTheTimerStoppedWithOnlyTheEveryTickChannel)
{
    const auto timer = control->Timer();
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->Enabled());
    EXPECT_TRUE(timer->Time1msEnabled());
    EXPECT_FALSE(timer->Time1Enabled());
    EXPECT_FALSE(timer->Time2Enabled());
    EXPECT_FALSE(timer->Time3Enabled());
    EXPECT_EQ(collector().DisplayInterval, 250);
}

TEST_F(XOPCTimer, DisplayIntervalIsKeptWithinTenToTenThousandMilliseconds)
{
    struct Case {
        qint32 asked;
        int16_t kept;
    };
    const Case cases[] = {{5, 10}, {9, 10}, {10, 10}, {250, 250}, {10000, 10000},
                          {10001, 10000}, {40000, 10000}, {-3, 10}};
    for (const Case& c : cases) {
        ASSERT_TRUE(control->StartDisplayUpdate(c.asked)) << c.asked;
        EXPECT_EQ(collector().DisplayInterval, c.kept) << c.asked;
        EXPECT_FLOAT_EQ(control->Timer()->Time1Interval(), c.kept / 1000.0f) << c.asked;
    }
}

TEST_F(XOPCTimer, StartingFromStoppedEnablesWithFiveMillisecondTicksAndTwoMillisecondResolution)
{
    QSignalSpy info(control, &XOPC::Information);

    ASSERT_TRUE(control->StartDisplayUpdate(100));

    const auto timer = control->Timer();
    EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 5);
    EXPECT_EQ(timer->Resolution(), 2);
    EXPECT_TRUE(timer->Time1Enabled());
    EXPECT_EQ(firstArguments(info), QStringList{"Display update commenced"});
    EXPECT_EQ(control->LogLines().last(), "Display update commenced...");
    EXPECT_FALSE(control->findChild<QToolButton*>("cmdDisplay")->isEnabled());
    EXPECT_TRUE(control->findChild<QToolButton*>("cmdPause")->isEnabled());
}

TEST_F(XOPCTimer, StopLeavesTheTimerRunningAndSwapsTheButtons)
{
    ASSERT_TRUE(control->StartDisplayUpdate(100));
    QSignalSpy info(control, &XOPC::Information);

    control->StopDisplayUpdate();

    EXPECT_TRUE(control->Timer()->Enabled());
    EXPECT_FALSE(control->Timer()->Time1Enabled());
    EXPECT_EQ(firstArguments(info), QStringList{"Display update terminated"});
    EXPECT_EQ(control->LogLines().last(), "Display update terminated...");
    EXPECT_TRUE(control->findChild<QToolButton*>("cmdDisplay")->isEnabled());
    EXPECT_FALSE(control->findChild<QToolButton*>("cmdPause")->isEnabled());
}

TEST_F(XOPCTimer, ToolbarStartUsesTheStoredIntervalAndPauseStops)
{
    auto* display = control->findChild<QToolButton*>("cmdDisplay");
    auto* pause = control->findChild<QToolButton*>("cmdPause");

    display->click();
    EXPECT_TRUE(control->Timer()->Time1Enabled());
    EXPECT_FLOAT_EQ(control->Timer()->Time1Interval(), 0.25f);
    EXPECT_FALSE(display->isEnabled());

    pause->click();
    EXPECT_FALSE(control->Timer()->Time1Enabled());
    EXPECT_TRUE(display->isEnabled());
    EXPECT_FALSE(pause->isEnabled());
}

TEST_F(XOPCTimer, StartingDisplayWhileCollectingKeepsTheCollectionSchedule)
{
    control->setCollectMode(cmAll);
    control->setCollectInterval(1000);
    ASSERT_TRUE(control->StartCollectionUpdates());
    QSignalSpy batches(control, &XOPC::BatchAllUpdates);
    MCollector::AppendAllUpdate("a", "b", Variant(1.0), 0, 192);

    tick(600);
    ASSERT_TRUE(control->StartDisplayUpdate(250));
    tick(400);

    EXPECT_EQ(batches.count(), 1);
}

TEST_F(XOPCTimer, ChannelsRaisedAsSignalsRunTheSameHandlers)
{
    control->setCollectMode(cmAll);
    control->setCollectInterval(100);
    ASSERT_TRUE(control->StartCollectionUpdates());
    control->Timer()->CancelNotify();
    QSignalSpy batches(control, &XOPC::BatchAllUpdates);
    MCollector::AppendAllUpdate("a", "b", Variant(1.0), 0, 192);

    tick(100);

    EXPECT_EQ(batches.count(), 1);
}

TEST_F(XOPCTimer, WithoutATimerNothingStartsAndNothingIsAnnounced)
{
    XOPC::setTimerFactory([] { return std::shared_ptr<CPacetick>(); });
    XOPC bare;
    QSignalSpy info(&bare, &XOPC::Information);

    EXPECT_FALSE(bare.StartDisplayUpdate(100));
    EXPECT_FALSE(bare.StartCollectionUpdates());
    EXPECT_FALSE(bare.StartStateWatch());

    EXPECT_EQ(info.count(), 0);
    EXPECT_FALSE(MCollector::CollectionActive());
}

class XOPCDisplayUpdate : public XOPCFixture {
protected:
    void SetUp() override
    {
        XOPCFixture::SetUp();
        server = addServer();
        group = addGroup(server);
    }

    // Adds items straight to the shown group and fills the list once.
    void addBulk(int count)
    {
        demo().addGeneratedTags("Bulk", count, SimSignal::Ramp);
        const auto& g = collector().SelectedOPCGroup;
        for (int n = 1; n <= count; ++n) {
            std::string key;
            ASSERT_TRUE(g->AddOPCItem("Bulk.Tag" + std::to_string(n), 0, true, true, false, key));
        }
        control->ShowGroupItems();
    }

    XOPCItemListView& view() { return *control->findChild<XOPCItemListView*>("lvListView"); }

    qint16 server = -1;
    QString group;
};

TEST_F(XOPCDisplayUpdate, RowsShowTheStoredUpdateAfterATick)
{
    addItem(server, group, StaticDouble);
    addItem(server, group, "Static.Boolean");
    advance(100);
    ASSERT_TRUE(control->StartDisplayUpdate(250));

    tick(250);

    const auto& items = collector().SelectedOPCGroup->GetOPCGroupItemsCollection();
    const double stamp = items.begin()->value->GetItemTimeStamp(cOPCItem::ReadStored);
    EXPECT_EQ(rowText(0), "    Static.Double | 2.25 |  192 | " +
                              QString::fromStdString(OleDate::toText(stamp)) + " | True");
    EXPECT_TRUE(rowText(1).startsWith("    Static.Boolean | True |  192 | ")) << rowText(1).toStdString();
}

TEST_F(XOPCDisplayUpdate, QualityIsTextOrSignedNumberByTheProperty)
{
    struct Case {
        int32_t quality;
        bool asText;
        const char* filled;     // as the list is filled
        const char* refreshed;  // after a display update
    };
    const Case cases[] = {
        {0, false, "Bad  0", " 0"},
        {0, true, "Bad  0", "Bad, Non Specific"},
        {64, false, "Good", " 64"},
        {64, true, "Good", "Uncertain"},
        {192, true, "Good", "Good"},
    };
    addItem(server, group, StaticDouble);
    ASSERT_TRUE(control->StartDisplayUpdate(250));
    for (const Case& c : cases) {
        demo().setTagQuality(StaticDouble, c.quality);
        control->RefreshGroupAsync(2, 0);
        advance(10);
        control->setShowItemQualityAsText(c.asText);
        control->ShowGroupItems();
        EXPECT_EQ(list().Cell(0, XOPCItemListModel::QualityColumn), c.filled) << c.quality;
        tick(250);
        EXPECT_EQ(list().Cell(0, XOPCItemListModel::QualityColumn), c.refreshed)
            << c.quality << " as text " << c.asText;
    }
}

TEST_F(XOPCDisplayUpdate, ArraysShowSignedElementsWhenFilledAndPlainOnesAfterAnUpdate)
{
    addItem(server, group, StaticByteArray);
    advance(100);
    control->ShowGroupItems();
    EXPECT_EQ(list().Cell(0, XOPCItemListModel::ValueColumn), " 1,  2,  3, ");

    ASSERT_TRUE(control->StartDisplayUpdate(250));
    tick(250);

    EXPECT_EQ(list().Cell(0, XOPCItemListModel::ValueColumn), "1, 2, 3, ");
}

TEST_F(XOPCDisplayUpdate, ArraysWithAZeroLowerBoundShowEveryElement)
{
    addItem(server, group, "Static.Arrays.ShortArray");
    const auto& item = collector().SelectedOPCItem;
    item->UpdateOPCItemData(Variant::array(vtI2, {int16_t(-4), int16_t(5)}, 0), 192, 0);
    control->ShowGroupItems();
    EXPECT_EQ(list().Cell(0, XOPCItemListModel::ValueColumn), "-4,  5, ");

    ASSERT_TRUE(control->StartDisplayUpdate(250));
    tick(250);
    EXPECT_EQ(list().Cell(0, XOPCItemListModel::ValueColumn), "-4, 5, ");
}

TEST_F(XOPCDisplayUpdate, OnlyTheRowsOnScreenAreRefreshedAndOnlyChangedCellsWritten)
{
    addBulk(400);  // filled before any data came: every quality reads "Bad  0"
    advance(100);
    const int page = view().countPerPage();
    ASSERT_GT(page, 5);
    ASSERT_LT(page + 2, 400);
    ASSERT_TRUE(control->StartDisplayUpdate(250));
    QSignalSpy changes(&list(), &QAbstractItemModel::dataChanged);

    tick(250);

    for (int row = 0; row <= page; ++row)
        EXPECT_EQ(list().Cell(row, XOPCItemListModel::QualityColumn), " 192") << row;
    EXPECT_EQ(list().Cell(page + 1, XOPCItemListModel::QualityColumn), "Bad  0");
    EXPECT_EQ(list().Cell(399, XOPCItemListModel::QualityColumn), "Bad  0");

    changes.clear();
    tick(250);  // no data change in between: nothing to write
    EXPECT_EQ(changes.count(), 0);

    advance(100);
    tick(250);  // the ramps moved: value and date cells of the page only
    EXPECT_GE(changes.count(), page + 1);
    EXPECT_LE(changes.count(), 2 * (page + 1));
    for (const QList<QVariant>& change : changes)
        EXPECT_LE(change[0].toModelIndex().row(), page);
}

TEST_F(XOPCDisplayUpdate, ScrollingMakesTheTopRowTheSelectedRowAtTheNextUpdate)
{
    addBulk(400);
    ASSERT_TRUE(control->StartDisplayUpdate(250));
    tick(250);
    EXPECT_FALSE(view().currentIndex().isValid());

    view().verticalScrollBar()->setValue(50);
    const int top = view().indexAt(QPoint(0, 0)).row();
    tick(250);

    EXPECT_GT(top, 0);
    EXPECT_EQ(view().currentIndex().row(), top);
    EXPECT_EQ(list().Cell(top, XOPCItemListModel::QualityColumn), " 0");
}

TEST_F(XOPCDisplayUpdate, NothingIsRefreshedWhileTheTreeShowsNoGroup)
{
    addItem(server, group, StaticDouble);
    advance(100);
    control->ShowGroupItems();
    const QString filled = rowText(0);
    auto* tree = control->findChild<QTreeWidget*>("tvTreeView");
    tree->setCurrentItem(tree->topLevelItem(0));
    ASSERT_TRUE(control->StartDisplayUpdate(250));

    tick(250);

    EXPECT_EQ(rowText(0), filled);
}

class XOPCCollection : public XOPCFixture {
protected:
    void SetUp() override
    {
        XOPCFixture::SetUp();
        server = addServer();
        group = addGroup(server);
        addItem(server, group, Ramp1);
        addItem(server, group, Ramp2);
        addItem(server, group, Ramp3);
        control->setCollectInterval(1000);
    }

    std::shared_ptr<cOPCItem> item(int handle)
    {
        return *collector().SelectedOPCGroup->GetOPCGroupItemsCollection().find(" " + std::to_string(handle));
    }

    qint16 server = -1;
    QString group;
};

TEST_F(XOPCCollection, CollectIntervalIsKeptWithinTenToOneHourWhenCollectionStarts)
{
    struct Case {
        qint32 asked;
        qint32 kept;
    };
    const Case cases[] = {{0, 10}, {9, 10}, {10, 10}, {5000, 5000}, {3600000, 3600000},
                          {3600001, 3600000}};
    for (const Case& c : cases) {
        control->setCollectInterval(c.asked);
        ASSERT_TRUE(control->StartCollectionUpdates());
        EXPECT_EQ(control->CollectInterval(), c.kept) << c.asked;
        EXPECT_FLOAT_EQ(control->Timer()->Time2Interval(), c.kept / 1000.0f) << c.asked;
    }
}

TEST_F(XOPCCollection, StartAndStopAnnounceAndSwitchTheSharedState)
{
    QSignalSpy info(control, &XOPC::Information);

    ASSERT_TRUE(control->StartCollectionUpdates());
    EXPECT_TRUE(MCollector::CollectionActive());
    MCollector::AppendAllUpdate("a", "b", Variant(1.0), 0, 192);
    control->StopCollectionUpdates();

    EXPECT_FALSE(MCollector::CollectionActive());
    EXPECT_FALSE(control->Timer()->Time2Enabled());
    EXPECT_EQ(MCollector::AllUpdatesCount(), 0);
    EXPECT_EQ(firstArguments(info),
              QStringList({"Collection updates commenced", "Collection updates terminated"}));
    const QStringList log = control->LogLines();
    EXPECT_EQ(log.mid(log.size() - 2),
              QStringList({"Collection updates commenced...", "Collection updates terminated..."}));
}

TEST_F(XOPCCollection, PerItemBatchesComeForLoggedItemsWithUpdatesOnly)
{
    control->setCollectMode(cmItem);
    item(1)->SetItemLogged(true);
    item(3)->SetItemLogged(true);
    ASSERT_TRUE(control->StartCollectionUpdates());
    QSignalSpy batches(control, &XOPC::BatchItemUpdate);

    advance(300);  // three data changes
    tick(1000);

    ASSERT_EQ(batches.count(), 2);
    EXPECT_EQ(batches[0][0].toString(), Ramp1);
    EXPECT_EQ(batches[1][0].toString(), Ramp3);
    EXPECT_EQ(batches[0][1].toInt(), 3);
    const auto values = batches[0][2].value<OleArray<Variant>>();
    const auto stamps = batches[0][3].value<OleArray<double>>();
    const auto qualities = batches[0][4].value<OleArray<qint32>>();
    EXPECT_EQ(values.lbound(), 1);
    EXPECT_EQ(values.ubound(), 3);
    EXPECT_EQ(stamps.size(), 3u);
    EXPECT_EQ(qualities.elements(), (std::vector<qint32>{192, 192, 192}));
    EXPECT_EQ(values[3], item(1)->GetItemValue(cOPCItem::ReadStored));

    batches.clear();
    tick(1000);  // nothing new
    EXPECT_EQ(batches.count(), 0);
}

TEST_F(XOPCCollection, ItemBuffersSurviveAStopAndAreRaisedAfterTheNextStart)
{
    control->setCollectMode(cmItem);
    item(2)->SetItemLogged(true);
    ASSERT_TRUE(control->StartCollectionUpdates());
    advance(200);
    control->StopCollectionUpdates();
    QSignalSpy batches(control, &XOPC::BatchItemUpdate);

    ASSERT_TRUE(control->StartCollectionUpdates());
    tick(1000);

    ASSERT_EQ(batches.count(), 1);
    EXPECT_EQ(batches[0][1].toInt(), 2);
}

TEST_F(XOPCCollection, AllItemBatchRunsFromZeroWithAnEmptyFirstEntry)
{
    control->setCollectMode(cmAll);
    item(1)->SetItemLogged(true);
    item(2)->SetItemLogged(true);
    item(1)->SetItemAlias("R1");
    ASSERT_TRUE(control->StartCollectionUpdates());
    QSignalSpy batches(control, &XOPC::BatchAllUpdates);

    advance(100);
    tick(1000);

    ASSERT_EQ(batches.count(), 1);
    EXPECT_EQ(batches[0][0].toInt(), 2);
    const auto aliases = batches[0][1].value<OleArray<std::string>>();
    const auto ids = batches[0][2].value<OleArray<std::string>>();
    EXPECT_EQ(ids.lbound(), 0);
    EXPECT_EQ(ids.elements(), (std::vector<std::string>{"", Ramp1, Ramp2}));
    EXPECT_EQ(aliases[1], "R1");
    EXPECT_TRUE(batches[0][3].value<OleArray<Variant>>()[0].isEmpty());
    EXPECT_EQ(MCollector::AllUpdatesCount(), 0);

    tick(1000);
    EXPECT_EQ(batches.count(), 1);
}

TEST_F(XOPCCollection, NoModeRaisesNothing)
{
    control->setCollectMode(cmNone);
    item(1)->SetItemLogged(true);
    ASSERT_TRUE(control->StartCollectionUpdates());
    QSignalSpy items(control, &XOPC::BatchItemUpdate);
    QSignalSpy all(control, &XOPC::BatchAllUpdates);

    advance(300);
    tick(1000);

    EXPECT_EQ(items.count() + all.count(), 0);
}

class XOPCStateWatch : public XOPCFixture {
protected:
    void SetUp() override
    {
        XOPCFixture::SetUp();
        addServer();
        ASSERT_TRUE(control->StartStateWatch());
    }
    static constexpr int Period = 5000;
};

TEST_F(XOPCStateWatch, RunsEveryFiveSeconds)
{
    EXPECT_TRUE(control->Timer()->Enabled());
    EXPECT_TRUE(control->Timer()->Time3Enabled());
    EXPECT_FLOAT_EQ(control->Timer()->Time3Interval(), 5.0f);
}

TEST_F(XOPCStateWatch, AStateIsReportedOnceAtTheFirstCheckThatSeesIt)
{
    struct Case {
        int32_t state;
        const char* text;  // nullptr: nothing is said
    };
    const Case cases[] = {
        {1, nullptr},
        {2, "OPC SERVER FAILED - CHECK WITH OPC SERVER VENDOR"},
        {3, "OPC SERVER RUNNING, NO CONFIG INFO"},
        {4, "OPC SERVER SUSPENDED, OUT OF SERVICE"},
        {5, "OPC SERVER IN TEST MODE, OUTPUTS DISABLED"},
        {6, "OPC SERVER DISCONNECTED"},
        {1, nullptr},
    };
    for (const Case& c : cases) {
        demo().setServerState(c.state);
        QSignalSpy errors(control, &XOPC::OPCError);
        tick(Period);
        tick(Period);
        const QStringList expected = c.text ? QStringList{c.text} : QStringList{};
        EXPECT_EQ(firstArguments(errors), expected) << c.state;
    }
}

TEST_F(XOPCStateWatch, AnUnreadableStateIsReported)
{
    demo().faults().fail("ServerState", errors::E_FAIL_);
    QSignalSpy errors(control, &XOPC::OPCError);

    tick(Period);

    EXPECT_TRUE(firstArguments(errors).contains("Failed to obtain OPC Server State"));
}

TEST_F(XOPCStateWatch, WaitingReportLinesMoveIntoTheLogInOrderOnce)
{
    PendingMessages::Append("first");
    PendingMessages::Append("second");
    PendingMessages::Append("third");

    tick(Period);
    tick(Period);

    const QStringList log = control->LogLines();
    EXPECT_EQ(log.mid(log.size() - 3), QStringList({"first", "second", "third"}));
    EXPECT_EQ(log.count("first"), 1);
    EXPECT_EQ(PendingMessages::Count(), 0u);
}

TEST_F(XOPCStateWatch, WithTheLogHiddenWaitingLinesAreDropped)
{
    control->setShowLog(false);
    PendingMessages::Append("unseen");

    tick(Period);
    control->setShowLog(true);
    tick(Period);

    EXPECT_FALSE(control->LogLines().contains("unseen"));
    EXPECT_EQ(PendingMessages::Count(), 0u);
}

TEST_F(XOPCStateWatch, WithoutASelectedServerLinesWait)
{
    control->DisconnectAll();
    ASSERT_TRUE(control->StartStateWatch());
    PendingMessages::Append("waiting");

    tick(Period);

    EXPECT_FALSE(control->LogLines().contains("waiting"));
    EXPECT_EQ(PendingMessages::Count(), 1u);
}

}  // namespace
}  // namespace tagwell::test
