#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "core/MGlobal.h"
#include "core/cMousePointer.h"
#include "platform/RecordingCursorService.h"
#include "platform/RecordingPointerService.h"
#include "platform/RecordingShellService.h"
#include "platform/Services.h"
#include "platform/XdgOpenShellService.h"

using namespace tagwell;
namespace fs = std::filesystem;

namespace {

class UtilitiesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Services::installPointer(&pointers);
        Services::installCursor(&cursor);
        Services::installShell(&shellFake);
    }
    void TearDown() override
    {
        Services::installPointer(nullptr);
        Services::installCursor(nullptr);
        Services::installShell(nullptr);
    }

    RecordingPointerService pointers;
    RecordingCursorService cursor;
    RecordingShellService shellFake;
};

constexpr WindowHandle Dialog = 0x51;
constexpr WindowHandle UnknownWindow = 0x99;

}  // namespace

// ---- cMousePointer -----------------------------------------------------------

TEST_F(UtilitiesTest, NestedGuardsShowTheHourglassAndRestoreWhatWasThere)
{
    pointers.shape = pointer::IBeam;
    {
        cMousePointer outer;
        EXPECT_EQ(pointers.shape, pointer::Hourglass);
        {
            cMousePointer inner;
            inner.MousePointer(pointer::ArrowHourglass);
            EXPECT_EQ(outer.MousePointer(), pointer::ArrowHourglass);
        }
        EXPECT_EQ(pointers.shape, pointer::Hourglass) << "the inner guard found the hourglass";
    }
    EXPECT_EQ(pointers.shape, pointer::IBeam);
    EXPECT_EQ(pointers.changes, (std::vector<int>{pointer::Hourglass, pointer::Hourglass,
                                                  pointer::ArrowHourglass, pointer::Hourglass,
                                                  pointer::IBeam}));
}

TEST_F(UtilitiesTest, WithoutAHostThePointerIsOnlyRemembered)
{
    Services::installPointer(nullptr);
    const int before = Services::pointer().pointer();
    {
        cMousePointer busy;
        EXPECT_EQ(Services::pointer().pointer(), pointer::Hourglass);
    }
    EXPECT_EQ(Services::pointer().pointer(), before);
}

// ---- MGlobal -----------------------------------------------------------------

TEST_F(UtilitiesTest, ThisPlatformCountsAsANewerSystem) { EXPECT_TRUE(MGlobal::IsNT5OrLater()); }

TEST_F(UtilitiesTest, CentreCursorPutsTheCursorAtTheWindowsCentreWithHalvesDropped)
{
    struct Case { ScreenRect window; ScreenPoint centre; };
    const Case cases[] = {
        {{0, 0, 100, 50}, {50, 25}},
        {{10, 20, 111, 221}, {60, 120}},
        {{-300, -200, -100, 0}, {-200, -100}},
        {{5, 5, 5, 5}, {5, 5}},
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {-1, -1}},
    };
    for (const Case& c : cases) {
        cursor.cursor = {7, 8};
        cursor.windows[Dialog] = c.window;
        MGlobal::CentreCursor(Dialog, true);
        EXPECT_EQ(cursor.cursor, c.centre) << c.window.left << "," << c.window.top << " "
                                           << c.window.right << "," << c.window.bottom;
        MGlobal::RestoreCursor();
        EXPECT_EQ(cursor.cursor, (ScreenPoint{7, 8}));
    }
}

TEST_F(UtilitiesTest, CentreCursorWithoutMoveOrForAnUnknownWindowLeavesTheCursor)
{
    cursor.windows[Dialog] = {0, 0, 400, 300};
    for (WindowHandle window : {Dialog, UnknownWindow}) {
        cursor.cursor = {123, 45};
        MGlobal::CentreCursor(window, window == UnknownWindow);
        MGlobal::RestoreCursor();
        EXPECT_EQ(cursor.cursor, (ScreenPoint{123, 45}));
        EXPECT_EQ(cursor.moves, (std::vector<ScreenPoint>{{123, 45}})) << "only the restore moved it";
        cursor.moves.clear();
    }
}

