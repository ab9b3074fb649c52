#pragma once
// What the end-to-end tests share: a disc folder with the launcher, a stand-in
// Setup.exe and a manual; the launcher process started from it; real keyboard
// and pointer input; and the log in which the stand-ins for the installer, the
// PDF viewer and the folder browser record what they were asked to do
// (tests/fixtures/FakeTarget.cpp).
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace e2e {

constexpr int kManual = 1004;
constexpr int kInstall = 1000;
constexpr int kOpenDisc = 1002;
constexpr int kExit = 1003;
constexpr DWORD kPatienceMs = 15000;

// The Japanese answers Wine cannot give (its locale display name is English).
constexpr wchar_t kJapaneseLocale[] = L"0411;932;日本語 (日本)";

inline std::wstring BinDirectory() {
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring result = path;
    return result.substr(0, result.find_last_of(L"\\/") + 1);
}

inline std::string Utf8(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
    result.resize(static_cast<size_t>(size) - 1);
    return result;
}

inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kPatienceMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (::GetTickCount64() > end) return false;
        ::Sleep(20);
    }
    return true;
}

inline std::wstring WindowText(HWND hwnd) {
    wchar_t text[512] = {};
    ::GetWindowTextW(hwnd, text, 512);
    return text;
}

inline std::wstring ClassName(HWND hwnd) {
    wchar_t name[64] = {};
    ::GetClassNameW(hwnd, name, 64);
    return name;
}

// Deletes a folder and everything in it.
inline void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

inline void SetRegistryString(HKEY root, const std::wstring& key, const std::wstring& value) {
    HKEY handle = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr));
    ::RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(handle);
}

// Real input, as from the keyboard and the mouse.
inline void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        inputs.push_back(in);
    }
    for (auto it = keys.end(); it != keys.begin();) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = *--it;
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

inline void SendMouse(DWORD flags, POINT point) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(point.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(point.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof(INPUT));
}

// Moves the pointer to point and waits until it is there.
inline void MoveTo(POINT point) {
    SendMouse(0, point);
    WaitUntil([&] {
        POINT at;
        return ::GetCursorPos(&at) && at.x == point.x && at.y == point.y;
    }, 2000);
}

// Moves the pointer to point, then presses and releases the left button.
inline void ClickAt(POINT point) {
    MoveTo(point);
    SendMouse(MOUSEEVENTF_LEFTDOWN, point);
    SendMouse(MOUSEEVENTF_LEFTUP, point);
}

inline int ScreenDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

// n design pixels at the screen's DPI, rounded as the launcher rounds them.
inline int Scale(int n) {
    return ::MulDiv(n, ScreenDpi(), 96);
}

// The pixels of a rectangle of a device context, as 32-bit colours, row by row.
inline std::vector<DWORD> Capture(HDC source, int x, int y, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC memory = ::CreateCompatibleDC(source);
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    ::GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width * height);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    return pixels;
}

