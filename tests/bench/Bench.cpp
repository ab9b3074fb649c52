// Measures the launcher under Wine and prints a table; it asserts nothing.
//   bench.exe <runs>
// Start-up: from CreateProcess to the first complete paint (the picture's
// lower right pixel on screen), the launcher against the floor program,
// alternating. Waiting: CPU time the launcher uses while Setup runs for 10 s.
// Hover: from the pointer coming to rest on a button to the description's
// first pixels on screen.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring Bin() {
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s = path;
    return s.substr(0, s.find_last_of(L"\\/") + 1);
}

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

struct Found {
    DWORD thread;
    HWND hwnd;
};

HWND VisibleWindowOf(DWORD thread) {
    Found found = {thread, nullptr};
    ::EnumThreadWindows(thread, [](HWND hwnd, LPARAM p) {
        if (::IsWindowVisible(hwnd)) {
            reinterpret_cast<Found*>(p)->hwnd = hwnd;
            return FALSE;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    return found.hwnd;
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

// The picture's pixel near the lower right, where painting ends.
bool Painted(HWND hwnd) {
    RECT client;
    ::GetClientRect(hwnd, &client);
    if (client.right < 600) return false;
    POINT p = {client.right * 5 / 8 - 2, client.bottom * 5 / 8};  // on the picture, away from buttons
    ::ClientToScreen(hwnd, &p);
    const COLORREF c = ScreenPixel(p.x, p.y);
    return c != RGB(0, 0, 0) && c != ::GetSysColor(COLOR_3DFACE);
}

PROCESS_INFORMATION Start(const std::wstring& exe) {
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::wstring command = L"\"" + exe + L"\"";
    ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    return pi;
}

void End(PROCESS_INFORMATION& pi) {
    ::TerminateProcess(pi.hProcess, 0);
    ::WaitForSingleObject(pi.hProcess, 10000);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
}

double TimeToFirstPaint(const std::wstring& exe, HWND* window = nullptr) {
    const double start = Now();
    PROCESS_INFORMATION pi = Start(exe);
    HWND hwnd = nullptr;
    double painted = -1;
    while (Now() - start < 20000) {
        if (hwnd == nullptr) hwnd = VisibleWindowOf(pi.dwThreadId);
        if (hwnd != nullptr && Painted(hwnd)) {
            painted = Now() - start;
            break;
        }
        ::Sleep(1);
    }
    if (window != nullptr) {
        *window = hwnd;
    } else {
        End(pi);
    }
    return painted;
}

void Click(HWND button, DWORD flags) {
    RECT r;
    ::GetWindowRect(button, &r);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = ::MulDiv((r.left + r.right) / 2, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = ::MulDiv((r.top + r.bottom) / 2, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    ::SendInput(1, &in, sizeof(in));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? _wtoi(argv[1]) : 20;
    // A disc: the launcher (Wine build), a stand-in Setup.exe and a manual.
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring disc = std::wstring(temp) + L"autorun-bench\\";
    ::CreateDirectoryW(disc.c_str(), nullptr);
    ::CopyFileW((Bin() + L"Autorun-wine.exe").c_str(), (disc + L"Autorun.exe").c_str(), FALSE);
    ::CopyFileW((Bin() + L"fake_setup.exe").c_str(), (disc + L"Setup.exe").c_str(), FALSE);
    ::CopyFileW((Bin() + L"Install.pdf").c_str(), (disc + L"Install.pdf").c_str(), FALSE);
    const std::wstring launcher = disc + L"Autorun.exe";
    const std::wstring floor = Bin() + L"floor.exe";
    ::SetEnvironmentVariableW(L"AUTORUN_LOCALE", L"0411;932;日本語 (日本)");

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
    HWND dialog = nullptr;
    ::SetEnvironmentVariableW(L"AUTORUN_TEST_LIFETIME_MS", L"10000-10000");
    PROCESS_INFORMATION pi = {};
    {
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        std::wstring command = L"\"" + launcher + L"\"";
        ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
        for (int i = 0; i < 2000 && (dialog = VisibleWindowOf(pi.dwThreadId)) == nullptr; ++i) ::Sleep(5);
    }
    ::Sleep(1000);
    FILETIME created, exited, kernel0, user0, kernel1, user1;
    ::GetProcessTimes(pi.hProcess, &created, &exited, &kernel0, &user0);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, 1000)));
    ::Sleep(500);
    const bool waiting = !::IsWindowEnabled(::GetDlgItem(dialog, 1000));
    ::Sleep(9500);
    ::GetProcessTimes(pi.hProcess, &created, &exited, &kernel1, &user1);
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
    HWND exitButton = ::GetDlgItem(dialog, 1003);
    RECT client;
    ::GetClientRect(dialog, &client);
    POINT probe = {client.right / 2, client.bottom * 90 / 100};
    for (int i = 0; i < runs; ++i) {
        Click(::GetDlgItem(dialog, 1004), 0);
        ::Sleep(100);
        INPUT off = {};
        off.type = INPUT_MOUSE;
        off.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        ::SendInput(1, &off, sizeof(off));
        ::Sleep(300);
        std::vector<COLORREF> before;
        for (int x = 0; x < client.right / 2; ++x) {
            POINT p = {probe.x + x, client.bottom * 90 / 100 + 8};
            ::ClientToScreen(dialog, &p);
            before.push_back(ScreenPixel(p.x, p.y));
        }
        Click(exitButton, 0);
        const double start = Now();
        double seen = -1;
        while (Now() - start < 3000 && seen < 0) {
            for (int x = 0; x < client.right / 2; x += 1) {
                POINT p = {probe.x + x, client.bottom * 90 / 100 + 8};
                ::ClientToScreen(dialog, &p);
                if (ScreenPixel(p.x, p.y) != before[static_cast<size_t>(x)]) {
                    seen = Now() - start;
                    break;
                }
            }
        }
        if (seen >= 0) hover.push_back(seen);
    }
    std::printf("| pointer at rest to description on screen | %.0f ms (median of %zu) |\n", Median(hover), hover.size());
    End(pi);
    return 0;
}