TEST_F(UtilitiesTest, RestoreCursorGoesBackToWhereTheLastCentreCursorFoundIt)
{
    cursor.windows[Dialog] = {0, 0, 400, 300};
    cursor.cursor = {1, 1};
    MGlobal::CentreCursor(Dialog, true);
    cursor.cursor = {2, 2};  // the user moved it meanwhile
    MGlobal::CentreCursor(Dialog, true);
    MGlobal::RestoreCursor();
    EXPECT_EQ(cursor.cursor, (ScreenPoint{2, 2}));
}

TEST_F(UtilitiesTest, ShellOpenHandsTheTextOnUnchangedAndGivesTheShellsCode)
{
    const std::string texts[] = {
        "/home/user/My Documents/report \"final\"; v2.pdf",
        "https://example.com/?q=a b&c='d'",
        "$(touch /tmp/owned) `id` | rm -rf ~ > x",
        "-rf",
    };
    for (const std::string& text : texts) {
        shellFake.requests.clear();
        EXPECT_EQ(MGlobal::ShellOpen(Dialog, text), shell::Opened);
        ASSERT_EQ(shellFake.requests.size(), 1u);
        EXPECT_EQ(shellFake.requests[0].target, text);
        EXPECT_EQ(shellFake.requests[0].owner, Dialog);
    }
    shellFake.result = shell::NoAssociation;
    EXPECT_EQ(MGlobal::ShellOpen(NoWindow, "x.unknown"), shell::NoAssociation);
}

// ---- the desktop opener --------------------------------------------------------

namespace {

class OpenerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() /
                 ("tagwell-opener-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    // A stand-in opener that records its arguments, one per line, and exits
    // with the given status.
    std::string fakeOpener(int exitStatus)
    {
        const fs::path script = folder / "opener";
        std::ofstream(script) << "#!/bin/sh\n"
                              << "printf '%s\\n' \"$#\" > '" << record().string() << "'\n"
                              << "for a in \"$@\"; do printf '%s\\n' \"$a\"; done >> '" << record().string() << "'\n"
                              << "exit " << exitStatus << "\n";
        fs::permissions(script, fs::perms::owner_all);
        return script.string();
    }
    fs::path record() const { return folder / "arguments"; }
    std::string recorded() const
    {
        std::ifstream in(record());
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path folder;
};

}  // namespace

TEST_F(OpenerTest, TheTextReachesTheOpenerAsOneArgumentUntouched)
{
    XdgOpenShellService opener(fakeOpener(0), XdgOpenShellService::Completion::Wait);
    const std::string owned = (folder / "owned").string();
    const std::string injection = "my file; touch '" + owned + "' \"$HOME\" `touch " + owned + "` $(touch " +
                                  owned + ") *.ini";
    struct Case { std::string text; std::string argument; };
    const Case cases[] = {
        {injection, injection},
        {"https://example.com/a b?x='1'&y=2", "https://example.com/a b?x='1'&y=2"},
        {"--help", "./--help"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(opener.open(NoWindow, c.text), shell::Opened) << c.text;
        EXPECT_EQ(recorded(), "1\n" + c.argument + "\n");
    }
    EXPECT_FALSE(fs::exists(owned)) << "no command interpreter saw the text";
}

TEST_F(OpenerTest, FailuresGiveSmallCodes)
{
    XdgOpenShellService refusing(fakeOpener(3), XdgOpenShellService::Completion::Wait);
    XdgOpenShellService missing((folder / "no-such-opener").string(), XdgOpenShellService::Completion::Wait);
    struct Case { XdgOpenShellService* opener; std::string text; int32_t code; };
    const Case cases[] = {
        {&refusing, "document.pdf", shell::NoAssociation},
        {&missing, "document.pdf", shell::NoAssociation},
        {&refusing, "", shell::FileNotFound},
        {&refusing, std::string("a\0b", 3), shell::FileNotFound},
    };
    for (const Case& c : cases) {
        const int32_t code = c.opener->open(NoWindow, c.text);
        EXPECT_EQ(code, c.code) << c.text;
        EXPECT_FALSE(shell::succeeded(code));
    }
}
