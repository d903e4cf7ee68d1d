// What the explorer reaches outside itself: the component check, the help
// page and the desktop's settings tools.
#include "ExplorerFixture.h"

#include <QFileInfo>

#include "automation/OPCServer.h"
#include "explorer_app/ComponentRegistrations.h"
#include "platform/ComError.h"
#include "platform/qt/QtWindowHandle.h"
#include "timer/CPacetick.h"

namespace tagwell::test {
namespace {

using Registrations = ComponentRegistrations;
using ExplorerOutside = ExplorerFixture;

struct RegistrationCase {
    const char* name;
    bool timerWorks;
    bool wrapperWorks;
    std::vector<std::string> prompts;  // "*" stands for the advice of the failed check
};

class ExplorerRegistrations : public ExplorerFixture,
                              public ::testing::WithParamInterface<RegistrationCase> {};

TEST_P(ExplorerRegistrations, TellWhatWasFoundAndWhatToDo)
{
    const RegistrationCase& c = GetParam();
    if (!c.timerWorks)
        form->registrations().setTimerMaker([]() -> std::shared_ptr<CPacetick> {
            throw ComError(0x80040154, "CPacetick", "Class not registered");
        });
    if (!c.wrapperWorks)
        SimulationBackend::shared()->faults().fail("GetOPCServers", 0x80010001);

    trigger("mnuCheckRegistrations");

    ASSERT_EQ(boxes.shown.size(), c.prompts.size()) << ::testing::PrintToString(boxes.prompts());
    for (size_t i = 0; i < c.prompts.size(); ++i) {
        EXPECT_EQ(boxes.shown[i].style, msgbox::OKOnly);
        if (c.prompts[i] != "*") {
            EXPECT_EQ(boxes.shown[i].prompt, c.prompts[i]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ExplorerRegistrations,
    ::testing::Values(
        RegistrationCase{"BothFound", true, true, {Registrations::AllRegistered}},
        RegistrationCase{"TimerMissing", false, true,
                         {Registrations::RegisteringTimer, "*", Registrations::RestartAdvice}},
        RegistrationCase{"WrapperMissing", true, false,
                         {Registrations::RegisteringWrapper, "*", Registrations::RestartAdvice}},
        RegistrationCase{"BothMissing", false, false,
                         {Registrations::RegisteringTimer, "*", Registrations::RestartAdvice,
                          Registrations::RegisteringWrapper, "*", Registrations::RestartAdvice}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExplorerOutside, RegistrationAdviceNamesTheLibraryAndTheFailure)
{
    form->registrations().setTimerMaker([] { return std::shared_ptr<CPacetick>(); });
    SimulationBackend::shared()->faults().fail("GetOPCServers", 0x80010001);

    trigger("mnuCheckRegistrations");

    ASSERT_EQ(boxes.shown.size(), 6u);
    const std::string& timerAdvice = boxes.shown[1].prompt;
    const std::string& wrapperAdvice = boxes.shown[4].prompt;
    EXPECT_NE(timerAdvice.find("libPacetick.so"), std::string::npos) << timerAdvice;
    EXPECT_NE(wrapperAdvice.find("libTagwellControls.so"), std::string::npos) << wrapperAdvice;

    OPCServer server;
    try {
        server.GetOPCServers();
        FAIL() << "the injected fault did not fire";
    } catch (const ComError& failure) {
        EXPECT_NE(wrapperAdvice.find(failure.description()), std::string::npos) << wrapperAdvice;
    }
}

TEST_F(ExplorerOutside, HelpOpensTheControlsHelpPage)
{
    trigger("mnuHelpXOPC");

    ASSERT_EQ(shell.requests.size(), 1u);
    const QFileInfo page(QString::fromStdString(shell.requests[0].target));
    EXPECT_EQ(page.fileName(), "XOPC.html");
    EXPECT_TRUE(page.isFile()) << page.filePath().toStdString();
    EXPECT_TRUE(page.isAbsolute());
    EXPECT_EQ(shell.requests[0].owner, QtWindowHandle::of(form.get()));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ExplorerOutside, HelpThatCannotBeOpenedIsExplained)
{
    shell.result = shell::NoAssociation;

    trigger("mnuHelpXOPC");

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].prompt.find(shell.requests.at(0).target), std::string::npos)
        << boxes.shown[0].prompt;
}

struct SettingsCase {
    const char* name;
    const char* action;
    std::set<std::string> installed;
    bool starts;
    std::vector<RecordingProgramStarter::Start> started;
    const char* message;  // part of the message box, nullptr: no box
};

class ExplorerSettingsTools : public ExplorerFixture,
                              public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(ExplorerSettingsTools, StartTheDesktopsToolOrSayItIsNotAvailable)
{
    const SettingsCase& c = GetParam();
    starter.installed = c.installed;
    starter.starts = c.starts;

    trigger(c.action);

    EXPECT_EQ(starter.started, c.started);
    if (!c.message) {
        EXPECT_TRUE(boxes.shown.empty());
        return;
    }
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].prompt.find(c.message), std::string::npos) << boxes.shown[0].prompt;
    EXPECT_EQ(msgbox::buttonsOf(boxes.shown[0].style), msgbox::OKOnly);
}

INSTANTIATE_TEST_SUITE_P(
    Tools, ExplorerSettingsTools,
    ::testing::Values(
        SettingsCase{"NetworkEditor", "mnuNetworkConnections",
                     {"nm-connection-editor", "gnome-control-center"}, true,
                     {{"nm-connection-editor", {}}}, nullptr},
        SettingsCase{"NetworkInGnomeSettings", "mnuNetworkConnections", {"gnome-control-center"},
                     true, {{"gnome-control-center", {"network"}}}, nullptr},
        SettingsCase{"NetworkInKdeSettings", "mnuNetworkConnections", {"kcmshell5"}, true,
                     {{"kcmshell5", {"kcm_networkmanagement"}}}, nullptr},
        SettingsCase{"NoNetworkTool", "mnuNetworkConnections", {}, true, {},
                     "Network Connections is not available on this system"},
        SettingsCase{"NetworkToolFailsToStart", "mnuNetworkConnections", {"nm-connection-editor"},
                     false, {{"nm-connection-editor", {}}},
                     "Network Connections is not available on this system"},
        SettingsCase{"ComputerNameInGnomeSettings", "mnuPCIdentification",
                     {"gnome-control-center"}, true,
                     {{"gnome-control-center", {"info-overview"}}}, nullptr},
        SettingsCase{"NoComputerNameTool", "mnuPCIdentification", {}, true, {},
                     "PC Identification is not available on this system"},
        SettingsCase{"DCOM", "mnuDCOMConfiguration", {"gnome-control-center", "nm-connection-editor"},
                     true, {}, "DCOM Configuration is not available on this system"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tagwell::test
