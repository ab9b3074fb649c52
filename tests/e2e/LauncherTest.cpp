// Drives the launcher the way a person does, with keyboard and pointer input.
#include "DiscFixture.h"
#include "tests/support/Input.h"

#include <functional>

namespace e2e {
namespace {

class LauncherTest : public DiscFixture {};

TEST_F(LauncherTest, ShowsTheFourButtonsWithFocusOnTheManual) {
    StartLauncher();
    EXPECT_EQ(L"インストールについて", WindowText(Button(IDC_MANUAL)));
    EXPECT_EQ(L"プログラムのインストール", WindowText(Button(IDC_INSTALL)));
    EXPECT_EQ(L"CDを開く", WindowText(Button(IDC_OPEN_DISC)));
    EXPECT_EQ(L"終了", WindowText(Button(IDC_EXIT)));
    for (int id : {IDC_MANUAL, IDC_INSTALL, IDC_OPEN_DISC, IDC_EXIT}) {
        EXPECT_TRUE(::IsWindowVisible(Button(id)) && ::IsWindowEnabled(Button(id))) << id;
    }
    EXPECT_FALSE(::IsWindowVisible(Button(IDOK)));
    EXPECT_FALSE(::IsWindowVisible(Button(IDCANCEL)));
    EXPECT_EQ(IDC_MANUAL, FocusedId());
}

TEST_F(LauncherTest, TabVisitsTheVisibleButtonsInOrder) {
    StartLauncher();
    for (int expected : {IDC_INSTALL, IDC_OPEN_DISC, IDC_EXIT, IDC_MANUAL}) {
        PressKeys({VK_TAB});
        EXPECT_TRUE(WaitUntil([&] { return FocusedId() == expected; }))
            << "expected focus on " << expected << ", have " << FocusedId();
    }
}

struct CloseAttempt {
    const char* name;
    std::function<void(HWND dialog)> attempt;
    friend void PrintTo(const CloseAttempt& c, std::ostream* os) { *os << c.name; }
};

class LauncherCloseTest : public LauncherTest, public ::testing::WithParamInterface<CloseAttempt> {};

TEST_P(LauncherCloseTest, LeavesTheLauncherOpen) {
    StartLauncher();
    GetParam().attempt(m_dialog);
    // Tab is handled only after what came before it, so once the focus has moved
    // the attempt has been dealt with.
    PressKeys({VK_TAB});
    ASSERT_TRUE(WaitUntil([&] { return FocusedId() == IDC_INSTALL; }));
    EXPECT_TRUE(Running());
    EXPECT_TRUE(::IsWindowVisible(m_dialog));
    EXPECT_EQ(nullptr, FindMessageBox());
}

INSTANTIATE_TEST_SUITE_P(Attempts, LauncherCloseTest, ::testing::Values(
    CloseAttempt{"Escape", [](HWND) { PressKeys({VK_ESCAPE}); }},
    CloseAttempt{"AltF4", [](HWND) { PressKeys({VK_MENU, VK_F4}); }},
    CloseAttempt{"F1", [](HWND) { PressKeys({VK_F1}); }},
    CloseAttempt{"WmClose", [](HWND dialog) { ::PostMessageW(dialog, WM_CLOSE, 0, 0); }},
    CloseAttempt{"ScClose", [](HWND dialog) { ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(LauncherTest, EnterRightAfterStartOpensTheManual) {
    StartLauncher();
    PressKeys({VK_RETURN});
    ASSERT_TRUE(WaitUntil([&] { return Count("start", "viewer") == 1; }));
    EXPECT_NE(std::string::npos, LogLines()[0].find(Utf8(m_disc + L"Install.pdf")));
    EXPECT_EQ(0, Count("start", "setup"));
}

TEST_F(LauncherTest, InstallRunsOneSetupAndComesBackWhenItEnds) {
    StartLauncher();
    Click(IDC_INSTALL);
    ASSERT_TRUE(WaitUntil([&] { return Count("start", "setup") == 1; }));
    EXPECT_FALSE(::IsWindowEnabled(Button(IDC_INSTALL)));

    // Clicks on the disabled button, and a click that reaches the command anyway,
    // start nothing: the command returns at once while Setup runs.
    for (int i = 0; i < 3; ++i) Click(IDC_INSTALL);
    DWORD_PTR ignored = 0;
    EXPECT_NE(0, ::SendMessageTimeoutW(m_dialog, WM_COMMAND, MAKEWPARAM(IDC_INSTALL, BN_CLICKED),
                                       reinterpret_cast<LPARAM>(Button(IDC_INSTALL)), SMTO_ABORTIFHUNG,
                                       2000, &ignored));
    EXPECT_TRUE(Responsive()) << "the launcher must keep answering while Setup runs";
    ::Sleep(500);
    EXPECT_EQ(1, Count("start", "setup"));
    EXPECT_FALSE(::IsWindowEnabled(Button(IDC_INSTALL)));

    Release(L"setup");
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Button(IDC_INSTALL)) != FALSE; }))
        << "the install button should come back by itself";
    EXPECT_EQ(1, Count("end", "setup"));
    EXPECT_TRUE(Running());
}

TEST_F(LauncherTest, ManualOpensWhileSetupRunsWithoutFreeingInstall) {
    StartLauncher();
    Click(IDC_INSTALL);
    ASSERT_TRUE(WaitUntil([&] { return Count("start", "setup") == 1; }));

    Click(IDC_MANUAL);
    ASSERT_TRUE(WaitUntil([&] { return Count("start", "viewer") == 1; }));
    Release(L"viewer");
    ASSERT_TRUE(WaitUntil([&] { return Count("end", "viewer") == 1; }));
    EXPECT_TRUE(Responsive());
    ::Sleep(300);
    EXPECT_FALSE(::IsWindowEnabled(Button(IDC_INSTALL))) << "Setup is still running";

    Release(L"setup");
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Button(IDC_INSTALL)) != FALSE; }));
    EXPECT_EQ(1, Count("start", "setup"));
}

