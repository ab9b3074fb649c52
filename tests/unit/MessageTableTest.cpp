#include "framework/Button.h"
#include "framework/CmdUI.h"
#include "framework/MessageTable.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr UINT kCustomMessage = WM_APP + 5;
UINT g_registeredMessage = 0;  // as a program keeps what RegisterWindowMessage gave

class RoutedWnd : public CWnd {
public:
    using CWnd::OnWndMsg;

    std::string calls;
    WPARAM lastWParam = 0;
    LPARAM lastLParam = 0;
    CCmdUI* lastCmdUI = nullptr;

protected:
    MessageTable GetMessageTable() const override;

private:
    void OnClickedFirst() { calls += "first "; }
    void OnDoubleClickedFirst() { calls += "first-double "; }
    void OnClickedSecond() { calls += "second "; }
    void OnUpdateFirst(CCmdUI* pCmdUI) {
        calls += "update-first ";
        lastCmdUI = pCmdUI;
    }
    LRESULT OnCustom(WPARAM wParam, LPARAM lParam) {
        calls += "custom ";
        lastWParam = wParam;
        lastLParam = lParam;
        return 42;
    }
    LRESULT OnRegistered(WPARAM, LPARAM) {
        calls += "registered ";
        return 43;
    }

    static const MessageEntry kTable[];
};

const MessageEntry RoutedWnd::kTable[] = {
    OnCommand<&RoutedWnd::OnClickedFirst>(10),
    OnCommand<&RoutedWnd::OnDoubleClickedFirst>(10, BN_DOUBLECLICKED),
    OnCommand<&RoutedWnd::OnClickedSecond>(11),
    OnUpdateCommand<&RoutedWnd::OnUpdateFirst>(10),
    OnMessage<&RoutedWnd::OnCustom>(kCustomMessage),
    OnRegisteredMessage<&RoutedWnd::OnRegistered>(g_registeredMessage),
};

MessageTable RoutedWnd::GetMessageTable() const {
    return kTable;
}

struct RouteCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool handled;
    const char* calls;
};

class MessageRoutingTest : public ::testing::TestWithParam<RouteCase> {};

TEST_P(MessageRoutingTest, ReachesOnlyTheMatchingHandler) {
    const RouteCase& c = GetParam();
    RoutedWnd wnd;
    LRESULT result = -1;
    EXPECT_EQ(c.handled, wnd.OnWndMsg(c.message, c.wParam, 0, &result));
    EXPECT_EQ(c.calls, wnd.calls);
}

INSTANTIATE_TEST_SUITE_P(Table, MessageRoutingTest, ::testing::Values(
    RouteCase{"click", WM_COMMAND, MAKEWPARAM(10, BN_CLICKED), true, "first "},
    RouteCase{"other_code", WM_COMMAND, MAKEWPARAM(10, BN_DOUBLECLICKED), true, "first-double "},
    RouteCase{"second_id", WM_COMMAND, MAKEWPARAM(11, BN_CLICKED), true, "second "},
    RouteCase{"unlisted_code", WM_COMMAND, MAKEWPARAM(11, BN_SETFOCUS), false, ""},
    RouteCase{"unlisted_id", WM_COMMAND, MAKEWPARAM(12, BN_CLICKED), false, ""},
    RouteCase{"unlisted_message", WM_APP + 6, 0, false, ""},
    RouteCase{"id_as_message", 10, 0, false, ""}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(MessageTableTest, MessageHandlersGetTheirParametersAndAnswer) {
    RoutedWnd wnd;
    LRESULT result = 0;
    ASSERT_TRUE(wnd.OnWndMsg(kCustomMessage, 3, 4, &result));
    EXPECT_EQ(42, result);
    EXPECT_EQ(3u, wnd.lastWParam);
    EXPECT_EQ(4, wnd.lastLParam);
}

// An entry for a registered message matches the ID the program has at the
// time of the message, and nothing while it has none.
TEST(MessageTableTest, RegisteredMessagesMatchTheirIdOnceRegistered) {
    RoutedWnd wnd;
    LRESULT result = 0;
    g_registeredMessage = 0;
    EXPECT_FALSE(wnd.OnWndMsg(0, 0, 0, &result)) << "nothing registered yet";
    g_registeredMessage = ::RegisterWindowMessageW(L"AutorunTest.Registered");
    ASSERT_NE(0u, g_registeredMessage);
    ASSERT_TRUE(wnd.OnWndMsg(g_registeredMessage, 0, 0, &result));
    EXPECT_EQ(43, result);
    EXPECT_FALSE(wnd.OnWndMsg(g_registeredMessage + 1, 0, 0, &result));
    EXPECT_EQ("registered ", wnd.calls);
    g_registeredMessage = 0;
}

TEST(MessageTableTest, UpdateHandlersAreFoundByControlIdOnly) {
    RoutedWnd wnd;
    CCmdUI first;
    first.m_nID = 10;
    EXPECT_TRUE(wnd.OnCmdUI(&first));
    EXPECT_EQ(&first, wnd.lastCmdUI);

    CCmdUI second;
    second.m_nID = 11;  // has a command handler, but no update handler
    EXPECT_FALSE(wnd.OnCmdUI(&second));
    EXPECT_EQ("update-first ", wnd.calls);
}

// A subclassed button: its table's messages reach the object, everything else the
// button's own procedure, and the binding ends with the window.
class TableButton : public CButton {
public:
    int customCalls = 0;

protected:
    MessageTable GetMessageTable() const override;

private:
    LRESULT OnCustom(WPARAM, LPARAM) {
        ++customCalls;
        return 7;
    }
    static const MessageEntry kTable[];
};

const MessageEntry TableButton::kTable[] = {
    OnMessage<&TableButton::OnCustom>(kCustomMessage),
};

MessageTable TableButton::GetMessageTable() const {
    return kTable;
}

TEST(SubclassTest, ObjectGetsItsMessagesAndTheButtonTheRest) {
    HWND parent = ::CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    HWND control = ::CreateWindowW(L"BUTTON", L"Caption", WS_CHILD | BS_PUSHBUTTON, 0, 0, 50, 20, parent,
                                   reinterpret_cast<HMENU>(100), nullptr, nullptr);
    TableButton button;
    CWnd parentWnd;
    ASSERT_TRUE(parentWnd.SubclassWindow(parent));
    ASSERT_TRUE(button.SubclassDlgItem(100, &parentWnd));
    EXPECT_EQ(&button, CWnd::FromHandle(control));
    EXPECT_FALSE(CWnd().SubclassWindow(control)) << "a window binds to one object";

    EXPECT_EQ(7, ::SendMessageW(control, kCustomMessage, 0, 0));
    EXPECT_EQ(1, button.customCalls);
    wchar_t caption[32] = {};
    ::SendMessageW(control, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(caption));
    EXPECT_STREQ(L"Caption", caption);
    ::SendMessageW(control, BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(::SendMessageW(control, BM_GETSTATE, 0, 0) & BST_PUSHED);

    ::DestroyWindow(parent);
    EXPECT_EQ(nullptr, button.m_hWnd);
    EXPECT_EQ(nullptr, parentWnd.m_hWnd);
}

}  // namespace
