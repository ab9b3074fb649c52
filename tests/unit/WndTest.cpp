#include "framework/Wnd.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

// A subclassed static control that counts the messages it sees.
class CountingWnd : public CWnd {
public:
    int m_messages = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        ++m_messages;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

HWND MakeWindow(HWND parent = nullptr) {
    return ::CreateWindowExW(0, L"STATIC", L"", parent != nullptr ? WS_CHILD : WS_POPUP, 0, 0, 10, 10, parent,
                             nullptr, nullptr, nullptr);
}

// More windows than the map first has room for; each finds its own object, a
// destroyed window or object finds none, and the others are unaffected.
TEST(HandleMapTest, EachWindowFindsItsObjectUntilEitherGoes) {
    constexpr int kWindows = 20;
    std::vector<std::unique_ptr<CountingWnd>> objects;
    std::vector<HWND> windows;
    for (int i = 0; i < kWindows; ++i) {
        windows.push_back(MakeWindow());
        ASSERT_NE(nullptr, windows.back());
        objects.push_back(std::make_unique<CountingWnd>());
        ASSERT_TRUE(objects.back()->SubclassWindow(windows.back()));
    }
    EXPECT_FALSE(objects[0]->SubclassWindow(windows[1])) << "an object attached once";
    CountingWnd other;
    EXPECT_FALSE(other.SubclassWindow(windows[1])) << "a window attached once";

    for (int i = 0; i < kWindows; ++i) {
        EXPECT_EQ(objects[i].get(), CWnd::FromHandle(windows[i])) << i;
        ::SendMessageW(windows[i], WM_NULL, 0, 0);
        EXPECT_EQ(1, objects[i]->m_messages) << "the message reached window " << i << "'s object";
    }

    ::DestroyWindow(windows[3]);   // the window first
    objects[7].reset();            // the object first: its window is handed back
    EXPECT_EQ(nullptr, CWnd::FromHandle(windows[3]));
    EXPECT_EQ(nullptr, CWnd::FromHandle(windows[7]));
    EXPECT_EQ(0, ::SendMessageW(windows[7], WM_NULL, 0, 0)) << "the control works on its own again";
    for (int i = 0; i < kWindows; ++i) {
        if (i == 3 || i == 7) continue;
        EXPECT_EQ(objects[i].get(), CWnd::FromHandle(windows[i])) << i;
    }
    EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));
    for (int i = 0; i < kWindows; ++i) {
        if (i != 3) ::DestroyWindow(windows[i]);
    }
    for (int i = 0; i < kWindows; ++i) {
        EXPECT_EQ(nullptr, CWnd::FromHandle(windows[i])) << i;
    }
}

// A window whose procedure this process may not replace (the desktop's, which
// another process owns): refused, and the object is left bound to nothing.
TEST(HandleMapTest, AWindowThatCannotBeSubclassedLeavesTheObjectUnbound) {
    HWND desktop = ::GetDesktopWindow();
    DWORD owner = 0;
    ::GetWindowThreadProcessId(desktop, &owner);
    ASSERT_NE(::GetCurrentProcessId(), owner);

    CountingWnd wnd;
    EXPECT_FALSE(wnd.SubclassWindow(desktop));
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandle(desktop));

    HWND own = MakeWindow();
    EXPECT_TRUE(wnd.SubclassWindow(own)) << "the object is free for a window of its own";
    ::DestroyWindow(own);
}