// Every click on the manual button opens the manual, even while earlier viewers
// stay open; and clicking it many times must not stack a wait per click, which
// under Wine stops the launcher once 64 window procedures are nested.
TEST_F(LauncherTest, ManyManualClicksWhileViewersStayOpenLeaveItWorking) {
    constexpr int kClicks = 80;
    StartLauncher();
    for (int i = 1; i <= kClicks; ++i) {
        // Alternating sides of the button, so that no two clicks make a double-click.
        Click(IDC_MANUAL, i % 2 ? -60 : 60);
        ASSERT_TRUE(WaitUntil([&] { return Count("start", "viewer") == i; })) << "click " << i << " opened nothing";
    }
    EXPECT_EQ(nullptr, FindMessageBox());

    Release(L"viewer");
    ASSERT_TRUE(WaitUntil([&] { return Count("end", "viewer") == kClicks; }, 60000))
        << Count("end", "viewer") << " of " << kClicks << " viewers ended";
    Click(IDC_INSTALL);
    ASSERT_TRUE(WaitUntil([&] { return Count("start", "setup") == 1; })) << "the launcher stopped taking clicks";
    Release(L"setup");
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Button(IDC_INSTALL)) != FALSE; }));
    EXPECT_TRUE(Responsive());
}

// The focused control if it is enabled, or 0.
int EnabledFocus(HWND dialog, int focused) {
    return focused != 0 && ::IsWindowEnabled(::GetDlgItem(dialog, focused)) ? focused : 0;
}

TEST_F(LauncherTest, AfterAClickOnInstallTheKeyboardStillHasAControl) {
    StartLauncher();
    Click(IDC_INSTALL);
    ASSERT_TRUE(WaitUntil([&] { return Count("start", "setup") == 1; }));
    EXPECT_TRUE(WaitUntil([&] { return EnabledFocus(m_dialog, FocusedId()) != 0; }))
        << "during the wait the focus is on " << FocusedId();
    EXPECT_NE(IDC_INSTALL, FocusedId());

    Release(L"setup");
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Button(IDC_INSTALL)) != FALSE; }));
    EXPECT_NE(0, EnabledFocus(m_dialog, FocusedId())) << "after Setup the focus is on " << FocusedId();
}

