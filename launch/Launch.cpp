#include "Launch.h"

#include <shellapi.h>

#ifndef _WIN64
static_assert(sizeof(SHELLEXECUTEINFOW) == 60, "SHELLEXECUTEINFOW of the 32-bit shell");
#endif

namespace {

// Opens path with the shell's default verb. On success, process is the started
// process (the caller closes it), or null if the shell started none.
bool ShellOpen(const wchar_t* path, HWND owner, HANDLE& process) {
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
        process = nullptr;
        return false;
    }
    process = info.hProcess;
    return true;
}

}  // namespace

bool LaunchAndWait(const wchar_t* path, HWND owner) {
    HANDLE process = nullptr;
    if (!ShellOpen(path, owner, process)) {
        return false;
    }
    // A viewer that handed the document to a running instance leaves no process.
    if (process == nullptr) {
        return true;
    }
    WaitDispatchingMessages(process);
    ::CloseHandle(process);
    return true;
}

bool Launch(const wchar_t* path, HWND owner) {
    HANDLE process = nullptr;
    if (!ShellOpen(path, owner, process)) {
        return false;
    }
    if (process != nullptr) {
        ::CloseHandle(process);
    }
    return true;
}

bool WaitDispatchingMessages(HANDLE process) {
    for (;;) {
        const DWORD result = ::MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0) {
            return true;
        }
        if (result == WAIT_TIMEOUT || result == WAIT_FAILED) {
            return false;
        }
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return false;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

void OpenFolder(const wchar_t* folder) {
    ::ShellExecuteW(nullptr, L"open", folder, nullptr, nullptr, SW_SHOWNORMAL);
}
