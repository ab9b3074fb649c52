#include "ErrorMode.h"

#include "SystemDlls.h"

namespace {

using GetThreadErrorModeFn = DWORD(WINAPI*)();
using SetThreadErrorModeFn = BOOL(WINAPI*)(DWORD, DWORD*);

// The thread's own error mode is Windows 7's; looked up at run time so that the
// process-wide one can stand in where it is missing.
struct ThreadErrorMode {
    GetThreadErrorModeFn get;
    SetThreadErrorModeFn set;
};

ThreadErrorMode FindThreadErrorMode() {
    HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
    return {GetProcedure<GetThreadErrorModeFn>(kernel32, "GetThreadErrorMode"),
            GetProcedure<SetThreadErrorModeFn>(kernel32, "SetThreadErrorMode")};
}

}  // namespace

CNoDiskPrompt::CNoDiskPrompt() {
    const ThreadErrorMode mode = FindThreadErrorMode();
    if (mode.get != nullptr && mode.set != nullptr &&
        mode.set(mode.get() | SEM_FAILCRITICALERRORS, &m_previous)) {
        m_threadOnly = true;
        return;
    }
    // SetErrorMode returns the mode before; a second call sets it with ours added.
    m_previous = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    ::SetErrorMode(m_previous | SEM_FAILCRITICALERRORS);
}

CNoDiskPrompt::~CNoDiskPrompt() {
    if (m_threadOnly) {
        FindThreadErrorMode().set(m_previous, nullptr);
    } else {
        ::SetErrorMode(m_previous);
    }
}
