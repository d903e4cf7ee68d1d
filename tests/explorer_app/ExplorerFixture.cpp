#include "ExplorerFixture.h"

#include "core/MCollector.h"
#include "core/PendingMessages.h"
#include "core/cOPCGroup.h"
#include "core/cOPCItem.h"
#include "core/cOPCServer.h"
#include "platform/Services.h"
#include "timer/CPacetick.h"

namespace tagwell::test {

namespace {

void resetProcessState()
{
    MCollector::SetCollectionMode(cmNone);
    MCollector::SetCollectionActive(false);
    MCollector::ClearAllUpdates();
    PendingMessages::Clear();
}

}  // namespace

void ExplorerFixture::SetUp()
{
    Dispatcher::install(&clock);
    Services::installMessageBox(&boxes);
    Services::installShell(&shell);
    Services::installPointer(&pointer);
    DialogRunner::install(&dialogs);
    SimulationBackend::shared()->reset();
    resetProcessState();
    XOPC::setTimerFactory([this] { return CPacetick::create([this] { return timerNow; }); });

    form = std::make_unique<frmTest>();
    form->setProgramStarter(&starter);
    form->show();
}

void ExplorerFixture::TearDown()
{
    form.reset();  // the control goes with its window, before the clocks
    XOPC::setTimerFactory({});
    resetProcessState();
    DialogRunner::install(nullptr);
    Services::installPointer(nullptr);
    Services::installShell(nullptr);
    Services::installMessageBox(nullptr);
    Dispatcher::install(nullptr);
}

SimServer& ExplorerFixture::demo()
{
    return SimulationBackend::shared()->server(SimulationBackend::DemoProgId);
}

QAction* ExplorerFixture::action(const char* name)
{
    auto* found = form->findChild<QAction*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void ExplorerFixture::trigger(const char* name)
{
    if (QAction* entry = action(name))
        entry->trigger();
}

void ExplorerFixture::advance(int milliseconds) { clock.advance(std::chrono::milliseconds(milliseconds)); }

void ExplorerFixture::tick(int milliseconds)
{
    timerNow += milliseconds;
    if (auto timer = control().Timer())
        timer->Tick();
}

QStringList ExplorerFixture::configuration()
{
    QStringList lines;
    for (auto& server : collector().Servers()) {
        for (auto& group : server.value->GetOPCServerGroupCollection()) {
            int32_t rate = 0;
            float deadBand = 0;
            group.value->GetGroupUpdateRate(rate);
            group.value->GetGroupDeadBand(deadBand);
            QStringList items;
            for (const auto& item : group.value->GetOPCGroupItemsCollection())
                items << QString::fromStdString(item.value->GetItemID());
            lines << QStringLiteral("%1/%2 rate %3 deadband %4: %5")
                         .arg(QString::fromStdString(server.value->GetServerName()),
                              QString::fromStdString(group.value->GetGroupName()))
                         .arg(rate)
                         .arg(deadBand)
                         .arg(items.join(", "));
        }
    }
    return lines;
}

bool ExplorerFixture::displayUpdatesRun()
{
    auto timer = control().Timer();
    return timer && timer->Time1Enabled();
}

}  // namespace tagwell::test
