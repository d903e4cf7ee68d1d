// The panes: where ArrangeLayout puts them, the tree's nodes and how the user
// chooses among them, the list's rows, icons and check boxes, the titles.

#include "XOPCFixture.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "controls/xopc/XOPCItemListView.h"
#include "controls/xopc/XOPCLayout.h"
#include "controls/xopc/XOPCTreeView.h"
#include "core/cOPCGroup.h"
#include "core/cOPCItem.h"
#include "core/cOPCServer.h"
#include "graph/Twips.h"

namespace tagwell::test {
namespace {

using Rect = XOPCLayout::Rect;

// ---- Layout ------------------------------------------------------------------

struct LayoutCase {
    const char* name;
    bool toolbar, tree, log;
    Rect treeRect, listRect, logRect;
};

class XOPCLayoutNumbers : public ::testing::TestWithParam<LayoutCase> {};

// At the design size, 12090 x 9000 twips.
TEST_P(XOPCLayoutNumbers, PanesAtTheDesignSize)
{
    const LayoutCase& c = GetParam();
    const XOPCLayout l = XOPCLayout::Arrange(12090, 9000, c.toolbar, c.tree, c.log);

    EXPECT_EQ(l.tree, c.treeRect);
    EXPECT_EQ(l.list, c.listRect);
    EXPECT_EQ(l.log.left, c.logRect.left);
    EXPECT_EQ(l.log.top, c.logRect.top);
    EXPECT_EQ(l.log.width, c.logRect.width);
    if (c.log) {
        EXPECT_EQ(l.log.height, c.logRect.height);
    }
    EXPECT_EQ(l.toolbar.height, c.toolbar ? 525 : 0);
    EXPECT_EQ(l.title.width, 10050);
    EXPECT_EQ(l.title.left, 1965);
}

INSTANTIATE_TEST_SUITE_P(
    TreeLogAndToolbar, XOPCLayoutNumbers,
    ::testing::Values(
        LayoutCase{"all", true, true, true, {15, 525, 3000, 6675}, {3030, 525, 9030, 6675},
                   {15, 7230, 12000, 1770}},
        LayoutCase{"noTree", true, false, true, {15, 525, 0, 6675}, {15, 525, 12045, 6675},
                   {15, 7230, 12000, 1770}},
        LayoutCase{"noLog", true, true, false, {15, 525, 3000, 8445}, {3030, 525, 9030, 8445},
                   {15, 9000, 12000, 0}},
        LayoutCase{"noTreeNoLog", true, false, false, {15, 525, 0, 8445}, {15, 525, 12045, 8445},
                   {15, 9000, 12000, 0}},
        LayoutCase{"noToolbar", false, true, true, {15, 0, 3000, 7200}, {3030, 0, 9030, 7200},
                   {15, 7230, 12000, 1770}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(XOPCLayoutColumns, ShareTheListWidthLessOneHundredTwenty)
{
    const XOPCLayout l = XOPCLayout::Arrange(12090, 9000, true, true, true);
    const std::array<double, 5> expected{3341.25, 1670.625, 835.3125, 1949.0625, 835.3125};
    EXPECT_EQ(l.columnWidths, expected);
}

using XOPCPanes = XOPCFixture;

TEST_F(XOPCPanes, WidgetsArePlacedAtTheirTwipsInPixels)
{
    const auto pixels = [](const Rect& r) {
        return QRect(twips::toPixels(r.left), twips::toPixels(r.top), twips::toPixels(r.width),
                     twips::toPixels(r.height));
    };
    const XOPCLayout& l = control->CurrentLayout();
    EXPECT_EQ(l.list, (Rect{3030, 525, 9030, 6675}));
    EXPECT_EQ(control->findChild<QWidget*>("lvListView")->geometry(), pixels(l.list));
    EXPECT_EQ(control->findChild<QWidget*>("tvTreeView")->geometry(), pixels(l.tree));
    EXPECT_EQ(control->findChild<QWidget*>("lstInfo")->geometry(), pixels(l.log));
    auto* list = control->findChild<QTreeView*>("lvListView");
    EXPECT_EQ(list->columnWidth(0), twips::toPixels(3341.25));
    EXPECT_EQ(list->columnWidth(4), twips::toPixels(835.3125));
}

TEST_F(XOPCPanes, HidingTreeAndLogGivesTheListTheRoom)
{
    control->setShowTree(false);
    control->setShowLog(false);

    EXPECT_FALSE(control->findChild<QWidget*>("tvTreeView")->isVisible());
    EXPECT_FALSE(control->findChild<QWidget*>("lstInfo")->isVisible());
    EXPECT_EQ(control->CurrentLayout().list, (Rect{15, 525, 12045, 8445}));
    EXPECT_EQ(control->findChild<QWidget*>("lvListView")->x(), 1);
}

TEST_F(XOPCPanes, HiddenToolbarTakesNoHeight)
{
    control->setShowToolbar(false);

    EXPECT_FALSE(control->findChild<QWidget*>("picTitles")->isVisible());
    EXPECT_EQ(control->CurrentLayout().list.top, 0);
}

TEST_F(XOPCPanes, TreeAndLogButtonsToggleTheirPanes)
{
    auto* cmdTree = control->findChild<QToolButton*>("cmdTree");
    auto* cmdShowLog = control->findChild<QToolButton*>("cmdShowLog");

    cmdTree->click();
    cmdShowLog->click();
    EXPECT_FALSE(control->ShowTree());
    EXPECT_FALSE(control->ShowLog());
    EXPECT_EQ(control->CurrentLayout().list.left, 15);

    cmdTree->click();
    cmdShowLog->click();
    EXPECT_TRUE(control->ShowTree());
    EXPECT_TRUE(control->ShowLog());
    EXPECT_EQ(control->CurrentLayout().list.left, 3030);
}

TEST_F(XOPCPanes, ASmallerSizeGrowsToThreeThousandByOneThousandTwips)
{
    control->resize(twips::toPixels(2000), twips::toPixels(500));

    EXPECT_EQ(control->size(), QSize(twips::toPixels(3000), twips::toPixels(1000)));
    EXPECT_EQ(control->CurrentLayout().list.width, twips::fromPixels(control->width()) - 3060);
}

TEST_F(XOPCPanes, ToolbarCarriesItsButtonsWithTipsAndTheTitle)
{
    struct Button {
        const char* name;
        const char* tip;
        bool enabled;
    };
    const Button buttons[] = {{"cmdTree", "Show/Hide Server Tree", true},
                              {"cmdShowLog", "Show/Hide Activity Log", true},
                              {"cmdDisplay", "Commence Display Updates", true},
                              {"cmdPause", "Stop Display Updates", false}};
    auto* toolbar = control->findChild<QWidget*>("picTitles");
    for (const Button& b : buttons) {
        auto* button = toolbar->findChild<QToolButton*>(b.name);
        ASSERT_NE(button, nullptr) << b.name;
        EXPECT_EQ(button->toolTip(), b.tip);
        EXPECT_EQ(button->isEnabled(), b.enabled) << b.name;
    }
    auto* title = toolbar->findChild<QLabel*>("lblTitle");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "Item List: No Group Selected");
    EXPECT_EQ(control->findChild<QWidget*>("lstInfo")->toolTip(),
              "This is the activity log. Important events are notified here");
}

TEST_F(XOPCPanes, FontGoesToTreeListLogAndTitle)
{
    QFont font("DejaVu Serif", 13);

    control->setProperty("Font", font);

    for (const char* name : {"tvTreeView", "lvListView", "lstInfo", "lblTitle"})
        EXPECT_EQ(control->findChild<QWidget*>(name)->font(), font) << name;
    EXPECT_EQ(control->Font(), font);
}

// ---- Tree ---------------------------------------------------------------------

class XOPCTree : public XOPCFixture {
protected:
    void SetUp() override
    {
        XOPCFixture::SetUp();
        server = addServer();
        groupA = addGroup(server, "A");
        addItem(server, groupA, Ramp1);
        addItem(server, groupA, BoolIn1);
        groupB = addGroup(server, "B");
        addItem(server, groupB, Ramp2);
        tree().expandAll();
    }

    XOPCTreeView& tree() { return *control->findChild<XOPCTreeView*>("tvTreeView"); }
    QTreeWidgetItem* node(const QString& key) { return tree().Node(key); }
    void click(const QString& key, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(tree().viewport(), button, {}, tree().visualItemRect(node(key)).center());
    }

    qint16 server = -1;
    QString groupA, groupB;
};

TEST_F(XOPCTree, NodesCarryKeysTextsAndImages)
{
    struct Expected {
        const char* key;
        QString text;
        const char* image;
        const char* parent;
    };
    const Expected nodes[] = {{"ServerRoot", "OPC Servers", "NetHood", ""},
                              {"Server 0", DemoProgId, "Computer", "ServerRoot"},
                              {"Group 1 0", "A", "Cardfile", "Server 0"},
                              {"Group 2 0", "B", "Cardfile", "Server 0"}};
    for (const Expected& e : nodes) {
        QTreeWidgetItem* n = node(e.key);
        ASSERT_NE(n, nullptr) << e.key;
        EXPECT_EQ(n->text(0), e.text);
        EXPECT_EQ(n->data(0, XOPCTreeView::ImageKeyRole).toString(), e.image);
        EXPECT_EQ(XOPCTreeView::KeyOf(n->parent()), e.parent);
        EXPECT_FALSE(n->icon(0).isNull()) << e.key;
    }
}

TEST_F(XOPCTree, ChoosingEachKindOfNodeSetsSelectionAndTitle)
{
    click(groupA);
    EXPECT_EQ(control->Title(), "Total Item Count = 3, Member(s) of Group 'A':");
    EXPECT_EQ(collector().SelectedOPCGroup->GetGroupKey(), "Group 1 0");
    EXPECT_EQ(list().RowCount(), 2);

    click("ServerRoot");
    EXPECT_EQ(control->Title(), "Total Item Count = 3, Item List: No Server Selected");
    EXPECT_EQ(collector().SelectedOPCServer, nullptr);
    EXPECT_EQ(list().RowCount(), 2);  // the rows stay

    click("Server 0");
    EXPECT_EQ(control->Title(), "Total Item Count = 3, Item List: No Group Selected");
    EXPECT_EQ(collector().SelectedOPCServer->GetOPCServerKey(), "Server 0");
    EXPECT_EQ(collector().SelectedOPCGroup, nullptr);
    EXPECT_EQ(list().RowCount(), 0);

    click(groupB, Qt::RightButton);
    EXPECT_EQ(control->Title(), "Total Item Count = 3, Member(s) of Group ' B':");
    EXPECT_EQ(list().RowCount(), 1);

    click(groupB);  // already selected: nothing changes
    EXPECT_EQ(control->Title(), "Total Item Count = 3, Member(s) of Group ' B':");
}

TEST_F(XOPCTree, ChoosingTheSelectedGroupAgainDoesNotRebuild)
{
    click(groupA);
    QSignalSpy resets(&list(), &QAbstractItemModel::modelReset);

    click(groupA);

    EXPECT_EQ(resets.count(), 0);
}

TEST_F(XOPCTree, ClickingEmptySpaceChangesNothing)
{
    click(groupA);
    const QString title = control->Title();

    QTest::mouseClick(tree().viewport(), Qt::LeftButton, {},
                      QPoint(5, tree().viewport()->height() - 3));

    EXPECT_EQ(control->Title(), title);
    EXPECT_EQ(collector().SelectedOPCGroup->GetGroupKey(), "Group 1 0");
}

TEST_F(XOPCTree, ArrowKeysFollowTheSelection)
{
    click(groupA);
    tree().setFocus();

    QTest::keyClick(&tree(), Qt::Key_Down);

    EXPECT_EQ(tree().SelectedKey(), groupB);
    EXPECT_EQ(collector().SelectedOPCGroup->GetGroupKey(), "Group 2 0");
    EXPECT_EQ(control->Title(), "Total Item Count = 3, Member(s) of Group 'B':");
}

TEST_F(XOPCTree, CollapsingANodeDeselectsTheGroup)
{
    click(groupA);

    node("Server 0")->setExpanded(false);

    EXPECT_EQ(collector().SelectedOPCGroup, nullptr);
    EXPECT_EQ(list().RowCount(), 0);
    EXPECT_EQ(control->Title(), "Total Item Count = 3, Item List: No Group Selected");
}

TEST_F(XOPCTree, LabelEditingIsRefusedInTreeAndList)
{
    auto& view = *control->findChild<XOPCItemListView*>("lvListView");
    click(groupA);

    tree().editItem(node(groupA));
    view.edit(list().index(0, 0));

    EXPECT_TRUE(tree().findChildren<QLineEdit*>().isEmpty());
    EXPECT_TRUE(view.findChildren<QLineEdit*>().isEmpty());
    EXPECT_FALSE(list().flags(list().index(0, 0)) & Qt::ItemIsEditable);
}

TEST_F(XOPCTree, StartUpSelectsAndExpandsTheRoot)
{
    XOPC fresh;
    auto* freshTree = fresh.findChild<XOPCTreeView*>("tvTreeView");

    EXPECT_EQ(freshTree->SelectedKey(), "ServerRoot");
    EXPECT_TRUE(freshTree->topLevelItem(0)->isExpanded());
    EXPECT_TRUE(fresh.LogLines().isEmpty());
}

// ---- List -----------------------------------------------------------------------

using XOPCList = XOPCTree;

TEST_F(XOPCList, ModelPassesTheItemModelTesterThroughFillsUpdatesAndClears)
{
    QAbstractItemModelTester tester(&list(), QAbstractItemModelTester::FailureReportingMode::Warning);
    click(groupA);
    control->setReceiveItemUpdateEvents(true);
    addItem(server, groupA, Ramp3);
    advance(100);
    ASSERT_TRUE(control->StartDisplayUpdate(250));
    tick(250);
    click("Server 0");
    EXPECT_EQ(list().RowCount(), 0);
}

TEST_F(XOPCList, HeadersAndRowsOfAGroup)
{
    click(groupA);

    QStringList headers;
    for (int c = 0; c < list().columnCount(); ++c)
        headers << list().headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({"ItemID", "Value", "Quality", "Date/Time", "Active"}));
    EXPECT_EQ(list().data(list().index(0, 0), XOPCItemListModel::RowKeyRole).toString(), "Item 1");
    EXPECT_EQ(list().data(list().index(1, 0), XOPCItemListModel::RowKeyRole).toString(), "Item 2");
    EXPECT_EQ(list().data(list().index(0, 0), XOPCItemListModel::IconKeyRole).toString(), "Sine");
    EXPECT_EQ(list().data(list().index(1, 0), XOPCItemListModel::IconKeyRole).toString(), "Boolean");
    EXPECT_EQ(list().Cell(0, 0), QString("    ") + Ramp1);
}

TEST_F(XOPCList, ARowAddedForANewItemStartsUnknown)
{
    click(groupA);
    QStringList inserted;
    QObject::connect(&list(), &QAbstractItemModel::rowsInserted, control, [&](const QModelIndex&, int first) {
        inserted << rowText(first) + " | " +
                        list().data(list().index(first, 0), XOPCItemListModel::IconKeyRole).toString();
    });

    addItem(server, groupA, Ramp3);

    EXPECT_EQ(inserted, QStringList{QString("    ") + Ramp3 + " |  | Bad | Unknown | Unknown | Other"});
}

TEST_F(XOPCList, CheckBoxesStartClearAndLogTheirItem)
{
    click(groupA);
    const auto first = *collector().SelectedOPCGroup->GetOPCGroupItemsCollection().find(" 1");
    first->SetItemLogged(true);
    click("Server 0");
    click(groupA);
    EXPECT_EQ(list().data(list().index(0, 0), Qt::CheckStateRole).toInt(), Qt::Unchecked);

    const auto second = *collector().SelectedOPCGroup->GetOPCGroupItemsCollection().find(" 2");
    ASSERT_TRUE(list().setData(list().index(1, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(second->GetItemLogged());
    EXPECT_EQ(collector().SelectedOPCItem, second);

    ASSERT_TRUE(list().setData(list().index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_FALSE(second->GetItemLogged());
}

TEST_F(XOPCList, HeaderClickOnlyChoosesTheSortKey)
{
    click(groupA);
    auto& view = *control->findChild<XOPCItemListView*>("lvListView");
    const QString firstRow = rowText(0);
    QHeaderView* header = view.header();

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));

    EXPECT_EQ(list().SortKey(), 2);
    EXPECT_EQ(rowText(0), firstRow);
}

TEST_F(XOPCList, EveryLogLineBecomesTheSelectedLine)
{
    auto* log = control->findChild<QListWidget*>("lstInfo");

    EXPECT_EQ(log->currentRow(), log->count() - 1);
    EXPECT_EQ(log->currentItem()->text(), QString("Item ") + Ramp2 + " added");
}

}  // namespace
}  // namespace tagwell::test
