#include "launch/Launch.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kSignalMessage = WM_APP + 10;

// A message-only window that sets an event when it receives kSignalMessage.
class SignalWindow {
public:
    explicit SignalWindow(HANDLE event) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &SignalWindow::Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LaunchTest.Signal";
        ::RegisterClassW(&wc);
        m_hWnd = ::CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(event));
    }
    ~SignalWindow() { ::DestroyWindow(m_hWnd); }
    HWND m_hWnd;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kSignalMessage) {
            ::SetEvent(reinterpret_cast<HANDLE>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
            return 0;
        }
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

TEST(WaitDispatchingMessagesTest, DispatchesMessagesWhileItWaits) {
    // The only way the event gets set is by the wait dispatching the posted message.
    HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SignalWindow window(event);
    ::PostMessageW(window.m_hWnd, kSignalMessage, 0, 0);

    EXPECT_TRUE(WaitDispatchingMessages(event));

    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(event, 0));
    ::CloseHandle(event);
}

TEST(WaitDispatchingMessagesTest, LeavesOnQuitAndPostsItAgain) {
    HANDLE never = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ::PostQuitMessage(7);

    EXPECT_FALSE(WaitDispatchingMessages(never));

    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
    ::CloseHandle(never);
}

TEST(WaitDispatchingMessagesTest, LeavesWhenTheWaitFails) {
    HANDLE closed = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ::CloseHandle(closed);

    // Returns, saying the process was not seen to end, rather than spinning
    // on WAIT_FAILED or taking the failure for the end.
    EXPECT_FALSE(WaitDispatchingMessages(closed));
}

}  // namespace
