// A work area smaller than the window at the screen's DPI: the menu is laid out
// at the largest scale that fits, all of it on the work area, every length still
// rounded on its own. Run on a screen made small for it (scripts/on-screen);
// LayoutTest's label and centring checks run on that screen too.
#include "DiscFixture.h"
#include "MenuLayout.h"
#include "tests/support/Input.h"
#include "tests/support/Screen.h"

namespace e2e {
namespace {

// The layout expected on each small screen the tests make.
struct SmallScreen {
    int dpi;
    RECT work;
    MenuLayout menu;
};
// 800 by 480 at 120 DPI with a 30-pixel panel at the top: 444 pixels of height
// for the picture's 400, so each length is n * 444 / 400, rounded.
constexpr SmallScreen kScreens[] = {
    {120, {0, 30, 800, 480}, {{710, 444}, 428, 266, 39, 67, 117, 216, 278}},
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
    ExpectLaidOut(m_dialog, expected->menu);
    for (int id : {IDC_MANUAL, IDC_INSTALL, IDC_OPEN_DISC, IDC_EXIT}) {
        RECT onScreen;
        ::GetWindowRect(Button(id), &onScreen);
        EXPECT_TRUE(Inside(onScreen, expected->work)) << id;
    }

    // And a person can use it there: the buttons take their clicks.
    Click(IDC_MANUAL);
    EXPECT_TRUE(WaitUntil([&] { return Count("start", "viewer") == 1; }));
    Click(IDC_EXIT);
    EXPECT_TRUE(m_process.WaitForExit(kPatienceMs));
}

}  // namespace
}  // namespace e2e