// Two threads subclassing one window at the same moment, round after round:
// exactly one wins each time, and the window's messages reach the winner.
TEST(HandleMapTest, OfTwoThreadsSubclassingOneWindowExactlyOneWins) {
    constexpr int kRounds = 1000;
    constexpr int kStop = -2;
    HWND window = MakeWindow();
    ASSERT_NE(nullptr, window);
    std::unique_ptr<CountingWnd> contenders[2];
    BOOL won[2] = {};
    std::atomic<int> round{-1};
    std::atomic<int> arrived{0};
    std::atomic<int> finished{0};
    auto contend = [&](int i) {
        for (int r = 0;; ++r) {
            int now = round;
            for (; now != r && now != kStop; now = round) {
                std::this_thread::yield();
            }
            if (now == kStop) {
                return;
            }
            // Both leave this barrier together: it spins rather than yields.
            ++arrived;
            while (arrived < 2 * (r + 1)) {
            }
            won[i] = contenders[i]->SubclassWindow(window);
            ++finished;
        }
    };
    std::thread first(contend, 0);
    std::thread second(contend, 1);
    int bothWon = -1;
    for (int r = 0; r < kRounds; ++r) {
        contenders[0] = std::make_unique<CountingWnd>();  // the last winner hands the window back
        contenders[1] = std::make_unique<CountingWnd>();
        round = r;
        while (finished < 2 * (r + 1)) {
            std::this_thread::yield();
        }
        // Both bound would send each message round in circles: stop before any is sent.
        if (won[0] + won[1] != 1) {
            bothWon = r;
            break;
        }
        CountingWnd& winner = *contenders[won[0] ? 0 : 1];
        EXPECT_EQ(&winner, CWnd::FromHandle(window)) << "round " << r;
        EXPECT_EQ(nullptr, contenders[won[0] ? 1 : 0]->m_hWnd) << "round " << r;
        ::SendMessageW(window, WM_NULL, 0, 0);
        EXPECT_EQ(1, winner.m_messages) << "round " << r;
    }
    round = kStop;
    first.join();
    second.join();
    EXPECT_EQ(-1, bothWon) << "both threads subclassed the window in round " << bothWon;
    contenders[0].reset();
    contenders[1].reset();
    ::DestroyWindow(window);
}

// The window's own thread sends it a message the moment another thread's object
// has put its procedure in place, round after round: the message reaches the
// control's own procedure through the object (a static control answers
// WM_GETDLGCODE with DLGC_STATIC), never the default one.
TEST(HandleMapTest, AWindowSubclassedFromAnotherThreadPassesItsFirstMessageOn) {
    constexpr int kRounds = 20000;
    HWND window = MakeWindow();
    ASSERT_NE(nullptr, window);
    const LONG_PTR own = ::GetWindowLongPtrW(window, GWLP_WNDPROC);
    std::atomic<int> subclass{0};
    std::atomic<int> unsubclass{0};
    std::atomic<bool> refused{false};
    std::thread other([&] {
        for (int r = 1; r <= kRounds; ++r) {
            CWnd wnd;
            while (subclass != r) {
                std::this_thread::yield();
            }
            if (!wnd.SubclassWindow(window)) {
                refused = true;
                return;
            }
            while (unsubclass != r) {
                std::this_thread::yield();
            }
            wnd.UnsubclassWindow();
        }
    });
    int lost = 0;
    int firstLost = 0;
    for (int r = 1; r <= kRounds && !refused; ++r) {
        subclass = r;
        // Spins rather than yields: the message goes as soon as the procedure is in.
        while (::GetWindowLongPtrW(window, GWLP_WNDPROC) == own && !refused) {
        }
        if (!refused && ::SendMessageW(window, WM_GETDLGCODE, 0, 0) != DLGC_STATIC && lost++ == 0) {
            firstLost = r;
        }
        unsubclass = r;
        while (!refused && ::GetWindowLongPtrW(window, GWLP_WNDPROC) != own) {
            std::this_thread::yield();
        }
    }
    other.join();
    EXPECT_FALSE(refused);
    EXPECT_EQ(0, lost) << "first messages that missed the control's own procedure, the first in round " << firstLost;
    ::DestroyWindow(window);
}

TEST(GetCenteredPositionTest, CentresOnTheWindowGivenAndKeepsALargerOneOnIt) {
    HWND over = MakeWindow();
    ::SetWindowPos(over, nullptr, 100, 50, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    CWnd wnd;
    const POINT centred = wnd.GetCenteredPosition(over, 200, 100);
    EXPECT_EQ(200, centred.x);
    EXPECT_EQ(150, centred.y);
    const POINT larger = wnd.GetCenteredPosition(over, 1000, 1000);
    EXPECT_EQ(100, larger.x) << "its top left corner stays on the area";
    EXPECT_EQ(50, larger.y);
    ::DestroyWindow(over);
}

}  // namespace
