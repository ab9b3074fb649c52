#include "Launch.h"

#include <shellapi.h>

#ifndef _WIN64
static_assert(sizeof(SHELLEXECUTEINFOW) == 60, "SHELLEXECUTEINFOW of the 32-bit shell");
#endif

bool LaunchAndWait(const wchar_t* path, HWND owner) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = owner;
    info.lpFile = path;
    info.nShow = SW_SHOWNORMAL;

    const BOOL accepted = ::ShellExecuteExW(&info);
    if (!accepted || reinterpret_cast<INT_PTR>(info.hInstApp) <= 32) {
        if (info.hProcess != nullptr) {
            ::CloseHandle(info.hProcess);
        }
        return false;
    }
    // A viewer that handed the document to a running instance leaves no process.
    if (info.hProcess == nullptr) {
        return true;
    }
    WaitDispatchingMessages(info.hProcess);
    ::CloseHandle(info.hProcess);
    return true;
}

void WaitDispatchingMessages(HANDLE process) {
    for (;;) {
        const DWORD result = ::MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0 || result == WAIT_TIMEOUT || result == WAIT_FAILED) {
            return;
        }
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

void OpenFolder(const wchar_t* folder) {
    ::ShellExecuteW(nullptr, L"open", folder, nullptr, nullptr, SW_SHOWNORMAL);
}
