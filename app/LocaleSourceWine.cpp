// The Wine build's locale inputs: AUTORUN_LOCALE when it is set, else the platform's.
#include "LocaleGate.h"
#include "LocaleOverride.h"

LocaleInputs ReadLocaleInputs() {
    const wchar_t kVariable[] = L"AUTORUN_LOCALE";
    const DWORD length = ::GetEnvironmentVariableW(kVariable, nullptr, 0);
    if (length == 0) {
        return ReadPlatformLocaleInputs();
    }
    std::wstring value(length, L'\0');
    const DWORD written = ::GetEnvironmentVariableW(kVariable, value.data(), length);
    value.resize(written < length ? written : 0);
    return ParseLocaleOverride(value);
}
