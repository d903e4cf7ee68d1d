// The explorer's window: caption, size and place, menus, the resize rules and
// the toggles of the control's panes and of collection updates.
#include "ExplorerFixture.h"

#include <QGuiApplication>
#include <QInputDialog>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include "core/MCollector.h"
#include "timer/CPacetick.h"

namespace tagwell::test {
namespace {

constexpr int TwipsPerPixel = 15;

// A menu as one line: entries "caption [shortcut]" and "-" for separators.
QString menuText(QMenu* menu)
{
    QStringList entries;
    for (QAction* entry : menu->actions()) {
        if (entry->isSeparator())
            entries << "-";
        else if (entry->shortcut().isEmpty())
            entries << entry->text();
        else
            entries << entry->text() + " [" + entry->shortcut().toString() + "]";
    }
    return menu->title() + ": " + entries.join(" | ");
}

// A widget's place in its parent, in twips: "left,top widthxheight".
QString twipsGeometry(const QWidget* widget)
{
    const QRect r = widget->geometry();
    return QStringLiteral("%1,%2 %3x%4")
        .arg(r.left() * TwipsPerPixel)
        .arg(r.top() * TwipsPerPixel)
        .arg(r.width() * TwipsPerPixel)
        .arg(r.height() * TwipsPerPixel);
}

using ExplorerWindow = ExplorerFixture;

TEST_F(ExplorerWindow, OpensCentredAtItsDesignSizeWithTheControlAndTheList)
{
    EXPECT_EQ(form->windowTitle(), "Tagwell Test Client");
    EXPECT_EQ(form->width() * TwipsPerPixel, 12795);
    EXPECT_EQ(form->height() * TwipsPerPixel, 10875);
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((form->frameGeometry().center() - screenCentre).manhattanLength(), 2)
        << "window " << form->frameGeometry().x() << "," << form->frameGeometry().y() << " "
        << form->frameGeometry().width() << "x" << form->frameGeometry().height() << " screen centre "
        << screenCentre.x() << "," << screenCentre.y();

    EXPECT_EQ(form->findChild<XOPC*>("XOPC1"), &control());
    EXPECT_EQ(form->findChild<QListWidget*>("lstUpdates"), form->updates());
    EXPECT_TRUE(control().ReceiveGroupUpdateEvents());
    EXPECT_TRUE(form->UpdateLines().isEmpty());
    EXPECT_EQ(control().Collector()->Servers().count(), 0u);
    EXPECT_FALSE(displayUpdatesRun());
}

TEST_F(ExplorerWindow, TheControlAndTheListUseTheSmallSansSerifFont)
{
    const struct {
        const char* what;
        QFont font;
    } cases[] = {
        {"XOPC1", control().Font()},
        {"XOPC1 item list", control().findChild<QWidget*>("lvListView")->font()},
        {"XOPC1 log", control().findChild<QWidget*>("lstInfo")->font()},
        {"lstUpdates", form->updates()->font()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.font.family(), "MS Sans Serif");
        EXPECT_DOUBLE_EQ(c.font.pointSizeF(), 8.25);
        EXPECT_FALSE(c.font.bold());
    }
}

TEST_F(ExplorerWindow, HasTheMenusWithTheirShortcutsAndSeparators)
{
    QStringList menus;
    for (QAction* top : form->menuBar()->actions())
        menus << menuText(top->menu());

    EXPECT_EQ(menus,
              QStringList({
                  "&File: &Open... [Ctrl+O] | - | &Save... [Ctrl+S] | - | Load &Default [Ctrl+H] | - | "
                  "E&xit [Ctrl+Q]",
                  "&View: &Browse All OPC Servers | &Display Update Interval | Show &Log | "
                  "Show &Toolbar | Show &Tree",
                  "&Options: Allow &Edit | &Collection Updates | &Disconnect All | "
                  "Check Component &Registrations",
                  "&Help: &Tagwell Help For XOPC | &Network Connections | &PC Identification | "
                  "&DCOM Configuration | &About",
              }));
}

struct ResizeCase {
    const char* name;
    QSize before;  // pixels
    QSize after;   // pixels
    const char* control;  // twips
    const char* list;     // twips
};

class ExplorerResize : public ExplorerFixture, public ::testing::WithParamInterface<ResizeCase> {};

TEST_P(ExplorerResize, PlacesControlAndList)
{
    const ResizeCase& c = GetParam();
    form->resize(c.before);
    form->resize(c.after);
    ASSERT_EQ(form->size(), c.after) << "the window did not take the size";

    EXPECT_EQ(twipsGeometry(&control()), c.control);
    EXPECT_EQ(twipsGeometry(form->updates()), c.list);
}

// 900 x 750 px is 13500 x 11250 twips: control 12900 wide, 7500 high; list
// 11250 / 3 - 1200 = 2550 high. 900 x 210 px (3150 twips high, at most 3600):
// the control follows, the list keeps its 2550. 900 x 39 px (585 twips, at
// most 601): the control keeps its height too; 39 x 750 px: its width.
INSTANTIATE_TEST_SUITE_P(
    Rules, ExplorerResize,
    ::testing::Values(
        ResizeCase{"Large", {853, 725}, {900, 750}, "300,300 12900x7500", "300,7800 12900x2550"},
        ResizeCase{"LowKeepsTheListHeight", {900, 750}, {900, 210}, "300,300 12900x2100",
                   "300,2400 12900x2550"},
        ResizeCase{"VeryLowKeepsTheControlHeight", {900, 750}, {900, 39}, "300,300 12900x7500",
                   "300,7800 12900x2550"},
        ResizeCase{"VeryNarrowKeepsTheWidths", {900, 750}, {39, 750}, "300,300 12900x7500",
                   "300,7800 12900x2550"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExplorerWindow, ResizeOffersTheDefaultIntervalAgain)
{
    dialogs.script = [](QDialog& dialog) {
        dynamic_cast<QInputDialog&>(dialog).setTextValue("700");
        return int(QDialog::Accepted);
    };
    trigger("mnuDisplayInterval");
    ASSERT_EQ(form->RememberedInterval(), 700);

    form->resize(form->width() + 10, form->height());
    EXPECT_EQ(form->RememberedInterval(), 250);

    QString offered;
    dialogs.script = [&offered](QDialog& dialog) {
        offered = dynamic_cast<QInputDialog&>(dialog).textValue();
        return int(QDialog::Rejected);
    };
    trigger("mnuDisplayInterval");
    EXPECT_EQ(offered, "250");
}

struct ToggleCase {
    const char* action;
    bool (XOPC::*property)() const;
};

class ExplorerToggles : public ExplorerFixture, public ::testing::WithParamInterface<ToggleCase> {};

TEST_P(ExplorerToggles, InvertTheCheckMarkAndWriteTheProperty)
{
    const ToggleCase& c = GetParam();
    QAction* entry = action(c.action);
    ASSERT_TRUE(entry->isCheckable());
    const bool initially = (control().*c.property)();
    ASSERT_EQ(entry->isChecked(), initially) << "the check mark starts with the property";

    for (bool expected : {!initially, initially}) {
        entry->trigger();
        EXPECT_EQ(entry->isChecked(), expected);
        EXPECT_EQ((control().*c.property)(), expected);
    }
}

TEST_P(ExplorerToggles, FollowThePropertyAtTheNextResize)
{
    const ToggleCase& c = GetParam();
    QAction* entry = action(c.action);
    entry->trigger();
    entry->setChecked(!entry->isChecked());  // now out of step with the control

    form->resize(form->width() - 10, form->height());

    EXPECT_EQ(entry->isChecked(), (control().*c.property)());
}

INSTANTIATE_TEST_SUITE_P(Panes, ExplorerToggles,
                         ::testing::Values(ToggleCase{"mnuShowLog", &XOPC::ShowLog},
                                           ToggleCase{"mnuShowToolbar", &XOPC::ShowToolbar},
                                           ToggleCase{"mnuShowTree", &XOPC::ShowTree},
                                           ToggleCase{"mnuAllowEdit", &XOPC::AllowEdit}),
                         [](const auto& info) { return std::string(info.param.action); });

TEST_F(ExplorerWindow, CollectionUpdatesFollowTheirCheckMarkButNotAResize)
{
    QAction* entry = action("mnuCollectionUpdates");

    entry->trigger();
    EXPECT_TRUE(entry->isChecked());
    EXPECT_TRUE(MCollector::CollectionActive());
    EXPECT_TRUE(control().Timer()->Time2Enabled());

    form->resize(form->width() + 20, form->height());
    EXPECT_TRUE(entry->isChecked());

    entry->trigger();
    EXPECT_FALSE(entry->isChecked());
    EXPECT_FALSE(MCollector::CollectionActive());
    EXPECT_FALSE(control().Timer()->Time2Enabled());
}

}  // namespace
}  // namespace tagwell::test
