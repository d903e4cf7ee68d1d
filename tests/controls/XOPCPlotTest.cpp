// The real-time plot of the selected item: opened modally with the tree
// disabled, fed by every display update while open, refused for items that
// cannot be plotted.

#include "XOPCFixture.h"

#include <QTreeWidget>

#include "dialogs/frmOPCItemPlot.h"

namespace tagwell::test {
namespace {

class XOPCPlot : public XOPCFixture {
protected:
    void SetUp() override
    {
        XOPCFixture::SetUp();
        server = addServer();
        group = addGroup(server);
    }

    QWidget& tree() { return *control->findChild<QWidget*>("tvTreeView"); }

    qint16 server = -1;
    QString group;
};

TEST_F(XOPCPlot, OpensForTheSelectedItemWithTheTreeDisabled)
{
    addItem(server, group, Ramp1);

    ASSERT_TRUE(control->OpenItemPlot());

    ASSERT_EQ(dialogs.opened.size(), 1u);
    EXPECT_EQ(dialogs.opened[0].windowTitle, QString("Real Time Plot of ") + Ramp1);
    EXPECT_NE(control->ItemPlot(), nullptr);
    EXPECT_FALSE(tree().isEnabled());
    EXPECT_FALSE(control->OpenItemPlot());  // one at a time
}

TEST_F(XOPCPlot, EveryDisplayUpdateFeedsItWhileOpen)
{
    addItem(server, group, Ramp1);
    ASSERT_TRUE(control->StartDisplayUpdate(100));
    tick(100);
    ASSERT_EQ(control->PlotSampleCounter(), 0);
    ASSERT_TRUE(control->OpenItemPlot());

    for (int i = 0; i < 3; ++i) {
        advance(100);
        tick(100);
    }
    EXPECT_EQ(control->PlotSampleCounter(), 3);

    control->ItemPlot()->done(0);
    EXPECT_TRUE(tree().isEnabled());
    tick(100);
    EXPECT_EQ(control->PlotSampleCounter(), 3);
}

TEST_F(XOPCPlot, ClosingReleasesTheDialog)
{
    addItem(server, group, BoolIn1);
    ASSERT_TRUE(control->OpenItemPlot());
    QPointer<QDialog> dialog = dialogs.last();

    dialog->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_EQ(control->ItemPlot(), nullptr);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_TRUE(tree().isEnabled());
}

TEST_F(XOPCPlot, AnItemThatCannotBePlottedIsRefusedBeforeItIsShown)
{
    addItem(server, group, "Static.String");

    EXPECT_FALSE(control->OpenItemPlot());

    EXPECT_TRUE(dialogs.opened.empty());
    EXPECT_EQ(control->ItemPlot(), nullptr);
    EXPECT_TRUE(tree().isEnabled());
}

TEST_F(XOPCPlot, WithoutASelectedItemNothingOpens)
{
    EXPECT_FALSE(control->OpenItemPlot());

    EXPECT_TRUE(dialogs.opened.empty());
    EXPECT_TRUE(tree().isEnabled());
}

}  // namespace
}  // namespace tagwell::test
