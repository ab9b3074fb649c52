// The locale gate, seen from outside: where Windows is not Japanese throughout,
// the launcher says so in a message box and ends without ever showing itself.
#include "DiscFixture.h"
#include "tests/support/Input.h"
#include "tests/support/Screen.h"
#include "tests/support/WindowLookup.h"

#include <climits>

namespace e2e {
namespace {

long long Difference(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
    long long sum = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        for (int shift : {0, 8, 16}) {
            sum += std::abs(static_cast<int>((a[i] >> shift) & 0xFF) - static_cast<int>((b[i] >> shift) & 0xFF));
        }
    }
    return sum;
}

// Which standard icon a message box shows: its icon's pixels on screen compared
// with each standard icon drawn here on the same background. 0 if it has none.
ULONG_PTR ShownIcon(HWND box) {
    HWND icon = nullptr;
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassName(child) == L"Static" && (::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            ::IsWindowVisible(child)) {
            icon = child;
        }
    }
    if (icon == nullptr) return 0;
    RECT rect;
    ::GetWindowRect(icon, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const std::vector<DWORD> shown = CaptureScreen(rect.left, rect.top, width, height);
    HDC screen = ::GetDC(nullptr);
    const COLORREF background = ::GetPixel(screen, rect.left, rect.top);
    ::ReleaseDC(nullptr, screen);

    ULONG_PTR best = 0;
    long long bestDifference = LLONG_MAX;
    for (ULONG_PTR id : {32513u, 32514u, 32515u, 32516u}) {  // hand, question, exclamation, asterisk
        HDC memory = ::CreateCompatibleDC(nullptr);
        HDC screenDc = ::GetDC(nullptr);
        HBITMAP canvas = ::CreateCompatibleBitmap(screenDc, width, height);
        ::ReleaseDC(nullptr, screenDc);
        HGDIOBJ old = ::SelectObject(memory, canvas);
        HBRUSH brush = ::CreateSolidBrush(background);
        RECT all = {0, 0, width, height};
        ::FillRect(memory, &all, brush);
        ::DeleteObject(brush);
        ::DrawIconEx(memory, 0, 0, ::LoadIconW(nullptr, MAKEINTRESOURCEW(id)), width, height, 0, nullptr, DI_NORMAL);
        const long long difference = Difference(shown, Capture(memory, 0, 0, width, height));
        ::SelectObject(memory, old);
        ::DeleteObject(canvas);
        ::DeleteDC(memory);
        if (difference < bestDifference) {
            bestDifference = difference;
            best = id;
        }
    }
    return best;
}

constexpr ULONG_PTR kExclamation = 32515;

struct Environment {
    const char* name;
    const wchar_t* build;
    const wchar_t* locale;  // AUTORUN_LOCALE, or null
    friend void PrintTo(const Environment& e, std::ostream* os) { *os << e.name; }
};

class LocaleGateTest : public DiscFixture, public ::testing::WithParamInterface<Environment> {
protected:
    // Any launcher window or button on screen.
    bool LauncherVisible() const {
        for (HWND hwnd : ThreadWindows(m_process.ThreadId())) {
            if (::GetDlgItem(hwnd, IDC_MANUAL) != nullptr &&
                (::IsWindowVisible(hwnd) || ::IsWindowVisible(::GetDlgItem(hwnd, IDC_MANUAL)))) {
                return true;
            }
        }
        return false;
    }
};

TEST_P(LocaleGateTest, RefusesWithItsMessageAndNeverShowsTheLauncher) {
    StartProcess(GetParam().build, GetParam().locale);
    bool launcherSeen = false;
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        launcherSeen = launcherSeen || LauncherVisible();
        box = FindMessageBox();
        return box != nullptr;
    })) << "no refusal box";
    ::Sleep(300);  // let it paint before its icon is read from the screen

    EXPECT_EQ(L"Windowsの表示言語またはUnicode対応ではないプログラムの言語が日本語でないため起動できません。\n"
              L"日本語に設定してから起動し直してください。",
              MessageBoxText(box));
    EXPECT_EQ(L"Autorun", WindowText(box));
    EXPECT_EQ(kExclamation, ShownIcon(box));
    EXPECT_NE(nullptr, ::GetDlgItem(box, IDOK));
    for (int other : {IDCANCEL, IDYES, IDNO, IDRETRY, IDABORT, IDIGNORE}) {
        EXPECT_EQ(nullptr, ::GetDlgItem(box, other)) << other;
    }
    HWND owner = ::GetWindow(box, GW_OWNER);
    EXPECT_TRUE(owner != nullptr && ::GetDlgItem(owner, IDC_MANUAL) != nullptr) << "owned by the hidden launcher";

    ::SetForegroundWindow(box);
    PressKeys({VK_RETURN});
    const bool ended = WaitUntil([&] {
        launcherSeen = launcherSeen || LauncherVisible();
        return !Running();
    });
    EXPECT_TRUE(ended) << "dismissing the box ends the process";
    EXPECT_FALSE(launcherSeen) << "the launcher must never appear";
    EXPECT_EQ(0u, m_process.ExitCode());
}

INSTANTIATE_TEST_SUITE_P(Refused, LocaleGateTest, ::testing::Values(
    // The shipped build under Wine, whose display name is always English.
    Environment{"ShippedBuild", L"Autorun.exe", nullptr},
    Environment{"EnglishDisplayLanguage", kWineLauncher, L"0411;932;Japanese (Japan)"},
    Environment{"CodePage1252", kWineLauncher, L"0411;1252;日本語 (日本)"},
    Environment{"UsRegionalFormat", kWineLauncher, L"0409;932;日本語 (日本)"},
    Environment{"MalformedOverride", kWineLauncher, L"0411;932"},
    Environment{"NoOverride", kWineLauncher, nullptr}),
    [](const auto& param) { return std::string(param.param.name); });

class LocaleGatePassTest : public DiscFixture {};

TEST_F(LocaleGatePassTest, JapaneseEverywhereShowsTheLauncher) {
    StartProcess(kWineLauncher, kJapaneseLocale);
    m_dialog = WaitForLauncherWindow(m_process);
    EXPECT_NE(nullptr, m_dialog);
    EXPECT_EQ(nullptr, FindMessageBox());
}

// The refusal asks the user to put Windows right and start the launcher again.
// The regional format changes without signing out: started again then, the new
// launcher decides afresh and shows its menu, and the stale refusal goes.
TEST_F(LocaleGatePassTest, StartedAgainOncePutRightItShowsTheMenuInPlaceOfTheRefusal) {
    StartProcess(kWineLauncher, L"0409;932;日本語 (日本)");
    ASSERT_TRUE(WaitUntil([&] { return FindMessageBox() != nullptr; })) << "no refusal box";

    ChildProcess again;
    ASSERT_TRUE(StartLauncherProcess(again, m_disc + L"Autorun.exe", kJapaneseLocale, m_root));
    HWND menu = WaitForLauncherWindow(again);
    EXPECT_NE(nullptr, menu) << "started again in a Japanese Windows, it shows no menu";
    EXPECT_TRUE(m_process.WaitForExit(kPatienceMs)) << "the stale refusal stays";
    EndLauncher(again, menu);
}

}  // namespace
}  // namespace e2e
