#include "Launch.h"

#include "framework/Handle.h"

#include <shellapi.h>

#ifndef _WIN64
static_assert(sizeof(SHELLEXECUTEINFOW) == 60, "SHELLEXECUTEINFOW of the 32-bit shell");
#endif

namespace {

// Opens path with the shell's default verb. On success, process holds the
// started process, or nothing if the shell started none.
bool ShellOpen(const wchar_t* path, HWND owner, CHandle& process) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = owner;
    info.lpFile = path;
    info.nShow = SW_SHOWNORMAL;

    const BOOL accepted = ::ShellExecuteExW(&info);
    process.Attach(info.hProcess);
    if (!accepted || reinterpret_cast<INT_PTR>(info.hInstApp) <= 32) {
        process.Close();
        return false;
    }
    return true;
}

}  // namespace

bool LaunchAndWait(const wchar_t* path, CDialog& owner) {
    CHandle process;
    if (!ShellOpen(path, owner.m_hWnd, process)) {
        return false;
    }
    // A viewer that handed the document to a running instance leaves no process.
    if (process) {
        owner.RunModalLoopUntil(process.Get());
    }
    return true;
}

bool Launch(const wchar_t* path, HWND owner) {
    CHandle process;
    return ShellOpen(path, owner, process);
}

void OpenFolder(const wchar_t* folder) {
    ::ShellExecuteW(nullptr, L"open", folder, nullptr, nullptr, SW_SHOWNORMAL);
}
