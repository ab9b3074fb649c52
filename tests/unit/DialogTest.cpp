#include "framework/CmdUI.h"
#include "framework/Dialog.h"
#include "unit_tests_resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

// A dialog whose initialisation and first idle call run what the test asks.
class ProbeDialog : public CDialog {
public:
    ProbeDialog() : CDialog(IDD_PROBE) {}

    std::function<BOOL(ProbeDialog&)> onInit = [](ProbeDialog&) { return TRUE; };
    std::function<void(ProbeDialog&)> onFirstIdle;
    int idleCalls = 0;
    bool shown = false;

    bool IsEnabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(m_hWnd, id)) != FALSE; }

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        return onInit(*this);
    }
    MessageTable GetMessageTable() const override;

private:
    void OnClickedTen() { EndDialog(10); }
    void OnUpdateTen(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnUpdateEleven(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
    LRESULT OnKickIdle(WPARAM, LPARAM) {
        if (idleCalls++ == 0 && onFirstIdle) {
            onFirstIdle(*this);
        }
        return 0;
    }
    LRESULT OnShowWindow(WPARAM show, LPARAM) {
        shown = shown || show != FALSE;
        return 0;
    }

    static const MessageEntry kTable[];
};

const MessageEntry ProbeDialog::kTable[] = {
    OnCommand<&ProbeDialog::OnClickedTen>(10),
    OnUpdateCommand<&ProbeDialog::OnUpdateTen>(10),
    OnUpdateCommand<&ProbeDialog::OnUpdateEleven>(11),
    OnMessage<&ProbeDialog::OnKickIdle>(WM_KICKIDLE),
    OnMessage<&ProbeDialog::OnShowWindow>(WM_SHOWWINDOW),
};

MessageTable ProbeDialog::GetMessageTable() const {
    return kTable;
}

// Ends the probe dialog its timer belongs to.
void CALLBACK EndProbeDialog(HWND hwnd, UINT, UINT_PTR, DWORD) {
    static_cast<ProbeDialog*>(CWnd::FromHandle(hwnd))->EndDialog(IDOK);
}

class CommandUpdatePassTest : public ::testing::TestWithParam<bool> {};

TEST_P(CommandUpdatePassTest, HandlersSetTheirControlsAndTheRestFollowTheFlag) {
    const BOOL disableIfNoHandler = GetParam();
    std::map<int, bool> enabled;
    ProbeDialog dlg;
    dlg.onFirstIdle = [&](ProbeDialog& d) {
        d.UpdateDialogControls(&d, disableIfNoHandler);
        for (int id : {10, 11, 12, 13}) {
            enabled[id] = d.IsEnabled(id);
        }
        d.EndDialog(IDOK);
    };

    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_FALSE(enabled[10]);
    EXPECT_TRUE(enabled[11]);
    EXPECT_EQ(!disableIfNoHandler, enabled[12]);
    EXPECT_FALSE(enabled[13]) << "a disabled control without a handler is never enabled";
}

INSTANTIATE_TEST_SUITE_P(DisableIfNoHandler, CommandUpdatePassTest, ::testing::Bool());

TEST(DialogTest, IdleComesOnceTheQueueIsEmptyAndStopsWhenAnswered) {
    ProbeDialog dlg;
    dlg.onFirstIdle = [&](ProbeDialog& d) {
        // A burst of messages, after which idle should come back once.
        ::PostMessageW(d.m_hWnd, WM_NULL, 0, 0);
        ::PostMessageW(d.m_hWnd, WM_APP + 1, 0, 0);
    };
    dlg.onInit = [&](ProbeDialog& d) {
        ::SetTimer(d.m_hWnd, 1, 300, &EndProbeDialog);
        return TRUE;
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    // One call at the start and one after the burst (the handler answers 0 each
    // time); the platform's own messages may add one, but never a stream of calls.
    EXPECT_GE(dlg.idleCalls, 2);
    EXPECT_LE(dlg.idleCalls, 4);
}

TEST(DialogTest, FocusGoesToTheFirstTabStopAndEnterClicksIt) {
    int focusId = 0;
    ProbeDialog dlg;
    dlg.onFirstIdle = [&](ProbeDialog&) {
        HWND focus = ::GetFocus();
        focusId = ::GetDlgCtrlID(focus);
        ::PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 0);
    };
    // Not IDOK, the template's default button: the focused button takes Enter.
    EXPECT_EQ(10, dlg.DoModal());
    EXPECT_EQ(10, focusId);
}

TEST(DialogTest, EndedDuringInitialisationItIsNeverShown) {
    ProbeDialog dlg;
    dlg.onInit = [](ProbeDialog& d) {
        d.EndDialog(IDCANCEL);
        return FALSE;
    };
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_FALSE(dlg.shown);
    EXPECT_EQ(0, dlg.idleCalls);
}

struct CloseCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool toFocus;  // posted to the focused control rather than the dialog
    INT_PTR result;
};