inline std::vector<DWORD> CaptureScreen(int x, int y, int width, int height) {
    HDC screen = ::GetDC(nullptr);
    std::vector<DWORD> pixels = Capture(screen, x, y, width, height);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

// One disc folder with the launcher, a stand-in Setup.exe and a manual, and the
// launcher process started from it.
class DiscFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The test prefix opens .pdf documents and folders with the stand-ins.
        const std::wstring bin = BinDirectory();
        SetRegistryString(HKEY_CLASSES_ROOT, L".pdf", L"AutorunTest.Document");
        SetRegistryString(HKEY_CLASSES_ROOT, L"AutorunTest.Document\\shell\\open\\command",
                          L"\"" + bin + L"fake_viewer.exe\" \"%1\"");
        for (const wchar_t* kind : {L"Folder", L"Directory"}) {
            SetRegistryString(HKEY_CLASSES_ROOT, std::wstring(kind) + L"\\shell\\open\\command",
                              L"\"" + bin + L"fake_browser.exe\" \"%1\"");
            // Wine's own folder handler talks DDE, which the stand-in does not:
            // its shell would wait for a DDE server that never comes.
            ::RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(kind) + L"\\shell\\open\\ddeexec").c_str());
        }
    }

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        std::string name = std::string(info->test_suite_name()) + "." + info->name();
        for (char& c : name) {
            if (c == '/') c = '.';
        }
        m_root = std::wstring(temp) + L"autorun-e2e\\" + std::wstring(name.begin(), name.end()) + L"\\";
        // The disc's path has spaces and Japanese in it, as real ones do.
        m_disc = m_root + L"ディスク 1\\";
        m_log = m_root + L"events.log";
        RemoveTree(m_root.substr(0, m_root.size() - 1));
        ::CreateDirectoryW((std::wstring(temp) + L"autorun-e2e").c_str(), nullptr);
        ::CreateDirectoryW(m_root.c_str(), nullptr);
        ::CreateDirectoryW(m_disc.c_str(), nullptr);

        const std::wstring bin = BinDirectory();
        ASSERT_TRUE(::CopyFileW((bin + L"fake_setup.exe").c_str(), (m_disc + L"Setup.exe").c_str(), FALSE))
            << Utf8(m_disc) << " error " << ::GetLastError();
        WriteFile(m_disc + L"Install.pdf", "%PDF-1.4\n");
        ::SetEnvironmentVariableW(L"AUTORUN_TEST_LOG", m_log.c_str());

        for (const wchar_t* role : {L"setup", L"viewer", L"browser"}) {
            m_release.push_back(::CreateEventW(nullptr, TRUE, FALSE,
                                               (std::wstring(L"AutorunTest.release.") + role).c_str()));
        }
    }

    void TearDown() override {
        for (HANDLE event : m_release) {
            ::SetEvent(event);
        }
        if (m_process.hProcess != nullptr) {
            if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
                ::TerminateProcess(m_process.hProcess, 1);
                ::WaitForSingleObject(m_process.hProcess, kPatienceMs);
            }
            ::CloseHandle(m_process.hProcess);
            ::CloseHandle(m_process.hThread);
        }
        // Let the stand-ins see their release before the events go.
        WaitUntil([&] { return Count("start") == Count("end"); }, 5000);
        for (HANDLE event : m_release) {
            ::CloseHandle(event);
        }
    }

    static void WriteFile(const std::wstring& path, const std::string& text) {
        HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file) << Utf8(path);
        DWORD written = 0;
        ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        ::CloseHandle(file);
    }

    // Copies build (Autorun.exe, or Autorun-wine.exe given locale as its
    // AUTORUN_LOCALE, null for none) onto the disc as Autorun.exe and starts it
    // there, from another current directory.
    void StartProcess(const wchar_t* build, const wchar_t* locale) {
        ASSERT_TRUE(::CopyFileW((BinDirectory() + build).c_str(), (m_disc + L"Autorun.exe").c_str(), FALSE));
        StartFrom(m_disc + L"Autorun.exe", locale);
    }

    // Starts the launcher at path, from another current directory; with
    // stdErr, its standard error (where Wine writes its traces) goes there.
    void StartFrom(const std::wstring& path, const wchar_t* locale, HANDLE stdErr = nullptr) {
        ::SetEnvironmentVariableW(L"AUTORUN_LOCALE", locale);
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        if (stdErr != nullptr) {
            si.dwFlags = STARTF_USESTDHANDLES;
            si.hStdError = stdErr;
            si.hStdOutput = stdErr;
        }
        std::wstring command = L"\"" + path + L"\"";
        ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, stdErr != nullptr, 0, nullptr,
                                     m_root.c_str(), &si, &m_process));
    }

    // Starts the launcher that passes the locale gate under Wine, and waits for
    // its window.
    void StartLauncher() {
        StartProcess(L"Autorun-wine.exe", kJapaneseLocale);
        ASSERT_TRUE(WaitUntil([&] { return (m_dialog = FindLauncherWindow()) != nullptr; }))
            << "the launcher window did not appear";
        ::SetForegroundWindow(m_dialog);
    }

    HWND FindLauncherWindow() const {
        for (HWND hwnd : ThreadWindows()) {
            if (ClassName(hwnd) == L"#32770" && ::IsWindowVisible(hwnd) && ::GetDlgItem(hwnd, kManual)) {
                return hwnd;
            }
        }
        return nullptr;
    }

    std::vector<HWND> ThreadWindows() const {
        std::vector<HWND> windows;
        ::EnumThreadWindows(m_process.dwThreadId, [](HWND hwnd, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            return TRUE;
        }, reinterpret_cast<LPARAM>(&windows));
        return windows;
    }

    // A visible message box of the launcher's thread (a dialog that is not the
    // launcher).
    HWND FindMessageBox() const {
        for (HWND hwnd : ThreadWindows()) {
            if (ClassName(hwnd) == L"#32770" && ::IsWindowVisible(hwnd) && !::GetDlgItem(hwnd, kManual)) {
                return hwnd;
            }
        }
        return nullptr;
    }

    static std::wstring MessageBoxText(HWND box) {
        HWND text = ::GetDlgItem(box, 0xFFFF);
        return text != nullptr ? WindowText(text) : L"";
    }

    // Waits for a message box with this text, closing any other box the shell
    // shows first; closes it and reports its caption and owner.
    ::testing::AssertionResult ExpectMessageBox(const std::wstring& text, const std::wstring& appName = L"Autorun") {
        HWND box = nullptr;
        const bool found = WaitUntil([&] {
            box = FindMessageBox();
            if (box == nullptr) return false;
            if (MessageBoxText(box) == text) return true;
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);   // the shell's own error box
            ::Sleep(200);
            return false;
        });
        if (!found) return ::testing::AssertionFailure() << "no message box \"" << Utf8(text) << "\"";
        const std::wstring caption = WindowText(box);
        const HWND owner = ::GetWindow(box, GW_OWNER);
        const bool onlyOk = ::GetDlgItem(box, IDOK) != nullptr && ::GetDlgItem(box, IDCANCEL) == nullptr;
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        WaitUntil([&] { return !::IsWindow(box); });
        if (caption != appName) return ::testing::AssertionFailure() << "caption " << Utf8(caption);
        if (owner != m_dialog) return ::testing::AssertionFailure() << "not owned by the launcher";
        if (!onlyOk) return ::testing::AssertionFailure() << "buttons other than OK";
        return ::testing::AssertionSuccess();
    }

    HWND Button(int id) const { return ::GetDlgItem(m_dialog, id); }

    // Clicks the button at its centre, or offsetX pixels right of it.
    void Click(int id, int offsetX = 0) {
        RECT rect;
        ::GetWindowRect(Button(id), &rect);
        ::SetForegroundWindow(m_dialog);
        ClickAt({(rect.left + rect.right) / 2 + offsetX, (rect.top + rect.bottom) / 2});
    }

    int FocusedId() const {
        GUITHREADINFO gui = {};
        gui.cbSize = sizeof(gui);
        ::GetGUIThreadInfo(m_process.dwThreadId, &gui);
        return gui.hwndFocus != nullptr ? ::GetDlgCtrlID(gui.hwndFocus) : 0;
    }

    bool Running() const { return ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT; }

    // Whether the launcher answers a message within two seconds.
    bool Responsive() const {
        DWORD_PTR result = 0;
        return ::SendMessageTimeoutW(m_dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
    }

    std::vector<std::string> LogLines() const {
        std::ifstream in(Utf8(m_log));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    // How many log lines contain all of the words.
    int Count(const std::string& what, const std::string& role = "") const {
        int n = 0;
        for (const std::string& line : LogLines()) {
            if (line.find(" " + what) != std::string::npos && line.rfind(role, 0) == 0) ++n;
        }
        return n;
    }

    void Release(const wchar_t* role) {
        ::SetEvent(m_release[role == std::wstring(L"setup") ? 0 : role == std::wstring(L"viewer") ? 1 : 2]);
    }

    std::wstring m_root;
    std::wstring m_disc;
    std::wstring m_log;
    std::vector<HANDLE> m_release;
    PROCESS_INFORMATION m_process = {};
    HWND m_dialog = nullptr;
};

}  // namespace e2e
