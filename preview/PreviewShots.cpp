// make preview's camera: starts the real launcher, as a user's Windows would
// at the prefix's DPI, and saves what the screen shows. scripts/preview runs it
// once per DPI and puts the pictures on the contact sheet.
//
// usage: preview_shots.exe LAUNCHER FOLDER
// writes into FOLDER: menu.bmp (the window as it opens), manual.bmp,
// install.bmp, open-disc.bmp and exit.bmp (the pointer resting on each button,
// its description shown), refusal.bmp (the box a non-Japanese Windows gets).
// A failure is one line on standard error and exit status 1.
#include "tests/support/Input.h"
#include "tests/support/Launcher.h"
#include "tests/support/Screen.h"
#include "ui/resource.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

// What a Windows in US English answers for the locale, display language and code page.
constexpr wchar_t kEnglishLocale[] = L"0409;1252;English (United States)";

// Off every window the launcher opens, at any DPI: the pointer waits here.
constexpr POINT kAway = {1, 1};

struct Shot {
    RECT rect;
    std::vector<DWORD> pixels;
};

Shot Take(HWND window) {
    Shot shot;
    ::GetWindowRect(window, &shot.rect);
    shot.pixels = CaptureScreen(shot.rect.left, shot.rect.top, shot.rect.right - shot.rect.left,
                                shot.rect.bottom - shot.rect.top);
    return shot;
}

// The window as the screen shows it once its drawing has settled (two looks in
// a row agree) and, if given, once it meets the condition.
Shot Settled(HWND window, const std::function<bool(const Shot&)>& condition = nullptr) {
    Shot previous;
    Shot shot;
    WaitUntil([&] {
        previous = shot;
        ::Sleep(100);
        shot = Take(window);
        return !previous.pixels.empty() && previous.pixels == shot.pixels && (!condition || condition(shot));
    });
    return shot;
}

// A 24-bit bottom-up BMP of the shot.
bool Save(const Shot& shot, const std::wstring& path) {
    const int width = shot.rect.right - shot.rect.left;
    const int height = shot.rect.bottom - shot.rect.top;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> body(static_cast<size_t>(stride) * height);
    for (int y = 0; y < height; ++y) {
        BYTE* row = &body[static_cast<size_t>(height - 1 - y) * stride];
        for (int x = 0; x < width; ++x) {
            const DWORD pixel = shot.pixels[static_cast<size_t>(y) * width + x];
            row[x * 3] = static_cast<BYTE>(pixel);
            row[x * 3 + 1] = static_cast<BYTE>(pixel >> 8);
            row[x * 3 + 2] = static_cast<BYTE>(pixel >> 16);
        }
    }
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(body.size());
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    HANDLE out = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = ::WriteFile(out, &file, sizeof(file), &written, nullptr) &&
              ::WriteFile(out, &info, sizeof(info), &written, nullptr) &&
              ::WriteFile(out, body.data(), info.biSizeImage, &written, nullptr);
    ::CloseHandle(out);
    return ok != FALSE;
}

int Fail(const char* what) {
    std::fprintf(stderr, "preview: %s\n", what);
    return 1;
}

// A button the pointer rests on: the window before, and with its description.
struct Hover {
    const Shot* before;
    RECT button;  // on screen
    Shot shown;
};

// Something outside the button changed: its description is drawn (a hot look,
// where the theme has one, stays inside the button).
bool DescriptionShown(const Shot& shot, const Hover& hover) {
    if (shot.pixels.size() != hover.before->pixels.size()) return false;
    const int width = shot.rect.right - shot.rect.left;
    for (size_t i = 0; i < shot.pixels.size(); ++i) {
        const POINT at = {shot.rect.left + static_cast<LONG>(i % width), shot.rect.top + static_cast<LONG>(i / width)};
        if (shot.pixels[i] != hover.before->pixels[i] && !::PtInRect(&hover.button, at)) return true;
    }
    return false;
}

// Every pixel the description changed is as before again: it has been painted
// over. (Only those: a part of a picture scaled for the DPI and painted again
// alone may differ from the whole painted at once by a rounding.)
bool DescriptionErased(const Shot& shot, const Hover& hover) {
    if (shot.pixels.size() != hover.before->pixels.size()) return false;
    for (size_t i = 0; i < shot.pixels.size(); ++i) {
        if (hover.shown.pixels[i] != hover.before->pixels[i] && shot.pixels[i] != hover.before->pixels[i]) {
            return false;
        }
    }
    return true;
}

// Paints the whole window now (the paint is sent, so it is done on return) and
// waits for the screen to show it.
Shot Repainted(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return Settled(window);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return Fail("usage: preview_shots.exe LAUNCHER FOLDER");
    const std::wstring launcher = argv[1];
    const std::wstring folder = std::wstring(argv[2]) + L"\\";
    MovePointer(kAway);

    ChildProcess menu;
    if (!StartLauncherProcess(menu, launcher, kJapaneseLocale)) return Fail("the launcher did not start");
    HWND dialog = WaitForLauncherWindow(menu);
    if (dialog == nullptr) return Fail("the launcher's window did not appear");
    const Shot plain = Repainted(dialog);
    if (!Save(plain, folder + L"menu.bmp")) return Fail("cannot write menu.bmp");

    const struct {
        int id;
        const wchar_t* name;
    } buttons[] = {{IDC_MANUAL, L"manual"}, {IDC_INSTALL, L"install"}, {IDC_OPEN_DISC, L"open-disc"}, {IDC_EXIT, L"exit"}};
    Shot rest = plain;
    for (const auto& button : buttons) {
        Hover hover = {&rest, {}, {}};
        ::GetWindowRect(::GetDlgItem(dialog, button.id), &hover.button);
        MovePointer({(hover.button.left + hover.button.right) / 2, (hover.button.top + hover.button.bottom) / 2});
        hover.shown = Settled(dialog, [&](const Shot& shot) { return DescriptionShown(shot, hover); });
        if (!DescriptionShown(hover.shown, hover)) return Fail("a description did not appear");
        if (!Save(hover.shown, folder + button.name + L".bmp")) return Fail("cannot write a description's picture");
        // Away again: once the launcher has painted the description over, the
        // whole window painted afresh for the next button.
        MovePointer(kAway);
        if (!DescriptionErased(Settled(dialog, [&](const Shot& shot) { return DescriptionErased(shot, hover); }), hover)) {
            return Fail("a description stayed after the pointer left");
        }
        rest = Repainted(dialog);
    }
    menu.Stop();

    ChildProcess refused;
    if (!StartLauncherProcess(refused, launcher, kEnglishLocale)) return Fail("the launcher did not start");
    HWND box = nullptr;
    WaitUntil([&] {
        for (HWND window : ThreadWindows(refused.ThreadId())) {
            if (IsDialog(window) && ::IsWindowVisible(window)) box = window;
        }
        return box != nullptr;
    });
    if (box == nullptr) return Fail("the refusal box did not appear");
    if (!Save(Repainted(box), folder + L"refusal.bmp")) return Fail("cannot write refusal.bmp");
    return 0;
}
