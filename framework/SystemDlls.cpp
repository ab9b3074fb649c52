#include "SystemDlls.h"

#include <commctrl.h>

#include <cwchar>

// What the common controls 6.0, the theme engine and the shell (opening a
// document, starting an elevated program, a folder window's extensions) load by
// bare name on Windows 7 and Vista, none of them a KnownDLL there.
const wchar_t* const kBareNameDependencies[] = {
    L"uxtheme.dll",  L"dwmapi.dll",  L"propsys.dll", L"cryptbase.dll", L"cryptsp.dll",
    L"profapi.dll",  L"userenv.dll", L"apphelp.dll", L"version.dll",   L"sspicli.dll",
    L"ntmarta.dll",  L"oleacc.dll",  L"wtsapi32.dll", nullptr,
};

void RestrictDllSearch() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefault = GetProcedure<SetDefaultDllDirectoriesFn>(::GetModuleHandleW(L"kernel32.dll"),
                                                                     "SetDefaultDllDirectories");
    if (setDefault == nullptr || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        PreloadBareNameDependencies();
    }
}

void PreloadBareNameDependencies() {
    ::SetDllDirectoryW(L"");
    for (const wchar_t* const* name = kBareNameDependencies; *name != nullptr; ++name) {
        // Kept for the life of the process; one that this Windows lacks is skipped.
        LoadSystemLibrary(*name);
    }
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    const UINT folder = ::GetSystemDirectoryW(path, MAX_PATH);
    const std::size_t length = std::wcslen(name);
    if (folder == 0 || folder + 1 + length + 1 > MAX_PATH) {
        return nullptr;
    }
    path[folder] = L'\\';
    std::wmemcpy(path + folder + 1, name, length + 1);
    // The search for what the DLL imports starts in its own folder, System32.
    return ::LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

bool LoadCommonControls() {
    // By bare name: the manifest's activation context sends that to the side-by-
    // side common controls 6.0, which a System32 path would bypass (System32 holds
    // the old 5.8). Anything they load in turn is searched for as restricted above.
    HMODULE comctl32 = ::LoadLibraryW(L"comctl32.dll");
    using InitCommonControlsExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = GetProcedure<InitCommonControlsExFn>(comctl32, "InitCommonControlsEx");
    if (init == nullptr) {
        return false;
    }
    const INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
    return init(&controls) != FALSE;
}
