// 終了 while something the menu started still runs. Setup is seen through: the
// process waits for it with the menu closed, a start from the same disc brings
// that menu back (its install button still off), and the process ends once
// Setup has ended and the menu is closed. Nothing waits for the manual's viewer
// once the menu is closed; the viewer stays open.
#include "DiscFixture.h"
#include "tests/support/Input.h"

namespace e2e {
namespace {

class ClosingTest : public DiscFixture {
protected:
    // Starts the launcher again from the same disc and waits for it to end,
    // watching that it shows no window of its own.
    ::testing::AssertionResult StartAgainAndSeeItHandOver() {
        ChildProcess second;
        if (!StartLauncherProcess(second, m_disc + L"Autorun.exe", kJapaneseLocale, m_root)) {
            return ::testing::AssertionFailure() << "could not start it again";
        }
        bool ownWindow = false;
        const bool ended = WaitUntil([&] {
            ownWindow = ownWindow || FindLauncherWindow(second.ThreadId()) != nullptr;
            return !second.Running();
        });
        if (!ended) return ::testing::AssertionFailure() << "the second launcher did not end";
        if (ownWindow) return ::testing::AssertionFailure() << "the second launcher showed a menu of its own";
        if (second.ExitCode() != 0) return ::testing::AssertionFailure() << "exit code " << second.ExitCode();
        return ::testing::AssertionSuccess();
    }

    void CloseDuringSetup() {
        Click(IDC_INSTALL);
        ASSERT_TRUE(WaitUntil([&] { return Count("start", "setup") == 1; }));
        CloseMenu();
    }

    void CloseMenu() {
        Click(IDC_EXIT);
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(m_dialog); })) << "the menu closes at once";
        ASSERT_TRUE(Running()) << "while Setup runs its process waits for it";
    }
};

TEST_F(ClosingTest, StartedAgainDuringSetupTheClosedMenuComesBackWithInstallOff) {
    StartLauncher();
    CloseDuringSetup();

    ASSERT_TRUE(StartAgainAndSeeItHandOver());
    EXPECT_TRUE(::IsWindowVisible(m_dialog)) << "the menu of that disc should be back";
    EXPECT_EQ(m_dialog, ::GetForegroundWindow());
    EXPECT_FALSE(::IsWindowEnabled(Button(IDC_INSTALL))) << "Setup still runs";
    EXPECT_TRUE(WaitUntil([&] { return FocusedId() == IDC_MANUAL; })) << "focus on " << FocusedId();

    // A click on the disabled button, and one that reaches the command anyway,
    // start no second Setup.
    Click(IDC_INSTALL);
    DWORD_PTR ignored = 0;
    EXPECT_NE(0, ::SendMessageTimeoutW(m_dialog, WM_COMMAND, MAKEWPARAM(IDC_INSTALL, BN_CLICKED),
                                       reinterpret_cast<LPARAM>(Button(IDC_INSTALL)), SMTO_ABORTIFHUNG,
                                       2000, &ignored));
    EXPECT_TRUE(Responsive());
    EXPECT_EQ(1, Count("start", "setup"));
    EXPECT_EQ(0, Count("end", "setup")) << "closing the menu must not end Setup";

    // Setup's end brings the button back in the menu that came back, which
    // stays until it is closed.
    Release(L"setup");
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Button(IDC_INSTALL)) != FALSE; }));
    EXPECT_TRUE(Running());
    Click(IDC_EXIT);
    EXPECT_TRUE(m_process.WaitForExit(kPatienceMs));
}

TEST_F(ClosingTest, ClosedAgainAfterComingBackItEndsWithSetup) {
    StartLauncher();
    CloseDuringSetup();
    ASSERT_TRUE(StartAgainAndSeeItHandOver());
    ASSERT_TRUE(::IsWindowVisible(m_dialog));
    CloseMenu();

    Release(L"setup");
    EXPECT_TRUE(m_process.WaitForExit(kPatienceMs)) << "no launcher of the disc may be left once Setup has ended";
    EXPECT_EQ(0u, m_process.ExitCode());
}

// The order in which the manual and Setup were opened before 終了.
struct OpenOrder {
    const char* name;
    std::vector<int> buttons;
    friend void PrintTo(const OpenOrder& c, std::ostream* os) { *os << c.name; }
};

class ClosingWithTheManualOpenTest : public ClosingTest, public ::testing::WithParamInterface<OpenOrder> {};

TEST_P(ClosingWithTheManualOpenTest, WaitsOnlyForSetupAndLeavesTheViewerOpen) {
    StartLauncher();
    bool setup = false;
    for (int id : GetParam().buttons) {
        Click(id);
        const char* role = id == IDC_INSTALL ? "setup" : "viewer";
        ASSERT_TRUE(WaitUntil([&] { return Count("start", role) == 1; })) << role;
        setup = setup || id == IDC_INSTALL;
    }
    Click(IDC_EXIT);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(m_dialog); }));

    if (setup) {
        EXPECT_FALSE(m_process.WaitForExit(500)) << "it must wait for Setup";
        Release(L"setup");
    }
    EXPECT_TRUE(m_process.WaitForExit(kPatienceMs)) << "the process should end without waiting for the viewer";
    EXPECT_EQ(0, Count("end", "viewer")) << "the viewer must not be ended";
}

INSTANTIATE_TEST_SUITE_P(Orders, ClosingWithTheManualOpenTest, ::testing::Values(
    OpenOrder{"ManualOnly", {IDC_MANUAL}},
    OpenOrder{"ManualThenSetup", {IDC_MANUAL, IDC_INSTALL}},
    OpenOrder{"SetupThenManual", {IDC_INSTALL, IDC_MANUAL}}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace e2e
