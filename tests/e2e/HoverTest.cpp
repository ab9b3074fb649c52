// Hover descriptions, with the real X pointer: resting on a button draws its
// description in the picture's lower right area, leaving paints it over; and
// the focused button's description, with real keys.
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

    // What the area shows while the pointer rests on the button; then the
    // pointer leaves again and the picture comes back.
    std::vector<DWORD> PointerDrawing(int id) {
        MovePointer(OnButton(id));
        WaitForDescription();
        const std::vector<DWORD> drawing = CaptureArea();
        MovePointer(Outside());
        EXPECT_TRUE(WaitUntil([&] { return CaptureArea() == m_background; }));
        return drawing;
    }

    // Whether the area keeps showing drawing over a few looks.
    bool StaysAs(const std::vector<DWORD>& drawing) const {
        for (int look = 0; look < 5; ++look) {
            if (CaptureArea() != drawing) return false;
            ::Sleep(60);
        }
        return true;
    }

    // Whether the band where every description's first line goes shows the
    // bare picture: the launcher's own bitmap, painted unscaled at 96 DPI.
    bool FirstLineShowsThePicture() const {
        HMODULE launcher = ::LoadLibraryExW((ExecutableFolder() + L"Autorun-wine.exe").c_str(), nullptr,
                                            LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        auto* bitmap = static_cast<HBITMAP>(
            ::LoadImageW(launcher, MAKEINTRESOURCEW(IDB_BACKGROUND), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        EXPECT_NE(nullptr, bitmap);
        HDC memory = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        const RECT band = {320, 360, 640, 360 + 16};
        std::vector<DWORD> picture = Capture(memory, band.left, band.top, band.right - band.left, band.bottom - band.top);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
        ::DeleteObject(bitmap);
        ::FreeLibrary(launcher);

        POINT origin = {band.left, band.top};
        ::ClientToScreen(m_dialog, &origin);
        std::vector<DWORD> shown = CaptureScreen(origin.x, origin.y, band.right - band.left, band.bottom - band.top);
        for (std::vector<DWORD>* pixels : {&picture, &shown}) {
            for (DWORD& pixel : *pixels) pixel &= 0xFFFFFF;
        }
        return shown == picture;
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

// A window of another program (this test's own), which takes the focus from
// the launcher while it is there, as a user switching programs does.
class OtherProgramWindow {
public:
    OtherProgramWindow()
        : m_hWnd(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                                   nullptr)) {
        ::SetForegroundWindow(m_hWnd);
        WaitUntil([&] {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
            return ::GetForegroundWindow() == m_hWnd;
        });
    }
    ~OtherProgramWindow() { ::DestroyWindow(m_hWnd); }
    OtherProgramWindow(const OtherProgramWindow&) = delete;
    OtherProgramWindow& operator=(const OtherProgramWindow&) = delete;

private:
    HWND m_hWnd;
};

// The keyboard shows the descriptions too: the focused button's, once Tab,
// Shift+Tab or an arrow key has put the focus there. A resting pointer's comes
// first, and a click hands the area back to the pointer alone.
using KeyboardDescriptionTest = HoverTest;

TEST_F(KeyboardDescriptionTest, TabAndTheArrowsDrawTheFocusedButtonsDescriptionAsAPointerDoes) {
    // At start-up the focus is on the manual button, and nothing is drawn for it.
    ASSERT_EQ(IDC_MANUAL, FocusedId());
    if (ScreenDpi() == 96) {
        EXPECT_TRUE(FirstLineShowsThePicture()) << "the area must show the bare picture at start-up";
    }

    const std::vector<DWORD> install = PointerDrawing(IDC_INSTALL);
    const std::vector<DWORD> openDisc = PointerDrawing(IDC_OPEN_DISC);
    struct Step {
        const char* keys;
        WORD modifier;  // held down with key, or 0
        WORD key;
        const std::vector<DWORD>& drawing;
    };
    const Step steps[] = {{"Tab", 0, VK_TAB, install},         {"Tab", 0, VK_TAB, openDisc},
                          {"Shift+Tab", VK_SHIFT, VK_TAB, install}, {"Down", 0, VK_DOWN, openDisc},
                          {"Up", 0, VK_UP, install}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.keys);
        if (step.modifier != 0) {
            PressKeys({step.modifier, step.key});
        } else {
            PressKeys({step.key});
        }
        EXPECT_TRUE(WaitUntil([&] { return CaptureArea() == step.drawing; }))
            << "the focused button's description, exactly as the pointer has it drawn";
    }
}

TEST_F(KeyboardDescriptionTest, ARestingPointerComesFirstAndTheFocusedDescriptionComesBackAfterIt) {
    const std::vector<DWORD> install = PointerDrawing(IDC_INSTALL);
    const std::vector<DWORD> openDisc = PointerDrawing(IDC_OPEN_DISC);
    const std::vector<DWORD> exit = PointerDrawing(IDC_EXIT);
    PressKeys({VK_TAB});
    ASSERT_TRUE(WaitUntil([&] { return CaptureArea() == install; }));

    // Nothing of the focused button's description is left under the pointer's.
    MovePointer(OnButton(IDC_EXIT));
    EXPECT_TRUE(WaitUntil([&] { return CaptureArea() == exit; }));
    // The focus moves on meanwhile; the pointer's description stays.
    PressKeys({VK_TAB});
    ASSERT_TRUE(WaitUntil([&] { return FocusedId() == IDC_OPEN_DISC; }));
    EXPECT_TRUE(StaysAs(exit)) << "the pointer rests on the exit button";

    MovePointer(Outside());
    EXPECT_TRUE(WaitUntil([&] { return CaptureArea() == openDisc; }))
        << "with the pointer gone, the focused button's description comes back";
}

TEST_F(KeyboardDescriptionTest, AfterAClickOnlyThePointerDrawsADescription) {
    PressKeys({VK_TAB});
    ASSERT_TRUE(WaitUntil([&] { return ChangesFrom(m_background).dark > 0; })) << "Tab drew no description";

    Click(IDC_OPEN_DISC);
    ASSERT_TRUE(WaitUntil([&] { return Count("start", "browser") == 1; }));
    ::SetForegroundWindow(m_dialog);
    MovePointer(Outside());
    EXPECT_TRUE(WaitUntil([&] { return CaptureArea() == m_background; }));
    EXPECT_TRUE(StaysAs(m_background)) << "the click put the focus there: no description may come back";
}


// The description goes with the focus when another program takes it, and
// comes back with it, whatever the pointer did meanwhile.
TEST_F(KeyboardDescriptionTest, TheFocusedDescriptionGoesAndComesBackWithTheFocus) {
    const std::vector<DWORD> install = PointerDrawing(IDC_INSTALL);
    PressKeys({VK_TAB});
    ASSERT_TRUE(WaitUntil([&] { return CaptureArea() == install; }));
    {
        OtherProgramWindow other;
        ASSERT_TRUE(WaitUntil([&] { return FocusedId() == 0; })) << "the launcher kept the focus";
        EXPECT_TRUE(WaitUntil([&] { return CaptureArea() == m_background; }))
            << "no button has the focus: nothing may be drawn for it";
        PointerDrawing(IDC_EXIT);

        ::SetForegroundWindow(m_dialog);
        ASSERT_TRUE(WaitUntil([&] { return FocusedId() == IDC_INSTALL; }));
        EXPECT_TRUE(WaitUntil([&] { return CaptureArea() == install; }))
            << "the focus is back on the install button, where the keyboard put it";
    }
}

}  // namespace
}  // namespace e2e
