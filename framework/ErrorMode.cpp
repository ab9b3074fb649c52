#include "ErrorMode.h"

#include "SystemDlls.h"

// The thread's own error mode is Windows 7's; looked up at run time so that the
// process-wide one can stand in where it is missing.
CNoDiskPrompt::CNoDiskPrompt() {
    HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
    const auto getThreadMode = GetProcedure<DWORD(WINAPI*)()>(kernel32, "GetThreadErrorMode");
    const auto setThreadMode = GetProcedure<SetThreadErrorModeFn>(kernel32, "SetThreadErrorMode");
    if (getThreadMode != nullptr && setThreadMode != nullptr &&
        setThreadMode(getThreadMode() | SEM_FAILCRITICALERRORS, &m_previous)) {
        m_setThreadMode = setThreadMode;
        return;
    }
    // SetErrorMode returns the mode before; a second call sets it with ours added.
    m_previous = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    ::SetErrorMode(m_previous | SEM_FAILCRITICALERRORS);
}

CNoDiskPrompt::~CNoDiskPrompt() {
    if (m_setThreadMode != nullptr) {
        m_setThreadMode(m_previous, nullptr);
    } else {
        ::SetErrorMode(m_previous);
    }
}
