#include "XOPCFixture.h"

#include <QApplication>

#include "core/MCollector.h"
#include "core/PendingMessages.h"
#include "platform/Services.h"

namespace tagwell::test {

void XOPCFixture::SetUp()
{
    Dispatcher::install(&clock);
    Services::installMessageBox(&boxes);
    DialogRunner::install(&dialogs);
    SimulationBackend::shared()->reset();
    MCollector::SetCollectionMode(cmNone);
    MCollector::SetCollectionActive(false);
    MCollector::ClearAllUpdates();
    PendingMessages::Clear();
    XOPC::setTimerFactory([this] { return CPacetick::create([this] { return timerNow; }); });

    host = std::make_unique<QWidget>();
    control = new XOPC(host.get());
    control->setGeometry(0, 0, DesignWidthPx, DesignHeightPx);
    host->resize(DesignWidthPx, DesignHeightPx);
    host->show();
}

void XOPCFixture::TearDown()
{
    host.reset();  // the control goes with its window, before the clocks
    XOPC::setTimerFactory({});
    MCollector::SetCollectionMode(cmNone);
    MCollector::SetCollectionActive(false);
    MCollector::ClearAllUpdates();
    PendingMessages::Clear();
    DialogRunner::install(nullptr);
    Services::installMessageBox(nullptr);
    Dispatcher::install(nullptr);
}

SimServer& XOPCFixture::demo() { return SimulationBackend::shared()->server(DemoProgId); }

void XOPCFixture::advance(int milliseconds) { clock.advance(std::chrono::milliseconds(milliseconds)); }

void XOPCFixture::tick(int milliseconds)
{
    timerNow += milliseconds;
    if (auto timer = control->Timer())
        timer->Tick();
}

qint16 XOPCFixture::addServer()
{
    const qint16 id = control->AddNewServer(DemoProgId);
    EXPECT_GE(id, 0);
    return id;
}

QString XOPCFixture::addGroup(qint16 serverId, const QString& name, qint32 updateRate)
{
    const QString key = control->AddNewGroup(name, updateRate, 0, true, true, serverId);
    EXPECT_FALSE(key.isEmpty()) << name.toStdString();
    return key;
}

QString XOPCFixture::addItem(qint16 serverId, const QString& groupKey, const QString& itemId,
                             qint16 dataType)
{
    const QString key = control->AddNewItem(serverId, groupKey, itemId, dataType, true);
    EXPECT_FALSE(key.isEmpty()) << itemId.toStdString();
    return key;
}

QString XOPCFixture::rowText(int row)
{
    QStringList cells;
    for (int c = 0; c < XOPCItemListModel::ColumnCount; ++c)
        cells << list().Cell(row, c);
    return cells.join(" | ");
}

QStringList XOPCFixture::firstArguments(const QSignalSpy& spy)
{
    QStringList texts;
    for (const QList<QVariant>& emission : spy)
        texts << emission.value(0).toString();
    return texts;
}

}  // namespace tagwell::test