// While Setup runs the dialog keys work as before it: Tab skips the disabled
// install button, Enter presses the focused one.
TEST_F(LauncherTest, DuringAWaitTabMovesTheFocusAndEnterPressesTheButton) {
    StartLauncher();
    Click(IDC_INSTALL);
    ASSERT_TRUE(WaitUntil([&] { return Count("start", "setup") == 1; }));
    ASSERT_TRUE(WaitUntil([&] { return FocusedId() == IDC_OPEN_DISC; })) << "focus on " << FocusedId();

    ::SetForegroundWindow(m_dialog);
    for (int expected : {IDC_EXIT, IDC_MANUAL}) {
        PressKeys({VK_TAB});
        EXPECT_TRUE(WaitUntil([&] { return FocusedId() == expected; }))
            << "expected focus on " << expected << ", have " << FocusedId();
    }
    PressKeys({VK_RETURN});
    EXPECT_TRUE(WaitUntil([&] { return Count("start", "viewer") == 1; })) << "Enter on the manual button";
    EXPECT_EQ(1, Count("start", "setup"));
}

// The manual's viewer stays open while the user reads; Setup ending must still
// bring the install button back, from inside the manual's wait.
TEST_F(LauncherTest, InstallComesBackWhileTheManualsViewerStaysOpen) {
    StartLauncher();
    Click(IDC_MANUAL);
    ASSERT_TRUE(WaitUntil([&] { return Count("start", "viewer") == 1; }));
    Click(IDC_INSTALL);
    ASSERT_TRUE(WaitUntil([&] { return Count("start", "setup") == 1; }));
    EXPECT_FALSE(::IsWindowEnabled(Button(IDC_INSTALL)));

    Release(L"setup");
    ASSERT_TRUE(WaitUntil([&] { return Count("end", "setup") == 1; }));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Button(IDC_INSTALL)) != FALSE; }, 3000))
        << "the install button stayed disabled while the viewer is open";
    EXPECT_EQ(0, Count("end", "viewer"));
}

// A second start from the same disc (AutoPlay again, a double click on the
// drive) shows nothing and brings the first menu forward, restored.
TEST_F(LauncherTest, ASecondStartFromTheSameDiscBringsTheFirstMenuForward) {
    StartLauncher();
    HWND first = m_dialog;
    ::ShowWindow(first, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(first) != FALSE; }));

    ChildProcess second;
    ASSERT_TRUE(StartLauncherProcess(second, m_disc + L"Autorun.exe", kJapaneseLocale, m_root));
    bool secondShowedAWindow = false;
    EXPECT_TRUE(WaitUntil([&] {
        secondShowedAWindow = secondShowedAWindow || FindLauncherWindow(second.ThreadId()) != nullptr ||
                              FindMessageBox() != nullptr;
        return !second.Running();
    })) << "the second launcher did not end";
    EXPECT_FALSE(secondShowedAWindow);
    EXPECT_EQ(0u, second.ExitCode());
    EXPECT_TRUE(WaitUntil([&] { return !::IsIconic(first) && ::GetForegroundWindow() == first; }))
        << "the first menu should be restored and in front";
    EXPECT_TRUE(Running());
}

