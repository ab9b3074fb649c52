// Hover descriptions, with the real X pointer: resting on a button draws its
// description in the picture's lower right area, leaving paints it over.
//
// A description is told from the picture by comparing the area with what it
// showed before the pointer came: the pixels that changed are the text's, and
// they must be dark (black text on the light panel) and start at the
// description's origin.
#include "DiscFixture.h"
#include "tests/support/Input.h"
#include "tests/support/Screen.h"

#include <algorithm>
#include <climits>

namespace e2e {
namespace {

// Where a drawing differs from the picture underneath.
struct Changes {
    int count = 0;
    int dark = 0;
    RECT bounds = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
};

class HoverTest : public DiscFixture {
protected:
    void SetUp() override {
        DiscFixture::SetUp();
        StartLauncher();
        MovePointer(Outside());
        // The picture as painted: wait until two looks agree.
        std::vector<DWORD> previous;
        WaitUntil([&] {
            previous = m_background;
            ::Sleep(100);
            m_background = CaptureArea();
            return !previous.empty() && previous == m_background;
        });
    }

    // The description area, clipped to the window: from the origin to the
    // client area's right and bottom edges.
    RECT Area() const {
        RECT client;
        ::GetClientRect(m_dialog, &client);
        return {Scale(320), Scale(360), client.right, client.bottom};
    }

    std::vector<DWORD> CaptureArea() const {
        const RECT area = Area();
        POINT origin = {area.left, area.top};
        ::ClientToScreen(m_dialog, &origin);
        return CaptureScreen(origin.x, origin.y, area.right - area.left, area.bottom - area.top);
    }

    Changes ChangesFrom(const std::vector<DWORD>& picture) const {
        const RECT area = Area();
        const int width = area.right - area.left;
        const std::vector<DWORD> now = CaptureArea();
        Changes changes;
        for (size_t i = 0; i < now.size() && i < picture.size(); ++i) {
            if (now[i] == picture[i]) continue;
            const int x = area.left + static_cast<int>(i) % width;
            const int y = area.top + static_cast<int>(i) / width;
            ++changes.count;
            if ((now[i] & 0xFF) < 96 && ((now[i] >> 8) & 0xFF) < 96 && ((now[i] >> 16) & 0xFF) < 96) {
                ++changes.dark;
            }
            changes.bounds = {std::min(changes.bounds.left, static_cast<LONG>(x)),
                              std::min(changes.bounds.top, static_cast<LONG>(y)),
                              std::max(changes.bounds.right, static_cast<LONG>(x)),
                              std::max(changes.bounds.bottom, static_cast<LONG>(y))};
        }
        return changes;
    }

    // Waits for the area to show a description, and for the drawing to finish.
    Changes WaitForDescription() const {
        Changes changes;
        WaitUntil([&] { return (changes = ChangesFrom(m_background)).dark > 0; }, 5000);
        ::Sleep(100);
        return ChangesFrom(m_background);
    }

    POINT OnButton(int id) const {
        RECT rect;
        ::GetWindowRect(Button(id), &rect);
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    // A point on the picture away from every button.
    POINT Outside() const {
        POINT point = {Scale(100), Scale(100)};
        ::ClientToScreen(m_dialog, &point);
        return point;
    }

    std::vector<DWORD> m_background;
};

TEST_F(HoverTest, EachButtonDrawsItsOwnDescriptionAtTheOriginAndLeavingErasesIt) {
    std::vector<std::vector<DWORD>> drawings;
    for (int id : {IDC_MANUAL, IDC_INSTALL, IDC_OPEN_DISC, IDC_EXIT}) {
        SCOPED_TRACE(id);
        MovePointer(OnButton(id));
        const Changes changes = WaitForDescription();
        ASSERT_GT(changes.dark, 20) << "no description drawn";
        // The text starts at the origin: nothing left of it or above it, and
        // the first glyph close by.
        EXPECT_GE(changes.bounds.left, Scale(320));
        EXPECT_LE(changes.bounds.left, Scale(320) + Scale(4));
        EXPECT_GE(changes.bounds.top, Scale(360));
        EXPECT_LE(changes.bounds.top, Scale(360) + Scale(6));
        drawings.push_back(CaptureArea());

        MovePointer(Outside());
        EXPECT_TRUE(WaitUntil([&] { return CaptureArea() == m_background; }))
            << "leaving must paint the picture back";
    }
    for (size_t i = 0; i < drawings.size(); ++i) {
        for (size_t j = i + 1; j < drawings.size(); ++j) {
            EXPECT_NE(drawings[i], drawings[j]) << "descriptions " << i << " and " << j << " look alike";
        }
    }
}

TEST_F(HoverTest, MovingStraightToTheNextButtonSwapsTheDescriptions) {
    MovePointer(OnButton(IDC_OPEN_DISC));
    WaitForDescription();
    const std::vector<DWORD> openDisc = CaptureArea();
    MovePointer(Outside());
    WaitUntil([&] { return CaptureArea() == m_background; });

    MovePointer(OnButton(IDC_EXIT));
    WaitForDescription();
    const std::vector<DWORD> exit = CaptureArea();
    ASSERT_NE(exit, openDisc);

    // From exit straight up onto open-disc: exit's text goes, open-disc's comes,
    // with nothing of the first left over.
    MovePointer(OnButton(IDC_OPEN_DISC));
    EXPECT_TRUE(WaitUntil([&] { return CaptureArea() == openDisc; }));
}

}  // namespace
}  // namespace e2e
