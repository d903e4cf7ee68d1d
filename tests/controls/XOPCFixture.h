#pragma once

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "automation/sim/SimulationBackend.h"
#include "controls/xopc/XOPC.h"
#include "controls/xopc/XOPCItemListModel.h"
#include "controls/xopc/cCollector.h"
#include "platform/ManualDispatcher.h"
#include "platform/RecordingMessageBoxService.h"
#include "platform/qt/RecordingDialogRunner.h"
#include "timer/CPacetick.h"

namespace tagwell::test {

inline constexpr const char* DemoProgId = SimulationBackend::DemoProgId;
inline constexpr const char* Ramp1 = "SimulatePLC.PHASED.Ramp1";
inline constexpr const char* Ramp2 = "SimulatePLC.PHASED.Ramp2";
inline constexpr const char* Ramp3 = "SimulatePLC.PHASED.Ramp3";
inline constexpr const char* BoolIn1 = "SimulatePLC.BOOL.In1";
inline constexpr const char* StaticDouble = "Static.Double";
inline constexpr const char* StaticByteArray = "Static.Arrays.ByteArray";

// An XOPC in a host window of the design size (12090 x 9000 twips), shown
// offscreen, over the simulation server under a manual clock. The control's
// timer reads a clock of its own that the test moves with tick(); message
// boxes and dialogs are recorded instead of shown. The process-wide
// collection state and the pending messages start empty.
class XOPCFixture : public ::testing::Test {
protected:
    static constexpr int DesignWidthPx = 806;   // 12090 twips
    static constexpr int DesignHeightPx = 600;  // 9000 twips

    void SetUp() override;
    void TearDown() override;

    SimServer& demo();
    cCollector& collector() { return *control->Collector(); }
    XOPCItemListModel& list() { return *control->ItemListModel(); }

    // Moves the simulation's clock: groups send their data changes.
    void advance(int milliseconds);
    // Moves the timer's clock and lets the timer process one tick.
    void tick(int milliseconds);

    // The demonstration server (ServerID returned), a group on it (key
    // returned) and items in that group (keys returned).
    qint16 addServer();
    QString addGroup(qint16 serverId, const QString& name = "Group A", qint32 updateRate = 100);
    QString addItem(qint16 serverId, const QString& groupKey, const QString& itemId,
                    qint16 dataType = 0);

    // One list row's cells joined with " | ".
    QString rowText(int row);
    // The first arguments of every emission of a spy, as text, one per emission.
    static QStringList firstArguments(const QSignalSpy& spy);

    ManualDispatcher clock;
    int32_t timerNow = 0;
    RecordingMessageBoxService boxes;
    RecordingDialogRunner dialogs;
    std::unique_ptr<QWidget> host;
    XOPC* control = nullptr;
};

}  // namespace tagwell::test