class CloseRequestTest : public ::testing::TestWithParam<CloseCase> {};

// The framework's own OnOK and OnCancel end the dialog; each way of asking reaches one.
TEST_P(CloseRequestTest, ReachesOkOrCancel) {
    const CloseCase& c = GetParam();
    ProbeDialog dlg;
    dlg.onFirstIdle = [&](ProbeDialog& d) {
        ::PostMessageW(c.toFocus ? ::GetFocus() : d.m_hWnd, c.message, c.wParam, 0);
    };
    EXPECT_EQ(c.result, dlg.DoModal());
}

INSTANTIATE_TEST_SUITE_P(Requests, CloseRequestTest, ::testing::Values(
    CloseCase{"escape", WM_KEYDOWN, VK_ESCAPE, true, IDCANCEL},
    CloseCase{"close", WM_CLOSE, 0, false, IDCANCEL},
    CloseCase{"sc_close", WM_SYSCOMMAND, SC_CLOSE, false, IDCANCEL},
    CloseCase{"idcancel", WM_COMMAND, IDCANCEL, false, IDCANCEL},
    CloseCase{"idok", WM_COMMAND, IDOK, false, IDOK}),
    [](const auto& param) { return std::string(param.param.name); });

// What a wait started from a command sees: the handle a timer signals.
HANDLE g_waitedFor = nullptr;

void CALLBACK SignalTheWait(HWND, UINT, UINT_PTR, DWORD) {
    ::SetEvent(g_waitedFor);
}

void CALLBACK EndProbeDialogWithFive(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(hwnd, id);
    static_cast<ProbeDialog*>(CWnd::FromHandle(hwnd))->EndDialog(5);
}

// A wait runs the dialog's own loop: its keys reach the dialog manager (Tab
// moves the focus past the disabled button 11), idle passes run, and it ends
// when the handle is signalled.
TEST(ModalWaitTest, RunsTheDialogsLoopUntilTheHandleIsSignalled) {
    g_waitedFor = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool signalled = false;
    int idleDuringWait = 0;
    int focusAfterTab = 0;
    ProbeDialog dlg;
    dlg.onFirstIdle = [&](ProbeDialog& d) {
        const int idleBefore = d.idleCalls;
        ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        ::SetTimer(d.m_hWnd, 2, 300, &SignalTheWait);
        signalled = d.RunModalLoopUntil(g_waitedFor);
        ::KillTimer(d.m_hWnd, 2);
        idleDuringWait = d.idleCalls - idleBefore;
        focusAfterTab = ::GetDlgCtrlID(::GetFocus());
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(signalled);
    EXPECT_EQ(12, focusAfterTab) << "Tab during the wait goes to the next enabled tab stop";
    EXPECT_GE(idleDuringWait, 2) << "idle passes after the key and after the timer";
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(g_waitedFor, 0));
    ::CloseHandle(g_waitedFor);
}

// The exit command ends the dialog during a wait; the wait still runs until its
// process ends, and only then does the dialog's own loop return.
TEST(ModalWaitTest, EndingTheDialogDoesNotEndAWaitInsideIt) {
    g_waitedFor = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool signalled = false;
    ProbeDialog dlg;
    dlg.onFirstIdle = [&](ProbeDialog& d) {
        ::SetTimer(d.m_hWnd, 3, 50, &EndProbeDialogWithFive);
        ::SetTimer(d.m_hWnd, 2, 400, &SignalTheWait);
        signalled = d.RunModalLoopUntil(g_waitedFor);
        ::KillTimer(d.m_hWnd, 2);
    };
    EXPECT_EQ(5, dlg.DoModal());
    EXPECT_TRUE(signalled) << "the wait returned before its handle was signalled";
    ::CloseHandle(g_waitedFor);
}

// A wait for something the dialog's end makes moot (a viewer) ends with it.
TEST(ModalWaitTest, AWaitThatEndsWithTheDialogReturnsWhenItIsEnded) {
    HANDLE never = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool signalled = true;
    ProbeDialog dlg;
    dlg.onFirstIdle = [&](ProbeDialog& d) {
        ::SetTimer(d.m_hWnd, 3, 50, &EndProbeDialogWithFive);
        signalled = d.RunModalLoopUntil(never, WaitEnd::SignalledOrEnded);
    };
    EXPECT_EQ(5, dlg.DoModal());
    EXPECT_FALSE(signalled);
    ::CloseHandle(never);
}

