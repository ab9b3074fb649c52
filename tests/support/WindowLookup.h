#pragma once
// Finding another process's windows: the launcher, its controls, its focus.
#include "ui/resource.h"

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

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

namespace detail {
inline BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}
}  // namespace detail

// The top-level windows of a thread.
inline std::vector<HWND> ThreadWindows(DWORD thread) {
    std::vector<HWND> windows;
    ::EnumThreadWindows(thread, &detail::CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

inline bool IsDialog(HWND hwnd) {
    return ClassName(hwnd) == L"#32770";
}

// The thread's visible launcher window (a dialog with the manual button), or null.
inline HWND FindLauncherWindow(DWORD thread) {
    for (HWND hwnd : ThreadWindows(thread)) {
        if (IsDialog(hwnd) && ::IsWindowVisible(hwnd) && ::GetDlgItem(hwnd, IDC_MANUAL) != nullptr) {
            return hwnd;
        }
    }
    return nullptr;
}

// The control ID of the thread's focused window; 0 when nothing has the focus.
inline int FocusedControlId(DWORD thread) {
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    ::GetGUIThreadInfo(thread, &gui);
    return gui.hwndFocus != nullptr ? ::GetDlgCtrlID(gui.hwndFocus) : 0;
}

// Whether a window's thread answers a message within two seconds.
inline bool Responsive(HWND hwnd) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
}

}  // namespace testing_support
