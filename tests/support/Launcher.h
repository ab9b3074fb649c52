#pragma once
// The launcher as the tests start it.
#include "Process.h"
#include "Wait.h"
#include "WindowLookup.h"

#include <windows.h>

#include <string>

namespace testing_support {

// The Wine build the end-to-end tests drive: the checked one, the same sources
// with undefined-behaviour traps and its heap validated when it ends
// (cmake/Checked.cmake).
constexpr wchar_t kWineLauncher[] = L"Autorun-wine-checked.exe";

// The Japanese answers Wine cannot give (its locale display name is English),
// for the Wine build's AUTORUN_LOCALE.
constexpr wchar_t kJapaneseLocale[] = L"0411;932;日本語 (日本)";

// Starts the launcher at path with locale as its AUTORUN_LOCALE (null: none),
// from folder.
inline bool StartLauncherProcess(ChildProcess& process, const std::wstring& path, const wchar_t* locale,
                                 const std::wstring& folder = L"") {
    ::SetEnvironmentVariableW(L"AUTORUN_LOCALE", locale);
    return process.Start(path, folder);
}

// Waits for the process's launcher window; null if none appeared in time.
inline HWND WaitForLauncherWindow(const ChildProcess& process, DWORD timeoutMs = kPatienceMs) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindLauncherWindow(process.ThreadId())) != nullptr; }, timeoutMs);
    return window;
}

}  // namespace testing_support