bool g_hiddenWhenEnded = false;
bool g_reopened = false;
bool g_visibleAgain = false;

// Takes the probe dialog's end back, then lets its wait end.
void CALLBACK ReopenProbeDialog(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(hwnd, id);
    g_hiddenWhenEnded = !::IsWindowVisible(hwnd);
    g_reopened = static_cast<ProbeDialog*>(CWnd::FromHandle(hwnd))->Reopen();
    g_visibleAgain = ::IsWindowVisible(hwnd) != FALSE;
    ::SetEvent(g_waitedFor);
}

void CALLBACK EndProbeDialogWithSix(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(hwnd, id);
    static_cast<ProbeDialog*>(CWnd::FromHandle(hwnd))->EndDialog(6);
}

// Ended during a wait that outlives the end, then reopened: the dialog shows
// again and its loop runs on after the wait, until it is ended once more.
TEST(ModalWaitTest, ReopenedDuringALastingWaitTheDialogRunsOnAfterIt) {
    g_waitedFor = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ProbeDialog dlg;
    dlg.onFirstIdle = [&](ProbeDialog& d) {
        ::SetTimer(d.m_hWnd, 3, 50, &EndProbeDialogWithFive);
        ::SetTimer(d.m_hWnd, 5, 250, &ReopenProbeDialog);
        d.RunModalLoopUntil(g_waitedFor);
        ::SetTimer(d.m_hWnd, 4, 50, &EndProbeDialogWithSix);
    };
    EXPECT_EQ(6, dlg.DoModal()) << "the dialog's loop should have run on after the wait";
    EXPECT_TRUE(g_hiddenWhenEnded);
    EXPECT_TRUE(g_reopened);
    EXPECT_TRUE(g_visibleAgain);
    ::CloseHandle(g_waitedFor);
}

// Nothing to take back: a dialog that is not ended, or one ended with no wait
// that outlives the end, stays as it is.
TEST(ModalWaitTest, ReopenDoesNothingUnlessALastingWaitRuns) {
    bool whileOpen = true;
    bool afterEnd = true;
    ProbeDialog dlg;
    dlg.onFirstIdle = [&](ProbeDialog& d) {
        whileOpen = d.Reopen();
        d.EndDialog(7);
        afterEnd = d.Reopen();
    };
    EXPECT_EQ(7, dlg.DoModal());
    EXPECT_FALSE(whileOpen);
    EXPECT_FALSE(afterEnd);
}

TEST(ModalWaitTest, AQuitEndsTheWaitAndTheDialogAndStaysQueued) {
    HANDLE never = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool signalled = true;
    ProbeDialog dlg;
    dlg.onFirstIdle = [&](ProbeDialog& d) {
        ::PostQuitMessage(7);
        signalled = d.RunModalLoopUntil(never);
    };
    EXPECT_EQ(-1, dlg.DoModal());
    EXPECT_FALSE(signalled);
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
    ::CloseHandle(never);
}

TEST(ModalWaitTest, AFailedWaitReturnsInsteadOfSpinning) {
    HANDLE closed = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ::CloseHandle(closed);
    bool signalled = true;
    ProbeDialog dlg;
    dlg.onFirstIdle = [&](ProbeDialog& d) {
        signalled = d.RunModalLoopUntil(closed);
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_FALSE(signalled) << "a failed wait is not the process's end";
}

// Disabling the focused control through the command-update pass hands the
// focus to the next tab stop instead of leaving the dialog without one.
TEST(DialogTest, DisablingTheFocusedControlMovesTheFocusOn) {
    int focusAfter = -1;
    ProbeDialog dlg;
    dlg.onFirstIdle = [&](ProbeDialog& d) {
        ASSERT_EQ(10, ::GetDlgCtrlID(::GetFocus()));
        d.UpdateDialogControls(&d, FALSE);  // 10's handler disables it
        focusAfter = ::GetDlgCtrlID(::GetFocus());
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(12, focusAfter);
}

TEST(DialogTest, QuitEndsTheLoopAndStaysQueued) {
    ProbeDialog dlg;
    dlg.onFirstIdle = [](ProbeDialog&) { ::PostQuitMessage(3); };
    EXPECT_EQ(-1, dlg.DoModal());
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, msg.wParam);
}

}  // namespace
