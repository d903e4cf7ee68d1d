// The seam every modal dialog of the toolkit is opened through.

#include <QDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "PlotFixture.h"
#include "platform/Variant.h"
#include "platform/qt/DialogRunner.h"
#include "platform/qt/RecordingDialogRunner.h"

namespace tagwell::test {
namespace {

TEST(DialogRunner, WithNothingInstalledRunsTheDialogsOwnModalLoop)
{
    EXPECT_NE(dynamic_cast<ModalDialogRunner*>(&DialogRunner::current()), nullptr);

    QDialog dialog;
    QTimer::singleShot(0, &dialog, [&dialog] {
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.isModal());
        dialog.done(7);
    });
    EXPECT_EQ(DialogRunner::exec(dialog), 7);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(DialogRunner, AnInstalledRunnerTakesOverUntilUninstalled)
{
    RecordingDialogRunner runner;
    DialogRunner::install(&runner);
    QDialog dialog;
    dialog.setObjectName("frmSomething");
    dialog.setWindowTitle("Something");
    runner.script = [](QDialog& d) {
        d.accept();
        return d.result();
    };

    EXPECT_EQ(DialogRunner::exec(dialog), QDialog::Accepted);
    ASSERT_EQ(runner.opened.size(), 1u);
    EXPECT_EQ(runner.opened[0].objectName, "frmSomething");
    EXPECT_EQ(runner.opened[0].windowTitle, "Something");
    EXPECT_EQ(runner.last(), &dialog);

    DialogRunner::install(nullptr);
    EXPECT_NE(&DialogRunner::current(), static_cast<DialogRunner*>(&runner));
}

class PlotThroughRunner : public PlotFixture {
protected:
    void SetUp() override
    {
        PlotFixture::SetUp();
        DialogRunner::install(&runner);
    }
    void TearDown() override
    {
        DialogRunner::install(nullptr);
        PlotFixture::TearDown();
    }

    RecordingDialogRunner runner;
};

TEST_F(PlotThroughRunner, AScriptClosesThePlotInsideExec)
{
    frmOPCItemPlot dialog;
    QSignalSpy closed(&dialog, &frmOPCItemPlot::Closed);
    ASSERT_TRUE(dialog.Setup(server, addItem(CountsItemId)));
    runner.script = [&closed](QDialog& shown) {
        EXPECT_TRUE(shown.isVisible());
        EXPECT_EQ(closed.count(), 0);
        QTest::mouseClick(shown.findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
        return shown.result();
    };

    EXPECT_EQ(DialogRunner::exec(dialog), QDialog::Rejected);
    EXPECT_EQ(closed.count(), 1);
    ASSERT_EQ(runner.opened.size(), 1u);
    EXPECT_EQ(runner.opened[0].windowTitle, QString("Real Time Plot of ") + CountsItemId);
}

TEST_F(PlotThroughRunner, WithoutAScriptThePlotStaysOpenToBeFedAndClosedLater)
{
    // The opener's side: the dialog is released on Closed, with deleteLater.
    auto* dialog = new frmOPCItemPlot;
    QPointer<frmOPCItemPlot> watched(dialog);
    int closedCount = 0;
    QObject::connect(dialog, &frmOPCItemPlot::Closed, [&closedCount, dialog] {
        ++closedCount;
        dialog->deleteLater();
    });
    ASSERT_TRUE(dialog->Setup(server, addItem("Static.Double")));
    DialogRunner::exec(*dialog);

    ASSERT_EQ(runner.last(), dialog);
    EXPECT_TRUE(dialog->isVisible());
    for (int32_t counter = 1; counter <= 3; ++counter)
        EXPECT_TRUE(dialog->FeedSample(Variant(counter * 10.0), vtR8, counter));

    QTest::keyClick(dialog->findChild<QLineEdit*>("txtMin", Qt::FindDirectChildrenOnly), Qt::Key_Escape);
    EXPECT_EQ(closedCount, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());
    EXPECT_EQ(runner.last(), nullptr);
}

TEST_F(PlotThroughRunner, ARefusedItemIsNeverShown)
{
    frmOPCItemPlot dialog;
    QSignalSpy closed(&dialog, &frmOPCItemPlot::Closed);
    if (dialog.Setup(server, addItem("Static.String")))
        DialogRunner::exec(dialog);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(runner.opened.empty());
}

}  // namespace
}  // namespace tagwell::test
