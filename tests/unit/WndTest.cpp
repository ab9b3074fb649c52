#include "framework/Wnd.h"

#include <gtest/gtest.h>

#include <memory>
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
