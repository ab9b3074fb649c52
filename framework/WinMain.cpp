// The program entry: hardens the process, then hands over to the application object.
#include "WinApp.h"

#include <commctrl.h>
#include <windows.h>

namespace {

// Loads later DLLs from System32 only, so a DLL planted beside the executable
// (a disc copied to a Downloads folder) is never picked up. Looked up at run time
// because Windows before the KB2533623 update lacks it.
void RestrictDllSearchToSystem32() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
    auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(::GetProcAddress(kernel32, "SetDefaultDllDirectories")));
    if (setDefault != nullptr) {
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    RestrictDllSearchToSystem32();

    // Loads the version 6 common controls the manifest asks for.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return 1;
    }
    app->InitApplication();
    app->InitInstance();
    return 0;
}