TEST_F(LauncherTest, ALauncherFromAnotherFolderIsItsOwnMenu) {
    StartLauncher();
    const std::wstring other = m_root + L"ディスク 2\\";
    ASSERT_TRUE(::CreateDirectoryW(other.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileW((ExecutableFolder() + kWineLauncher).c_str(), (other + L"Autorun.exe").c_str(), FALSE));

    ChildProcess second;
    ASSERT_TRUE(StartLauncherProcess(second, other + L"Autorun.exe", kJapaneseLocale, m_root));
    HWND menu = WaitForLauncherWindow(second);
    EXPECT_NE(nullptr, menu) << "another disc's launcher opens its own menu";
    EXPECT_TRUE(Running());
    EndLauncher(second, menu);
}

struct MissingTarget {
    const char* name;
    const wchar_t* file;      // what the disc lacks (or holds as a folder)
    bool asFolder;
    int button;
    const wchar_t* message;
    friend void PrintTo(const MissingTarget& c, std::ostream* os) { *os << c.name; }
};

class LauncherMissingTargetTest : public LauncherTest, public ::testing::WithParamInterface<MissingTarget> {};

TEST_P(LauncherMissingTargetTest, SaysItIsNotFoundAndStartsNothing) {
    const MissingTarget& c = GetParam();
    const std::wstring path = m_disc + c.file;
    ::DeleteFileW(path.c_str());
    if (c.asFolder) ::CreateDirectoryW(path.c_str(), nullptr);

    StartLauncher();
    Click(c.button);
    EXPECT_TRUE(ExpectMessageBox(c.message));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Button(IDC_INSTALL)) != FALSE; }));
    EXPECT_TRUE(Running());
    EXPECT_TRUE(LogLines().empty()) << "nothing may be started";
}

INSTANTIATE_TEST_SUITE_P(Targets, LauncherMissingTargetTest, ::testing::Values(
    MissingTarget{"Setup", L"Setup.exe", false, IDC_INSTALL, L"Setup.exeが見つかりません。"},
    MissingTarget{"SetupIsAFolder", L"Setup.exe", true, IDC_INSTALL, L"Setup.exeが見つかりません。"},
    MissingTarget{"Manual", L"Install.pdf", false, IDC_MANUAL, L"ドキュメントが見つかりません。"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(LauncherTest, SetupTheShellCannotStartGivesTheFailureMessage) {
    ASSERT_TRUE(WriteTextFile(m_disc + L"Setup.exe", "not a program"));
    StartLauncher();
    Click(IDC_INSTALL);
    EXPECT_TRUE(ExpectMessageBox(L"インストーラの起動に失敗しました。"));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Button(IDC_INSTALL)) != FALSE; }));
    EXPECT_TRUE(Running());
}

TEST_F(LauncherTest, ManualWithoutAViewerGivesTheFailureMessage) {
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L".pdf");
    StartLauncher();
    Click(IDC_MANUAL);
    EXPECT_TRUE(ExpectMessageBox(L"ドキュメントを開けませんでした。"));
    EXPECT_TRUE(Running());
    SetUpTestSuite();
}

TEST_F(LauncherTest, OpenDiscShowsTheLaunchersFolder) {
    StartLauncher();
    Click(IDC_OPEN_DISC);
    ASSERT_TRUE(WaitUntil([&] { return Count("start", "browser") == 1; }));
    const std::string line = LogLines()[0];
    const std::string folder = Utf8(m_disc);
    EXPECT_NE(std::string::npos, line.find(folder.substr(0, folder.size() - 1))) << line;
    EXPECT_TRUE(Running());
}

TEST_F(LauncherTest, ExitButtonEndsTheProcess) {
    StartLauncher();
    Click(IDC_EXIT);
    ASSERT_TRUE(m_process.WaitForExit(kPatienceMs));
    EXPECT_EQ(0u, m_process.ExitCode());
}

TEST_F(LauncherTest, ExitDuringSetupEndsOnlyAfterSetupEnds) {
    StartLauncher();
    Click(IDC_INSTALL);
    ASSERT_TRUE(WaitUntil([&] { return Count("start", "setup") == 1; }));
    Click(IDC_EXIT);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(m_dialog); })) << "the window goes at once";
    ::Sleep(500);
    EXPECT_TRUE(Running()) << "but the process waits for Setup";

    Release(L"setup");
    EXPECT_TRUE(m_process.WaitForExit(kPatienceMs));
}

}  // namespace
}  // namespace e2e
