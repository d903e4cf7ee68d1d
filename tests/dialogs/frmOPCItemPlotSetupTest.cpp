// Layout of the plot dialog and the range it chooses for an item.

#include <QLabel>
#include <QSignalSpy>

#include "PlotFixture.h"
#include "graph/Twips.h"
#include "platform/ValueText.h"

namespace tagwell::test {
namespace {

QSize pixelsOf(int widthTwips, int heightTwips)
{
    return {twips::toPixels(widthTwips), twips::toPixels(heightTwips)};
}

QString text(const std::string& s) { return QString::fromStdString(s); }

TEST(frmOPCItemPlotLayout, IsAFixedToolWindowOfTheDesignedSizeWithTheChartAcrossTheTop)
{
    frmOPCItemPlot dialog;
    EXPECT_EQ(dialog.windowTitle(), "Real Time Plot");
    EXPECT_EQ(dialog.size(), pixelsOf(8550, 3975));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);

    Lumaplot* chart = dialog.Lumaplot1();
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->objectName(), "Lumaplot1");
    EXPECT_EQ(chart->size(), pixelsOf(8295, 2775));
    EXPECT_EQ(chart->ScaleHeight(), 183);
    EXPECT_EQ(chart->ScaleWidth(), 551);
    EXPECT_TRUE(chart->ShowValueInToolTip());
    for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != chart) {
            EXPECT_GE(child->y(), chart->geometry().bottom()) << child->objectName().toStdString();
        }
        EXPECT_TRUE(dialog.rect().contains(child->geometry())) << child->objectName().toStdString();
    }
}

TEST(frmOPCItemPlotLayout, ShowsItsTextsAndToolTips)
{
    struct Expected {
        const char* name;
        const char* text;
        const char* toolTip;
    };
    const Expected controls[] = {
        {"lblMax", "Set New Maximum For Plot:", ""},
        {"txtMax", "Max", " Enter the desired maximum range of the plot "},
        {"lblMin", "Set New Minimum For Plot:", ""},
        {"txtMin", "Min", " Enter the desired minimum range for the plot "},
        {"cmdApply", "Apply", " Apply changes "},
        {"cmdClose", "Close", " Close Dialogue "},
    };
    frmOPCItemPlot dialog;
    for (const Expected& expected : controls) {
        SCOPED_TRACE(expected.name);
        QWidget* control = dialog.findChild<QWidget*>(expected.name, Qt::FindDirectChildrenOnly);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->property("text").toString(), expected.text);
        EXPECT_EQ(control->toolTip(), expected.toolTip);
    }
    EXPECT_FALSE(dialog.findChild<QWidget*>("cmdApply")->isEnabled());
    EXPECT_TRUE(dialog.findChild<QWidget*>("cmdClose")->isEnabled());
}

using PlotSetup = PlotFixture;

TEST_F(PlotSetup, AnItemWithLimitsAtTheServerGetsThemAsRangeAndTheBoxesShowThem)
{
    for (const char* itemId : {CountsItemId, "Static.Analog.Temperature", "SimulatePLC.RAMP.Byte"}) {
        SCOPED_TRACE(itemId);
        const SimEURange limits = *demo().tag(itemId).euRange();
        bool accepted = false;
        auto dialog = plotFor(itemId, &accepted);
        EXPECT_TRUE(accepted);
        EXPECT_FALSE(dialog->isUnloaded());
        EXPECT_EQ(dialog->Lumaplot1()->Max(), float(limits.high));
        EXPECT_EQ(dialog->Lumaplot1()->Min(), float(limits.low));
        EXPECT_EQ(box(*dialog, "txtMax").text(), text(ValueText::ofDouble(limits.high)));
        EXPECT_EQ(box(*dialog, "txtMin").text(), text(ValueText::ofDouble(limits.low)));
        EXPECT_EQ(dialog->windowTitle(), QString("Real Time Plot of ") + itemId);
    }
}

TEST_F(PlotSetup, AnItemWithoutLimitsGetsTheRangeOfItsType)
{
    struct Case {
        const char* itemId;
        float max;
        float min;
    };
    const Case cases[] = {
        {"Static.Short", 100, 0},  {"Static.Long", 100, 0},   {"Static.Float", 100, 0},
        {"Static.Double", 100, 0}, {"Static.Boolean", -1, 0},  // True (-1) at the top
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.itemId);
        ASSERT_FALSE(demo().tag(c.itemId).euRange().has_value());
        bool accepted = false;
        auto dialog = plotFor(c.itemId, &accepted);
        EXPECT_TRUE(accepted);
        EXPECT_EQ(dialog->Lumaplot1()->Max(), c.max);
        EXPECT_EQ(dialog->Lumaplot1()->Min(), c.min);
        EXPECT_EQ(box(*dialog, "txtMax").text(), text(ValueText::ofFloat(c.max)));
        EXPECT_EQ(box(*dialog, "txtMin").text(), text(ValueText::ofFloat(c.min)));
    }
}

TEST_F(PlotSetup, AnItemOfAnotherTypeWithoutLimitsIsRefusedThroughClosed)
{
    for (const char* itemId : {"Static.String", "Static.Byte", "Static.Arrays.DoubleArray"}) {
        SCOPED_TRACE(itemId);
        ASSERT_FALSE(demo().tag(itemId).euRange().has_value());
        std::shared_ptr<cOPCItem> item = addItem(itemId);
        const long holders = item.use_count();
        frmOPCItemPlot dialog;
        QSignalSpy closed(&dialog, &frmOPCItemPlot::Closed);
        EXPECT_FALSE(dialog.Setup(server, item));
        EXPECT_EQ(closed.count(), 1);
        EXPECT_TRUE(dialog.isUnloaded());
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(item.use_count(), holders) << "the dialog let go of the item";

        dialog.reject();  // an opener that closes it anyway gets no second Closed
        EXPECT_EQ(closed.count(), 1);
    }
}

TEST_F(PlotSetup, WithoutAnItemNothingIsPlottedAndTheOpenerGetsClosed)
{
    frmOPCItemPlot dialog;
    QSignalSpy closed(&dialog, &frmOPCItemPlot::Closed);
    EXPECT_FALSE(dialog.Setup(server, nullptr));
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(dialog.windowTitle(), "Real Time Plot");
}

TEST_F(PlotSetup, WhenThePropertiesCannotBeReadTheTypeDecides)
{
    // The limits of the Counts tag are not reachable: its type's range holds,
    // and the failure is the server's own report, not the dialog's.
    demo().faults().fail("QueryAvailableProperties", 0x80004005);
    auto withLimits = plotFor(CountsItemId);
    EXPECT_EQ(withLimits->Lumaplot1()->Max(), 100.0f);
    EXPECT_EQ(withLimits->Lumaplot1()->Min(), 0.0f);

    // Without a server the same.
    frmOPCItemPlot withoutServer;
    EXPECT_TRUE(withoutServer.Setup(nullptr, addItem("Static.Boolean")));
    EXPECT_EQ(withoutServer.Lumaplot1()->Max(), -1.0f);
    EXPECT_EQ(withoutServer.Lumaplot1()->Min(), 0.0f);
}

}  // namespace
}  // namespace tagwell::test
