// The program entry: hardens the process, then hands over to the application object.
#include "Com.h"
#include "SystemDlls.h"
#include "WinApp.h"

namespace {

// The first code of ours to run, right after the stack guard is seeded
// (StackGuard.cpp, priority 101) and before every other constructor: nothing may
// load a DLL before the search is restricted.
__attribute__((constructor(102))) void HardenDllSearch() {
#ifdef AUTORUN_TEST_DLL_SEARCH_FALLBACK
    // Wine always has SetDefaultDllDirectories: this test build takes the path of
    // a Windows that lacks it.
    PreloadBareNameDependencies();
#else
    RestrictDllSearch();
#endif
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Without the common controls the dialog would still come up, only without
    // its shield and themes: not worth refusing to start over.
    LoadCommonControls();

    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return 1;
    }
    app->InitApplication();
    app->InitInstance();
    // The windows are gone: whatever screen readers or shell extensions still
    // hold goes with COM.
    AfxEndCom();
    return 0;
}
