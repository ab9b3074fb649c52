// Measures the launcher under Wine and prints a table; it asserts nothing.
//   bench.exe <runs>
// Start-up: from CreateProcess to the first complete paint (the picture's
// lower right pixel on screen), the launcher against the floor program,
// alternating. Waiting: CPU time the launcher uses while Setup runs for 10 s.
// Hover: from the pointer coming to rest on a button to the description's
// first pixels on screen.
#include "tests/support/Files.h"
#include "tests/support/Input.h"
#include "tests/support/Launcher.h"
#include "tests/support/Process.h"
#include "tests/support/Screen.h"
#include "tests/support/WindowLookup.h"
#include "ui/resource.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

double Now() {
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

HWND VisibleWindowOf(DWORD thread) {
    for (HWND hwnd : ThreadWindows(thread)) {
        if (::IsWindowVisible(hwnd)) return hwnd;
    }
    return nullptr;
}

// The picture's pixel near the lower right, where painting ends.
bool Painted(HWND hwnd) {
    RECT client;
    ::GetClientRect(hwnd, &client);
    if (client.right < 600) return false;
    POINT p = {client.right * 5 / 8 - 2, client.bottom * 5 / 8};  // on the picture, away from buttons
    ::ClientToScreen(hwnd, &p);
    const COLORREF c = ScreenPixel(p);
    return c != RGB(0, 0, 0) && c != ::GetSysColor(COLOR_3DFACE);
}

double TimeToFirstPaint(const std::wstring& exe) {
    const double start = Now();
    ChildProcess process;
    process.Start(exe);
    HWND hwnd = nullptr;
    while (Now() - start < 20000) {
        if (hwnd == nullptr) hwnd = VisibleWindowOf(process.ThreadId());
        if (hwnd != nullptr && Painted(hwnd)) return Now() - start;
        ::Sleep(1);
    }
    return -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? _wtoi(argv[1]) : 20;
    // A disc: the launcher (Wine build), a stand-in Setup.exe and a manual.
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring disc = std::wstring(temp) + L"autorun-bench\\";
    const std::wstring bin = ExecutableFolder();
    ::CreateDirectoryW(disc.c_str(), nullptr);
    ::CopyFileW((bin + L"Autorun-wine.exe").c_str(), (disc + L"Autorun.exe").c_str(), FALSE);
    ::CopyFileW((bin + L"fake_setup.exe").c_str(), (disc + L"Setup.exe").c_str(), FALSE);
    ::CopyFileW((bin + L"Install.pdf").c_str(), (disc + L"Install.pdf").c_str(), FALSE);
    const std::wstring launcher = disc + L"Autorun.exe";
    const std::wstring floor = bin + L"floor.exe";
    ::SetEnvironmentVariableW(L"AUTORUN_LOCALE", kJapaneseLocale);

    std::vector<double> launcherTimes, floorTimes;
    for (int i = 0; i < runs; ++i) {
        launcherTimes.push_back(TimeToFirstPaint(launcher));
        floorTimes.push_back(TimeToFirstPaint(floor));
    }
    const double l = Median(launcherTimes), f = Median(floorTimes);
    std::printf("| start-up to first paint, launcher | %.0f ms (median of %d) |\n", l, runs);
    std::printf("| start-up to first paint, floor program | %.0f ms (median of %d) |\n", f, runs);
    std::printf("| launcher / floor | %.2f |\n", f > 0 ? l / f : 0.0);

    // CPU time while waiting for a Setup.exe that runs 10 s.
    ::SetEnvironmentVariableW(L"AUTORUN_TEST_LIFETIME_MS", L"10000-10000");
    ChildProcess process;
    StartLauncherProcess(process, launcher, kJapaneseLocale);
    HWND dialog = WaitForLauncherWindow(process, 10000);
    ::Sleep(1000);
    FILETIME created, exited, kernel0, user0, kernel1, user1;
    ::GetProcessTimes(process.Handle(), &created, &exited, &kernel0, &user0);
    HWND install = ::GetDlgItem(dialog, IDC_INSTALL);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_INSTALL, BN_CLICKED), reinterpret_cast<LPARAM>(install));
    ::Sleep(500);
    const bool waiting = !::IsWindowEnabled(install);
    ::Sleep(9500);
    ::GetProcessTimes(process.Handle(), &created, &exited, &kernel1, &user1);
    auto ms = [](FILETIME a, FILETIME b) {
        ULARGE_INTEGER x{{a.dwLowDateTime, a.dwHighDateTime}}, y{{b.dwLowDateTime, b.dwHighDateTime}};
        return static_cast<double>(y.QuadPart - x.QuadPart) / 10000.0;
    };
    std::printf("| CPU time during a 10 s wait on Setup.exe | %.0f ms%s |\n", ms(kernel0, kernel1) + ms(user0, user1),
                waiting ? "" : " (the installer did not start: no wait measured)");
    ::SetEnvironmentVariableW(L"AUTORUN_TEST_LIFETIME_MS", nullptr);
    ::Sleep(1500);

    // Hover: rest on the exit button, time the description's first dark pixel.
    std::vector<double> hover;
    HWND exitButton = ::GetDlgItem(dialog, IDC_EXIT);
    RECT client;
    ::GetClientRect(dialog, &client);
    POINT probe = {client.right / 2, client.bottom * 90 / 100};
    for (int i = 0; i < runs; ++i) {
        SendMouse(0, CentreOf(::GetDlgItem(dialog, IDC_MANUAL)));
        ::Sleep(100);
        SendMouse(0, {0, 0});
        ::Sleep(300);
        std::vector<COLORREF> before;
        for (int x = 0; x < client.right / 2; ++x) {
            POINT p = {probe.x + x, client.bottom * 90 / 100 + 8};
            ::ClientToScreen(dialog, &p);
            before.push_back(ScreenPixel(p));
        }
        SendMouse(0, CentreOf(exitButton));
        const double start = Now();
        double seen = -1;
        while (Now() - start < 3000 && seen < 0) {
            for (int x = 0; x < client.right / 2; x += 1) {
                POINT p = {probe.x + x, client.bottom * 90 / 100 + 8};
                ::ClientToScreen(dialog, &p);
                if (ScreenPixel(p) != before[static_cast<size_t>(x)]) {
                    seen = Now() - start;
                    break;
                }
            }
        }
        if (seen >= 0) hover.push_back(seen);
    }
    std::printf("| pointer at rest to description on screen | %.0f ms (median of %zu) |\n", Median(hover), hover.size());
    return 0;
}
