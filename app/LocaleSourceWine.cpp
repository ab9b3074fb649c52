// The Wine build's locale inputs: AUTORUN_LOCALE when it is set, else the platform's.
#include "LocaleGate.h"
#include "LocaleOverride.h"

LocaleInputs ReadLocaleInputs() {
    const wchar_t kVariable[] = L"AUTORUN_LOCALE";
    const DWORD length = ::GetEnvironmentVariableW(kVariable, nullptr, 0);
    if (length == 0) {
        return ReadPlatformLocaleInputs();
    }
    CString value;
    const DWORD written = ::GetEnvironmentVariableW(kVariable, value.GetBuffer(static_cast<int>(length)), length);
    value.ReleaseBuffer(written < length ? static_cast<int>(written) : 0);
    return ParseLocaleOverride(value);
}
