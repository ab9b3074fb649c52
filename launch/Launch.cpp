#include "Launch.h"

#include "framework/Com.h"
#include "framework/Handle.h"
#include "framework/SystemDlls.h"

#include <shellapi.h>

#ifndef _WIN64
static_assert(sizeof(SHELLEXECUTEINFOW) == 60, "SHELLEXECUTEINFOW of the 32-bit shell");
#endif

namespace {

// The shell, loaded from System32 on the first shell call rather than at
// start-up: most runs open one document or none.
struct Shell {
    bool tried = false;
    BOOL(WINAPI* executeEx)(SHELLEXECUTEINFOW*) = nullptr;
};
Shell g_shell;

bool ExecuteInShell(SHELLEXECUTEINFOW& info) {
    // The shell may hand a request to extensions that are COM objects, so COM
    // comes first; the shell works without it all the same.
    AfxStartCom();
    if (!g_shell.tried) {
        g_shell.tried = true;
        g_shell.executeEx =
            GetProcedure<BOOL(WINAPI*)(SHELLEXECUTEINFOW*)>(LoadSystemLibrary(L"shell32.dll"), "ShellExecuteExW");
    }
    return g_shell.executeEx != nullptr && g_shell.executeEx(&info);
}

// Opens path with the shell's default verb. On success, process holds the
// started process, or nothing if the shell started none.
bool ShellOpen(const wchar_t* path, HWND owner, CHandle& process) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = owner;
    info.lpFile = path;
    info.nShow = SW_SHOWNORMAL;

    const bool accepted = ExecuteInShell(info);
    process.Attach(info.hProcess);
    if (!accepted || reinterpret_cast<INT_PTR>(info.hInstApp) <= 32) {
        process.Close();
        return false;
    }
    return true;
}

}  // namespace

bool LaunchAndWait(const wchar_t* path, CDialog& owner, WaitEnd end) {
    CHandle process;
    if (!ShellOpen(path, owner.m_hWnd, process)) {
        return false;
    }
    // A viewer that handed the document to a running instance leaves no process.
    if (process) {
        owner.RunModalLoopUntil(process.Get(), end);
    }
    return true;
}

bool Launch(const wchar_t* path, HWND owner) {
    CHandle process;
    return ShellOpen(path, owner, process);
}

void OpenFolder(const wchar_t* folder) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.lpVerb = L"open";
    info.lpFile = folder;
    info.nShow = SW_SHOWNORMAL;
    ExecuteInShell(info);
}
