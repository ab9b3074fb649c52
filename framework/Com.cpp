#include "Com.h"

#include "SystemDlls.h"

#include <objbase.h>

namespace {

struct Com {
    bool tried = false;
    bool started = false;
    void(WINAPI* uninitialize)() = nullptr;
};
Com g_com;

}  // namespace

bool AfxStartCom() {
    if (!g_com.tried) {
        g_com.tried = true;
        HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
        using CoInitializeExFn = HRESULT(WINAPI*)(void*, DWORD);
        const auto initialize = GetProcedure<CoInitializeExFn>(ole32, "CoInitializeEx");
        g_com.uninitialize = GetProcedure<void(WINAPI*)()>(ole32, "CoUninitialize");
        g_com.started = initialize != nullptr && g_com.uninitialize != nullptr &&
                        SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }
    return g_com.started;
}

void AfxEndCom() {
    if (g_com.started) {
        g_com.uninitialize();
    }
    g_com = Com();
}
