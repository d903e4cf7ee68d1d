// Renders the control with a live simulator group into xopc_live.png in the
// folder of the test program (the build folder of these tests), so that a reader
// can look at it.

#include "XOPCFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QSet>
#include <QTest>
#include <QTreeWidget>
#include <iostream>

namespace tagwell::test {
namespace {

using XOPCScreenshot = XOPCFixture;

TEST_F(XOPCScreenshot, LiveGroupRendersIntoAnImage)
{
    const qint16 server = addServer();
    const QString group = addGroup(server, "Demo", 100);
    for (const char* id : {Ramp1, Ramp2, Ramp3, "SimulatePLC.PHASED.Ramp4",
                           "SimulatePLC.PHASED.Ramp5", BoolIn1, "SimulatePLC.BOOL.In2",
                           "SimulatePLC.SINE.Double", "SimulatePLC.STRING.Cycle", StaticByteArray})
        addItem(server, group, id);
    addGroup(server, "Slow", 1000);
    control->AddNewServer(SimulationBackend::FlatProgId);
    control->setShowItemQualityAsText(true);
    ASSERT_TRUE(control->StartDisplayUpdate(250));
    auto* tree = control->findChild<QTreeWidget*>("tvTreeView");
    tree->expandAll();
    QTreeWidgetItem* demoGroup = tree->topLevelItem(0)->child(0)->child(0);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(demoGroup).center());
    for (int i = 0; i < 12; ++i) {
        advance(250);
        tick(250);
    }

    const QImage image = host->grab().toImage();
    const QString path = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("xopc_live.png");
    ASSERT_TRUE(image.save(path));
    std::cout << "Screenshot: " << path.toStdString() << std::endl;

    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            colours.insert(image.pixel(x, y));
    EXPECT_EQ(image.size(), QSize(DesignWidthPx, DesignHeightPx));
    EXPECT_GT(colours.size(), 4);
    EXPECT_EQ(list().RowCount(), 10);
    EXPECT_EQ(list().Cell(0, XOPCItemListModel::QualityColumn), "Good");
}

}  // namespace
}  // namespace tagwell::test
