// Measures the launcher under Wine and prints a table; it asserts nothing.
//   bench.exe <runs>
// Start-up: from CreateProcess to the first paint (the picture's pixels on
// screen), the launcher against two floors: the bare window painting the same
// picture, and the honest floor, the least a program doing the launcher's job
// costs. Timed in pairs, the two started back to back in alternating order, so
// that a busy machine shows as spread in the paired differences. Waiting: CPU time the launcher uses while Setup runs for 10 s.
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

double Quantile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[static_cast<size_t>(q * static_cast<double>(v.size() - 1) + 0.5)];
}

double Median(const std::vector<double>& v) {
    return Quantile(v, 0.5);
}

HWND VisibleWindowOf(DWORD thread) {
    for (HWND hwnd : ThreadWindows(thread)) {
        if (::IsWindowVisible(hwnd)) return hwnd;
    }
    return nullptr;
}

// Two pixels of the picture on screen, left of every button (they start at
// 386 of 640 design pixels) and above the description and the label.
bool Painted(HWND hwnd) {
    RECT client;
    ::GetClientRect(hwnd, &client);
    if (client.right < 600) return false;
    for (POINT p : {POINT{client.right / 4, client.bottom * 3 / 4}, POINT{client.right / 8, client.bottom / 8}}) {
        ::ClientToScreen(hwnd, &p);
        const COLORREF c = ScreenPixel(p);
        if (c == RGB(0, 0, 0) || c == ::GetSysColor(COLOR_3DFACE)) return false;
    }
    return true;
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
    const int runs = argc > 1 ? _wtoi(argv[1]) : 100;
    // A disc: the launcher (Wine build), a stand-in Setup.exe and a manual.
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring disc = std::wstring(temp) + L"autorun-bench\\";
    const std::wstring bin = ExecutableFolder();
    ::CreateDirectoryW(disc.c_str(), nullptr);
    ::CopyFileW((bin + L"Autorun-wine.exe").c_str(), (disc + L"Autorun.exe").c_str(), FALSE);
    ::CopyFileW((bin + L"fake_setup.exe").c_str(), (disc + L"Setup.exe").c_str(), FALSE);
    ::CopyFileW((bin + L"Install.pdf").c_str(), (disc + L"Install.pdf").c_str(), FALSE);
    // The floors start from the same folder, so that where a program lies
    // (the prefix's drive or a mapped one) is no difference between them.
    ::CopyFileW((bin + L"floor.exe").c_str(), (disc + L"floor.exe").c_str(), FALSE);
    ::CopyFileW((bin + L"honest_floor.exe").c_str(), (disc + L"honest_floor.exe").c_str(), FALSE);
    const std::wstring launcher = disc + L"Autorun.exe";
    const std::wstring floor = disc + L"floor.exe";
    ::SetEnvironmentVariableW(L"AUTORUN_LOCALE", kJapaneseLocale);

    // Each pair: the launcher and one floor back to back, the order turning
    // every pair; the bare and the honest floor take turns.
    const std::wstring floors[] = {floor, disc + L"honest_floor.exe"};
    const char* floorNames[] = {"bare floor (a window painting the picture)", "honest floor (the same job, plainly)"};
    std::vector<double> launcherTimes, floorTimes[2], differences[2];
    for (int i = 0; i < 2 * runs; ++i) {
        const int which = i % 2;
        const bool launcherFirst = (i / 2) % 2 == 0;
        const double first = TimeToFirstPaint(launcherFirst ? launcher : floors[which]);
        const double second = TimeToFirstPaint(launcherFirst ? floors[which] : launcher);
        const double l = launcherFirst ? first : second;
        const double f = launcherFirst ? second : first;
        if (l < 0 || f < 0) continue;  // a run that never painted
        launcherTimes.push_back(l);
        floorTimes[which].push_back(f);
        differences[which].push_back(l - f);
    }
    std::printf("| start-up to first paint, launcher | %.0f ms (median of %zu) |\n", Median(launcherTimes),
                launcherTimes.size());
    for (int which = 0; which < 2; ++which) {
        const double f = Median(floorTimes[which]);
        std::printf("| start-up to first paint, %s | %.0f ms (median of %zu) |\n", floorNames[which], f,
                    floorTimes[which].size());
    }
    // The ratio of the medians: the launcher's over all its runs (they are
    // interleaved with both floors' and balanced in order, and twice as many as
    // those of one floor's pairs alone, so its median moves less), to the floor's.
    const double l = Median(launcherTimes);
    for (int which = 0; which < 2; ++which) {
        const std::vector<double>& d = differences[which];
        const double f = Median(floorTimes[which]);
        std::printf("| launcher / %s | %.3f (launcher %+.1f ms, median of %zu paired differences; "
                    "middle half %+.1f to %+.1f ms) |\n",
                    which == 0 ? "bare floor" : "honest floor", f > 0 ? l / f : 0.0, Median(d), d.size(),
                    Quantile(d, 0.25), Quantile(d, 0.75));
    }

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
