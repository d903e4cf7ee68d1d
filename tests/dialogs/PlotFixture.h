#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <string>

#include "automation/sim/SimulationBackend.h"
#include "core/cOPCGroup.h"
#include "core/cOPCItem.h"
#include "core/cOPCServer.h"
#include "dialogs/frmOPCItemPlot.h"
#include "graph/Lumaplot.h"
#include "platform/ManualDispatcher.h"
#include "platform/RecordingMessageBoxService.h"

namespace tagwell::test {

// A whole-number tag whose server reports engineering-unit limits 0 .. 500.
inline constexpr const char* CountsItemId = "Test.Plot.Counts";
inline constexpr double CountsLow = 0;
inline constexpr double CountsHigh = 500;

// The demonstration server connected under a manual clock, one group on it,
// the Counts tag added to its address space, and message boxes recorded.
class PlotFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    SimServer& demo();
    // Adds the item to the group; nullptr (and a failed expectation) when the
    // server refuses it.
    std::shared_ptr<cOPCItem> addItem(const std::string& itemId);
    // A new dialog set up for that item; the return value of Setup in accepted.
    std::unique_ptr<frmOPCItemPlot> plotFor(const std::string& itemId, bool* accepted = nullptr);

    static QLineEdit& box(frmOPCItemPlot& dialog, const char* name);
    static QPushButton& button(frmOPCItemPlot& dialog, const char* name);

    ManualDispatcher clock;
    RecordingMessageBoxService boxes;
    std::shared_ptr<cOPCServer> server;
    std::shared_ptr<cOPCGroup> group;
};

}  // namespace tagwell::test
