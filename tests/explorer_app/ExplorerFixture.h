#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QString>
#include <QStringList>
#include <memory>
#include <ostream>

#include "RecordingProgramStarter.h"
#include "automation/sim/SimulationBackend.h"
#include "controls/xopc/XOPC.h"
#include "controls/xopc/cCollector.h"
#include "explorer_app/frmTest.h"
#include "platform/ManualDispatcher.h"
#include "platform/RecordingMessageBoxService.h"
#include "platform/RecordingPointerService.h"
#include "platform/RecordingShellService.h"
#include "platform/qt/RecordingDialogRunner.h"

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace tagwell::test {

// The explorer's window shown offscreen over the simulation server under a
// manual clock. The control's timer reads a clock the test moves with
// tick(); dialogs, message boxes, the pointer, the shell and the settings
// tools are recorded instead of shown or started. Collection state and the
// pending messages of the process start empty.
class ExplorerFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    XOPC& control() { return *form->control(); }
    cCollector& collector() { return *control().Collector(); }
    SimServer& demo();

    // The menu entry of that objectName; fails the test when there is none.
    QAction* action(const char* name);
    void trigger(const char* name);

    // Moves the simulation's clock: groups send their data changes.
    void advance(int milliseconds);
    // Moves the timer's clock and lets the timer process one tick.
    void tick(int milliseconds);

    // The control's configuration, one line per group:
    // "<server>/<group name> rate <ms> deadband <db>: <item ID>, <item ID>, ..."
    QStringList configuration();
    // Whether display updates run, and at which interval (ms).
    bool displayUpdatesRun();
    int displayInterval() { return collector().DisplayInterval; }

    ManualDispatcher clock;
    int32_t timerNow = 0;
    RecordingMessageBoxService boxes;
    RecordingDialogRunner dialogs;
    RecordingShellService shell;
    RecordingPointerService pointer;
    RecordingProgramStarter starter;
    std::unique_ptr<frmTest> form;
};

}  // namespace tagwell::test
