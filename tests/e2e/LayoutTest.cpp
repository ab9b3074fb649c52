// The launcher's window as it appears: a borderless picture of the design size
// scaled for the screen's DPI, centred, buttons down its right side, the version
// label in its lower right corner, and draggable from anywhere on the picture.
#include "DiscFixture.h"
#include "MenuLayout.h"
#include "tests/support/Input.h"
#include "tests/support/Screen.h"

namespace e2e {
namespace {

// What a person sees at each DPI the tests run at: every design length scaled
// and rounded on its own.
struct Layout {
    int dpi;
    MenuLayout menu;
};
constexpr Layout kLayouts[] = {
    {96, {{640, 400}, 386, 240, 35, 60, 105, 195, 250}},
    {120, {{800, 500}, 483, 300, 44, 75, 131, 244, 313}},
};

class LayoutTest : public DiscFixture {
protected:
    const Layout* Expected() const {
        wchar_t wanted[8] = {};
        if (::GetEnvironmentVariableW(L"AUTORUN_TEST_DPI", wanted, 8) > 0) {
            EXPECT_EQ(_wtoi(wanted), ScreenDpi()) << "the screen is not at the DPI this run is for";
        }
        for (const Layout& layout : kLayouts) {
            if (layout.dpi == ScreenDpi()) return &layout;
        }
        return nullptr;
    }

    POINT ScreenPoint(int clientX, int clientY) const {
        POINT point = {clientX, clientY};
        ::ClientToScreen(m_dialog, &point);
        return point;
    }

    // The launcher's client area as it is on screen, once it has stopped changing.
    std::vector<DWORD> CaptureClient() const {
        RECT client;
        ::GetClientRect(m_dialog, &client);
        const POINT origin = ScreenPoint(0, 0);
        std::vector<DWORD> previous;
        std::vector<DWORD> current;
        WaitUntil([&] {
            previous = current;
            ::Sleep(150);
            current = CaptureScreen(origin.x, origin.y, client.right, client.bottom);
            return !previous.empty() && previous == current;
        });
        return current;
    }
};

TEST_F(LayoutTest, PictureAndButtonsAreScaledForTheScreen) {
    const Layout* expected = Expected();
    ASSERT_NE(nullptr, expected) << "no expectations for " << ScreenDpi() << " DPI";
    StartLauncher();
    ExpectLaidOut(m_dialog, expected->menu);
}

TEST_F(LayoutTest, WindowIsCentredWithoutCaptionOrSizing) {
    StartLauncher();
    const LONG style = ::GetWindowLongW(m_dialog, GWL_STYLE);
    EXPECT_EQ(0, style & WS_CAPTION) << "no caption bar";
    EXPECT_EQ(0, style & WS_THICKFRAME) << "no sizing border";

    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(m_dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT window;
    ::GetWindowRect(m_dialog, &window);
    EXPECT_NEAR((monitor.rcWork.left + monitor.rcWork.right) / 2, (window.left + window.right) / 2, 1);
    EXPECT_NEAR((monitor.rcWork.top + monitor.rcWork.bottom) / 2, (window.top + window.bottom) / 2, 1);

    // Wine gives a window without WS_SYSMENU no system menu at all; where there
    // is one, it must not offer Size or Maximize.
    HMENU menu = ::GetSystemMenu(m_dialog, FALSE);
    if (menu != nullptr) {
        EXPECT_EQ(static_cast<UINT>(-1), ::GetMenuState(menu, SC_SIZE, MF_BYCOMMAND));
        EXPECT_EQ(static_cast<UINT>(-1), ::GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND));
    }
}

TEST_F(LayoutTest, ThePictureDragsTheWindowAndTheButtonsStillClick) {
    StartLauncher();
    RECT client;
    ::GetClientRect(m_dialog, &client);
    for (const POINT& at : {POINT{1, 1}, POINT{Scale(100), Scale(300)}, POINT{Scale(370), Scale(70)},
                            POINT{client.right - 2, client.bottom - 2}}) {
        const POINT screen = ScreenPoint(at.x, at.y);
        DWORD_PTR hit = 0;
        ASSERT_TRUE(::SendMessageTimeoutW(m_dialog, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y),
                                          SMTO_ABORTIFHUNG, 2000, &hit));
        EXPECT_EQ(static_cast<DWORD_PTR>(HTCAPTION), hit) << at.x << "," << at.y;
    }

    RECT before;
    ::GetWindowRect(m_dialog, &before);
    const POINT start = ScreenPoint(Scale(100), Scale(300));
    MoveTo(start);
    SendMouse(MOUSEEVENTF_LEFTDOWN, start);
    for (int step = 1; step <= 10; ++step) {
        ::Sleep(30);
        SendMouse(0, {start.x + 6 * step, start.y + 4 * step});
    }
    ::Sleep(100);
    SendMouse(MOUSEEVENTF_LEFTUP, {start.x + 60, start.y + 40});
    RECT after;
    EXPECT_TRUE(WaitUntil([&] {
        ::GetWindowRect(m_dialog, &after);
        return after.left == before.left + 60 && after.top == before.top + 40;
    })) << "moved by " << after.left - before.left << "," << after.top - before.top;

    Click(IDC_MANUAL);
    EXPECT_TRUE(WaitUntil([&] { return Count("start", "viewer") == 1; }));
}

TEST_F(LayoutTest, VersionLabelIsDrawnInTheLowerRightCornerAndOnlyThere) {
    SendMouse(0, {0, 0});  // keep the pointer off the buttons in both pictures
    StartLauncher();
    const std::vector<DWORD> withLabel = CaptureClient();
    RECT client;
    ::GetClientRect(m_dialog, &client);
    EndLauncher();

    StartProcess(L"Autorun-wine-noversion.exe", kJapaneseLocale);
    ASSERT_NO_FATAL_FAILURE(WaitForLauncher());
    const std::vector<DWORD> withoutLabel = CaptureClient();
    ASSERT_EQ(withLabel.size(), withoutLabel.size());

    // The label sits right- and bottom-aligned inside margins of 10 and 8 design
    // pixels; allow it a box of 80 by 30 there.
    const RECT labelBox = {client.right - Scale(90), client.bottom - Scale(38), client.right - Scale(10) + Scale(1) + 1,
                           client.bottom - Scale(8) + Scale(1) + 1};
    int insideDifferences = 0;
    int outsideDifferences = 0;
    int darkLabelPixels = 0;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            const size_t i = static_cast<size_t>(y) * client.right + x;
            const POINT p = {x, y};
            const bool inside = ::PtInRect(&labelBox, p) != FALSE;
            if (withLabel[i] != withoutLabel[i]) {
                ++(inside ? insideDifferences : outsideDifferences);
                const DWORD c = withLabel[i];
                if (inside && (c & 0xFF) < 80 && ((c >> 8) & 0xFF) < 80 && ((c >> 16) & 0xFF) < 80) {
                    ++darkLabelPixels;
                }
            }
        }
    }
    EXPECT_GT(darkLabelPixels, 20) << "the dark label face should be there";
    EXPECT_GT(insideDifferences, darkLabelPixels) << "and its white shadow";
    EXPECT_EQ(0, outsideDifferences) << "without a version nothing else may change";
}

}  // namespace
}  // namespace e2e
