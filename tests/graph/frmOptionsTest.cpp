// The options dialog, opened from the chart and driven without a nested event
// loop: message boxes go to a recording service.

#include <QCoreApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

#include "ChartProbe.h"
#include "graph/Twips.h"
#include "graph/frmOptions.h"
#include "platform/RecordingMessageBoxService.h"

namespace tagwell::test {
namespace {

const std::string OkPrompt = "Place code here to set options and close dialog!";
const std::string ApplyPrompt = "Place code here to set options w/o closing dialog!";
const std::string ChangedPrompt = "Changed Event Received";

void clickPlottingArea(Lumaplot& chart)
{
    QTest::mouseClick(&plottingArea(chart), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
}

void deleteClosedWidgets() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

QPushButton* button(frmOptions& dialog, const char* name)
{
    return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
}

class OptionsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        chart = shownChart();
        chart->setMessageBoxService(&boxes);
    }

    void TearDown() override
    {
        delete chart->optionsDialog();
        deleteClosedWidgets();
    }

    frmOptions& openedDialog()
    {
        clickPlottingArea(*chart);
        EXPECT_NE(chart->optionsDialog(), nullptr);
        return *chart->optionsDialog();
    }

    RecordingMessageBoxService boxes;
    std::unique_ptr<Lumaplot> chart;
};

TEST_F(OptionsDialogTest, ClickOnThePlottingAreaOpensItModeless)
{
    frmOptions& dialog = openedDialog();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Options"));
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(dialog.windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(dialog.size(), QSize(twips::toPixels(6150), twips::toPixels(4920)));
    EXPECT_TRUE(boxes.shown.empty());
}

struct ButtonCase {
    const char* button;
    std::vector<std::string> prompts;
    bool staysOpen;
};

void PrintTo(const ButtonCase& c, std::ostream* out) { *out << c.button; }

class OptionsDialogButtons : public OptionsDialogTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(OptionsDialogButtons, ShowTheirMessagesInOrder)
{
    QPointer<frmOptions> dialog = &openedDialog();

    QTest::mouseClick(button(*dialog, GetParam().button), Qt::LeftButton);
    deleteClosedWidgets();

    EXPECT_EQ(boxes.prompts(), GetParam().prompts);
    for (const auto& box : boxes.shown)
        EXPECT_EQ(box.style, msgbox::OKOnly);
    EXPECT_EQ(!dialog.isNull() && dialog->isVisible(), GetParam().staysOpen);
}

INSTANTIATE_TEST_SUITE_P(, OptionsDialogButtons,
                         ::testing::Values(ButtonCase{"cmdOK", {OkPrompt, ChangedPrompt}, false},
                                           ButtonCase{"cmdApply", {ChangedPrompt, ApplyPrompt}, true},
                                           ButtonCase{"cmdCancel", {}, false}));

TEST_F(OptionsDialogTest, EscapeCancels)
{
    QPointer<frmOptions> dialog = &openedDialog();
    QTest::keyClick(button(*dialog, "cmdApply"), Qt::Key_Escape);
    deleteClosedWidgets();
    EXPECT_TRUE(dialog.isNull() || !dialog->isVisible());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(OptionsDialogTest, EveryChartSharesOneDialogAndHearsItOnce)
{
    auto second = shownChart();
    second->setMessageBoxService(&boxes);
    frmOptions& dialog = openedDialog();
    clickPlottingArea(*chart);  // a second click does not double the answer
    clickPlottingArea(*second);
    EXPECT_EQ(second->optionsDialog(), &dialog);

    QTest::mouseClick(button(dialog, "cmdApply"), Qt::LeftButton);

    EXPECT_EQ(boxes.prompts(), (std::vector<std::string>{ChangedPrompt, ChangedPrompt, ApplyPrompt}));
}

TEST_F(OptionsDialogTest, ClosedDialogIsBuiltAfreshOnTheNextClick)
{
    QPointer<frmOptions> first = &openedDialog();
    first->findChild<QTabBar*>(QStringLiteral("tbsOptions"))->setCurrentIndex(2);
    QTest::mouseClick(button(*first, "cmdCancel"), Qt::LeftButton);
    deleteClosedWidgets();
    EXPECT_TRUE(first.isNull());

    frmOptions& again = openedDialog();
    EXPECT_TRUE(again.isVisible());
    EXPECT_EQ(again.findChild<QTabBar*>(QStringLiteral("tbsOptions"))->currentIndex(), 0);
}

int selectedPage(frmOptions& dialog)
{
    int selected = -1;
    for (QWidget* page : dialog.findChildren<QWidget*>(QStringLiteral("picOptions"))) {
        const bool shown = page->x() == twips::toPixels(210);
        EXPECT_EQ(page->isEnabled(), shown);
        if (!shown)
            EXPECT_EQ(page->x(), twips::toPixels(-20000));
        else if (selected == -1)
            selected = page->property("Index").toInt();
        else
            ADD_FAILURE() << "two pages shown";
    }
    return selected;
}

TEST_F(OptionsDialogTest, TabsShowTheirPageAndCtrlTabCycles)
{
    frmOptions& dialog = openedDialog();
    auto* tabs = dialog.findChild<QTabBar*>(QStringLiteral("tbsOptions"));
    ASSERT_EQ(tabs->count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tabs->tabText(i), QStringLiteral("Group %1").arg(i + 1));
        EXPECT_EQ(tabs->tabData(i).toString(), QStringLiteral("Group%1").arg(i + 1));
        EXPECT_EQ(tabs->tabToolTip(i), QStringLiteral("Set Options for Group %1").arg(i + 1));
        EXPECT_NE(dialog.findChild<QGroupBox*>(QStringLiteral("fraSample%1").arg(i + 1)), nullptr);
    }
    EXPECT_EQ(selectedPage(dialog), 0);

    for (int expected : {1, 2, 3, 0}) {
        QTest::keyClick(button(dialog, "cmdOK"), Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(tabs->currentIndex(), expected);
        EXPECT_EQ(selectedPage(dialog), expected);
    }

    QTest::keyClick(button(dialog, "cmdOK"), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(button(dialog, "cmdOK"), Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(tabs->currentIndex(), 0) << "Ctrl+Shift+Tab does nothing";

    tabs->setCurrentIndex(2);
    EXPECT_EQ(selectedPage(dialog), 2);
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace tagwell::test
