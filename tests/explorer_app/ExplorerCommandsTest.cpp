// The explorer's commands: the demonstration configuration, opening and
// saving configurations, the display interval, disconnecting, the server
// list, the about box and the end of the program.
#include "ExplorerFixture.h"

#include <QFileDialog>
#include <QInputDialog>
#include <functional>

#include "automation/AutomationRegistry.h"

namespace tagwell::test {
namespace {

using ExplorerCommands = ExplorerFixture;

QStringList demoConfiguration()
{
    const QString ramps = "SimulatePLC.PHASED.Ramp1, SimulatePLC.PHASED.Ramp2, "
                          "SimulatePLC.PHASED.Ramp3, SimulatePLC.PHASED.Ramp4, "
                          "SimulatePLC.PHASED.Ramp5";
    const QString bools = "SimulatePLC.BOOL.In1, SimulatePLC.BOOL.In2, SimulatePLC.BOOL.Out1, "
                          "SimulatePLC.BOOL.Out2";
    return {"ICONICS.Simulator.1/Test1 rate 200 deadband 2: " + ramps,
            "ICONICS.Simulator.1/Test2 rate 200 deadband 2: " + ramps + ", " + bools};
}

TEST_F(ExplorerCommands, LoadDefaultBuildsBothDemonstrationGroupsAndStartsTheDisplay)
{
    trigger("mnuLoadDefault");

    EXPECT_EQ(configuration(), demoConfiguration());
    EXPECT_TRUE(displayUpdatesRun());
    EXPECT_EQ(displayInterval(), 250);

    const QStringList lines = form->UpdateLines();
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines.first(), "Loading hard-coded configuration programatically, please wait...");
    EXPECT_EQ(lines[1], "Server Added: Server 0, ICONICS.Simulator.1");
    EXPECT_EQ(lines[2], "Server 0Group 1 0Test1");
    EXPECT_EQ(lines[3], "Server 0Group 1 0Item 1SimulatePLC.PHASED.Ramp11");
    EXPECT_EQ(lines.last(), "Hard-coded configuration loaded programatically");
    // one line per group and item, framed by the two fixed ones
    EXPECT_EQ(lines.size(), 2 + 1 + 2 + 5 + 9);
}

TEST_F(ExplorerCommands, LoadDefaultTwiceRebuildsTheSameConfiguration)
{
    trigger("mnuLoadDefault");
    const QStringList firstLines = form->UpdateLines();
    advance(1000);

    trigger("mnuLoadDefault");

    EXPECT_EQ(configuration(), demoConfiguration());
    EXPECT_EQ(collector().Servers().count(), 1u);
    const QStringList lines = form->UpdateLines();
    ASSERT_EQ(lines.size(), 2 * firstLines.size());
    EXPECT_EQ(lines.mid(firstLines.size()), firstLines);
}

TEST_F(ExplorerCommands, LoadDefaultConfigurationAloneLeavesTheDisplayAlone)
{
    form->LoadDefaultConfiguration();

    EXPECT_EQ(configuration(), demoConfiguration());
    EXPECT_FALSE(displayUpdatesRun());
}

// What a file dialog showed, read while it was open.
struct FileDialogSeen {
    bool isFileDialog = false;
    QString title;
    QStringList filters;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
};

std::function<int(QDialog&)> cancelFileDialog(FileDialogSeen& seen)
{
    return [&seen](QDialog& dialog) {
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        seen.isFileDialog = files != nullptr;
        if (files) {
            seen.title = files->windowTitle();
            seen.filters = files->nameFilters();
            seen.mode = files->acceptMode();
        }
        return int(QDialog::Rejected);
    };
}

// The configuration file dialog was shown once, for opening or for saving.
void expectOneConfigFileDialog(const RecordingDialogRunner& dialogs, const FileDialogSeen& seen,
                               QFileDialog::AcceptMode mode)
{
    ASSERT_EQ(dialogs.opened.size(), 1u);
    ASSERT_TRUE(seen.isFileDialog);
    EXPECT_EQ(seen.title, "Select Configuration File");
    EXPECT_EQ(seen.filters, QStringList({"Config (*.ini)"}));
    EXPECT_EQ(seen.mode, mode);
}

TEST_F(ExplorerCommands, CancellingOpenStillStartsTheDisplayAt250)
{
    control().StartDisplayUpdate(1000);
    FileDialogSeen seen;
    dialogs.script = cancelFileDialog(seen);

    trigger("mnuOpen");

    expectOneConfigFileDialog(dialogs, seen, QFileDialog::AcceptOpen);
    EXPECT_TRUE(form->UpdateLines().isEmpty());
    EXPECT_TRUE(displayUpdatesRun());
    EXPECT_EQ(displayInterval(), 250);
}

TEST_F(ExplorerCommands, CancellingSaveWritesNothing)
{
    FileDialogSeen seen;
    dialogs.script = cancelFileDialog(seen);

    trigger("mnuSave");

    expectOneConfigFileDialog(dialogs, seen, QFileDialog::AcceptSave);
    EXPECT_TRUE(form->UpdateLines().isEmpty());
}

struct IntervalCase {
    const char* name;
    bool accepted;       // OK pressed (else Cancel)
    const char* answer;
    int remembered;      // the interval offered next
    int running;         // the control's interval after the command
    bool message;        // a message box explains the answer
};

class ExplorerDisplayInterval : public ExplorerFixture,
                                public ::testing::WithParamInterface<IntervalCase> {};

TEST_P(ExplorerDisplayInterval, StartsTheDisplayWithTheRememberedInterval)
{
    const IntervalCase& c = GetParam();
    QString prompt;
    QString offered;
    dialogs.script = [&](QDialog& dialog) {
        if (auto* box = qobject_cast<QInputDialog*>(&dialog)) {
            prompt = box->labelText();
            offered = box->textValue();
            box->setTextValue(QString::fromUtf8(c.answer));
        }
        return int(c.accepted ? QDialog::Accepted : QDialog::Rejected);
    };

    trigger("mnuDisplayInterval");

    ASSERT_EQ(dialogs.opened.size(), 1u);
    EXPECT_EQ(dialogs.opened[0].windowTitle, "Display Update Interval");
    EXPECT_EQ(prompt, "Enter the display update interval in milliseconds");
    EXPECT_EQ(offered, "250");
    EXPECT_EQ(form->RememberedInterval(), c.remembered);
    EXPECT_TRUE(displayUpdatesRun());
    EXPECT_EQ(displayInterval(), c.running);
    ASSERT_EQ(boxes.shown.size(), c.message ? 1u : 0u);
    if (c.message) {
        EXPECT_NE(boxes.shown[0].prompt.find(c.answer), std::string::npos) << boxes.shown[0].prompt;
        EXPECT_NE(boxes.shown[0].prompt.find("32767"), std::string::npos) << boxes.shown[0].prompt;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ExplorerDisplayInterval,
    ::testing::Values(IntervalCase{"Number", true, "500", 500, 500, false},
                      IntervalCase{"NumberWithBlanks", true, " 1000 ", 1000, 1000, false},
                      IntervalCase{"HalfRoundsToEven", true, "622.5", 622, 622, false},
                      IntervalCase{"BelowTheControlsLimit", true, "5", 5, 10, false},
                      IntervalCase{"AboveTheControlsLimit", true, "30000", 30000, 10000, false},
                      IntervalCase{"NotANumber", true, "fast", 250, 250, false},
                      IntervalCase{"Empty", true, "", 250, 250, false},
                      IntervalCase{"Cancelled", false, "500", 250, 250, false},
                      IntervalCase{"TooLarge", true, "40000", 250, 250, true},
                      IntervalCase{"TooSmall", true, "-32769", 250, 250, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExplorerCommands, DisplayIntervalOffersTheLastAnswer)
{
    dialogs.script = [](QDialog& dialog) {
        dynamic_cast<QInputDialog&>(dialog).setTextValue("800");
        return int(QDialog::Accepted);
    };
    trigger("mnuDisplayInterval");
    QString offered;
    dialogs.script = [&offered](QDialog& dialog) {
        offered = dynamic_cast<QInputDialog&>(dialog).textValue();
        return int(QDialog::Rejected);
    };

    trigger("mnuDisplayInterval");

    ASSERT_EQ(dialogs.opened.size(), 2u);
    EXPECT_EQ(offered, "800");
    EXPECT_EQ(displayInterval(), 800);
}

TEST_F(ExplorerCommands, DisconnectAllDropsTheConfiguration)
{
    trigger("mnuLoadDefault");
    ASSERT_GT(demo().connectionCount(), 0);

    trigger("mnuDisconnectAll");

    EXPECT_TRUE(configuration().isEmpty());
    EXPECT_EQ(demo().connectionCount(), 0);
}

TEST_F(ExplorerCommands, ClosingTheWindowDisconnectsEverything)
{
    trigger("mnuLoadDefault");
    ASSERT_GT(demo().connectionCount(), 0);

    form->close();

    EXPECT_EQ(demo().connectionCount(), 0);
}

TEST_F(ExplorerCommands, ExitClosesTheWindowAndDisconnects)
{
    trigger("mnuLoadDefault");

    trigger("mnuExit");

    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(demo().connectionCount(), 0);
}

TEST_F(ExplorerCommands, BrowseAllOpcServersListsTheServersOfThisComputer)
{
    trigger("mnuBrowseServers");

    ASSERT_EQ(boxes.shown.size(), 1u);
    const std::string& text = boxes.shown[0].prompt;
    const OleArray<std::string> servers = AutomationRegistry::instance().serverList("");
    ASSERT_GT(servers.size(), 0u);
    for (const std::string& progId : servers)
        EXPECT_NE(text.find(progId), std::string::npos) << progId << " missing from: " << text;
}

TEST_F(ExplorerCommands, BrowseAllOpcServersSaysWhenTheListFails)
{
    SimulationBackend::shared()->faults().fail("GetOPCServers", 0x80010001);

    trigger("mnuBrowseServers");

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].prompt.find("could not be listed"), std::string::npos)
        << boxes.shown[0].prompt;
    EXPECT_TRUE(form->isVisible());
}

TEST_F(ExplorerCommands, AboutShowsTheControlsAboutBox)
{
    trigger("mnuAbout");

    ASSERT_EQ(dialogs.opened.size(), 1u);
    EXPECT_EQ(dialogs.opened[0].objectName, "frmAbout");
}

}  // namespace
}  // namespace tagwell::test
