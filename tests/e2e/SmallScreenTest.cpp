// A work area smaller than the window at the screen's DPI: the menu is laid out
// at the largest scale that fits, all of it on the work area, every length still
// rounded on its own. Run on a screen made small for it (scripts/on-screen);
// LayoutTest's label and centring checks run on that screen too.
#include "DiscFixture.h"
#include "tests/support/Input.h"
#include "tests/support/Screen.h"

namespace e2e {
namespace {

// The layout expected on each small screen the tests make.
struct SmallScreen {
    int dpi;
    RECT work;
    SIZE client;
    int buttonX, buttonWidth, buttonHeight;
    int manualY, installY, openDiscY, exitY;
};
// 800 by 480 at 120 DPI with a 30-pixel panel at the top: 444 pixels of height
// for the picture's 400, so each length is n * 444 / 400, rounded.
constexpr SmallScreen kScreens[] = {
    {120, {0, 30, 800, 480}, {710, 444}, 428, 266, 39, 67, 117, 216, 278},
};

class SmallScreenTest : public DiscFixture {
protected:
    const SmallScreen* Expected() const {
        RECT work = {};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        for (const SmallScreen& screen : kScreens) {
            if (screen.dpi == ScreenDpi() && ::EqualRect(&screen.work, &work)) return &screen;
        }
        ADD_FAILURE() << "no expectations for " << ScreenDpi() << " DPI and the work area " << work.left << ","
                      << work.top << "-" << work.right << "," << work.bottom;
        return nullptr;
    }

    static bool Inside(const RECT& inner, const RECT& outer) {
        return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
               inner.bottom <= outer.bottom;
    }
};

TEST_F(SmallScreenTest, TheWholeMenuIsOnTheWorkAreaAtTheLargestScaleThatFits) {
    const SmallScreen* expected = Expected();
    ASSERT_NE(nullptr, expected);
    StartLauncher();

    RECT window;
    ::GetWindowRect(m_dialog, &window);
    EXPECT_TRUE(Inside(window, expected->work))
        << "window " << window.left << "," << window.top << "-" << window.right << "," << window.bottom;
    RECT client;
    ::GetClientRect(m_dialog, &client);
    EXPECT_EQ(expected->client.cx, client.right);
    EXPECT_EQ(expected->client.cy, client.bottom);

    const std::pair<int, int> buttons[] = {{IDC_MANUAL, expected->manualY}, {IDC_INSTALL, expected->installY},
                                           {IDC_OPEN_DISC, expected->openDiscY}, {IDC_EXIT, expected->exitY}};
    for (const auto& [id, y] : buttons) {
        RECT onScreen;
        ::GetWindowRect(Button(id), &onScreen);
        EXPECT_TRUE(Inside(onScreen, expected->work)) << id;
        RECT rect = onScreen;
        ::MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(expected->buttonX, rect.left) << id;
        EXPECT_EQ(y, rect.top) << id;
        EXPECT_EQ(expected->buttonWidth, rect.right - rect.left) << id;
        EXPECT_EQ(expected->buttonHeight, rect.bottom - rect.top) << id;
    }

    // And a person can use it there: the buttons take their clicks.
    Click(IDC_MANUAL);
    EXPECT_TRUE(WaitUntil([&] { return Count("start", "viewer") == 1; }));
    Click(IDC_EXIT);
    EXPECT_TRUE(m_process.WaitForExit(kPatienceMs));
}

}  // namespace
}  // namespace e2e
