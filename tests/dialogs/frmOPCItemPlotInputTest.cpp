// What the user does with the plot dialog: typing into the range boxes,
// Apply, and the ways of closing it.

#include <QSignalSpy>
#include <QTest>

#include "PlotFixture.h"

namespace tagwell::test {
namespace {

// One key typed into a range box holding `before`.
struct KeyCase {
    const char* name;
    const char* before;
    Qt::Key key;
    char character;  // 0 for keys that are not characters
    const char* after;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class RangeBoxKeys : public PlotFixture, public ::testing::WithParamInterface<KeyCase> {};

void typeInto(QLineEdit& box, const KeyCase& c)
{
    if (c.character)
        QTest::keyClick(&box, c.character);
    else
        QTest::keyClick(&box, c.key);
}

TEST_P(RangeBoxKeys, AcceptOnlyWhatStillReadsAsANumberAndEveryKeyEnablesApply)
{
    const KeyCase& c = GetParam();
    for (const char* name : {"txtMax", "txtMin"}) {
        SCOPED_TRACE(name);
        auto dialog = plotFor(CountsItemId);
        dialog->show();
        QLineEdit& target = box(*dialog, name);
        target.setText(c.before);
        ASSERT_FALSE(button(*dialog, "cmdApply").isEnabled());

        typeInto(target, c);

        EXPECT_EQ(target.text(), c.after);
        EXPECT_TRUE(button(*dialog, "cmdApply").isEnabled());
        EXPECT_FALSE(dialog->isUnloaded());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Typing, RangeBoxKeys,
    ::testing::Values(
        KeyCase{"LetterRefused", "100", Qt::Key_A, 'a', "100"},
        KeyCase{"BlankRefused", "100", Qt::Key_Space, ' ', "100"},
        KeyCase{"EnterRefused", "100", Qt::Key_Return, 0, "100"},
        KeyCase{"DigitIntoEmptyBox", "", Qt::Key_5, '5', "5"},
        KeyCase{"DigitAfterNumber", "12", Qt::Key_7, '7', "127"},
        KeyCase{"DigitAfterMinus", "-", Qt::Key_3, '3', "-3"},
        KeyCase{"DigitAfterWordRefused", "Max", Qt::Key_5, '5', "Max"},
        KeyCase{"DigitAfterTrailingMinusRefused", "5-", Qt::Key_1, '1', "5-"},
        KeyCase{"PointAfterNumber", "5", Qt::Key_Period, '.', "5."},
        KeyCase{"SecondPointRefused", "5.", Qt::Key_Period, '.', "5."},
        KeyCase{"PointAloneRefused", "", Qt::Key_Period, '.', ""},
        KeyCase{"MinusIntoEmptyBox", "", Qt::Key_Minus, '-', "-"},
        KeyCase{"MinusAfterNumberAlwaysTaken", "5", Qt::Key_Minus, '-', "5-"},
        KeyCase{"Backspace", "12", Qt::Key_Backspace, 0, "1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlotFixture, FocusAndForwardDeleteKeysAreNoKeyPresses)
{
    auto dialog = plotFor(CountsItemId);
    dialog->show();
    QLineEdit& max = box(*dialog, "txtMax");
    max.setCursorPosition(0);
    QTest::keyClick(&max, Qt::Key_Delete);
    QTest::keyClick(&max, Qt::Key_End);
    EXPECT_EQ(max.text(), "00");
    EXPECT_FALSE(button(*dialog, "cmdApply").isEnabled());
}

// Apply with these box texts on a chart showing the Counts tag's 0 .. 500.
struct ApplyCase {
    const char* name;
    const char* maxText;
    const char* minText;
    float max;
    float min;
};

void PrintTo(const ApplyCase& c, std::ostream* os) { *os << c.name; }

class ApplyRange : public PlotFixture, public ::testing::WithParamInterface<ApplyCase> {};

TEST_P(ApplyRange, SetsMaxThenMinOfTheChart)
{
    const ApplyCase& c = GetParam();
    auto dialog = plotFor(CountsItemId);
    ASSERT_EQ(dialog->Lumaplot1()->Max(), float(CountsHigh));
    ASSERT_EQ(dialog->Lumaplot1()->Min(), float(CountsLow));
    QPushButton& apply = button(*dialog, "cmdApply");
    apply.setEnabled(true);
    box(*dialog, "txtMax").setText(c.maxText);
    box(*dialog, "txtMin").setText(c.minText);

    QTest::mouseClick(&apply, Qt::LeftButton);

    EXPECT_EQ(dialog->Lumaplot1()->Max(), c.max);
    EXPECT_EQ(dialog->Lumaplot1()->Min(), c.min);
    EXPECT_EQ(dialog->Lumaplot1()->lastError(), Lumaplot::NoError);
    EXPECT_TRUE(apply.isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, ApplyRange,
    ::testing::Values(
        ApplyCase{"NewRange", "200", "50", 200, 50},
        ApplyCase{"FractionsAndSigns", "2.5", "-1.25", 2.5f, -1.25f},
        ApplyCase{"EqualValuesChangeNothing", "50", "50", 500, 0},
        ApplyCase{"MaxBelowMinGivesAnInvertedRange", "-10", "20", -10, 20},
        ApplyCase{"NewMaxEqualToOldMinStillTakesTheNewMin", "0", "-10", 0, -10},
        ApplyCase{"MaxThatIsNoNumberKeepsItsSide", "abc", "20", 500, 20},
        ApplyCase{"EmptyMinKeepsItsSide", "200", "", 200, 0},
        ApplyCase{"LoneMinusKeepsItsSide", "-", "-", 500, 0},
        ApplyCase{"MaxBeyondFloatsKeepsItsSide", "1e39", "5", 500, 5},
        ApplyCase{"KeptSideEqualToTheOtherChangesNothing", "x", "500", 500, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// Ways the user closes the dialog.
struct CloseCase {
    const char* name;
    void (*close)(frmOPCItemPlot&);
};

void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.name; }

class ClosingThePlot : public PlotFixture, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingThePlot, UnloadsOnceAndReleasesServerAndItem)
{
    std::shared_ptr<cOPCItem> item = addItem(CountsItemId);
    frmOPCItemPlot dialog;
    ASSERT_TRUE(dialog.Setup(server, item));
    const long serverHolders = server.use_count();
    const long itemHolders = item.use_count();
    dialog.show();
    QSignalSpy closed(&dialog, &frmOPCItemPlot::Closed);

    GetParam().close(dialog);

    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.isUnloaded());
    EXPECT_EQ(server.use_count(), serverHolders - 1);
    EXPECT_EQ(item.use_count(), itemHolders - 1);

    // Closing again, any way, raises nothing more.
    dialog.show();
    QTest::mouseClick(dialog.findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
    dialog.close();
    EXPECT_EQ(closed.count(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ClosingThePlot,
    ::testing::Values(
        CloseCase{"CloseButton",
                  [](frmOPCItemPlot& d) {
                      QTest::mouseClick(d.findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
                  }},
        CloseCase{"EscapeInTheMaximumBox",
                  [](frmOPCItemPlot& d) {
                      QTest::keyClick(d.findChild<QLineEdit*>("txtMax", Qt::FindDirectChildrenOnly),
                                      Qt::Key_Escape);
                  }},
        CloseCase{"EscapeInTheMinimumBox",
                  [](frmOPCItemPlot& d) {
                      QTest::keyClick(d.findChild<QLineEdit*>("txtMin", Qt::FindDirectChildrenOnly),
                                      Qt::Key_Escape);
                  }},
        CloseCase{"EscapeOnAButton",
                  [](frmOPCItemPlot& d) {
                      QTest::keyClick(d.findChild<QPushButton*>("cmdClose"), Qt::Key_Escape);
                  }},
        CloseCase{"WindowCloseButton", [](frmOPCItemPlot& d) { d.close(); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tagwell::test
