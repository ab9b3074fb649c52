#include "LocaleGate.h"

bool IsJapaneseLocale(const LocaleInputs& inputs) {
    if (!inputs.nameRead) {
        return false;
    }
    return inputs.lcid == 0x0411 && inputs.displayName.Find(L"日本語") >= 0 &&
           inputs.codePage == 932;
}

LocaleInputs ReadPlatformLocaleInputs() {
    LocaleInputs inputs;
    inputs.lcid = ::GetUserDefaultLCID();
    inputs.codePage = ::GetACP();
    wchar_t name[kLocaleNameBufferLength] = {};
    inputs.nameRead = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SLANGUAGE, name,
                                        kLocaleNameBufferLength) != 0;
    if (inputs.nameRead) {
        inputs.displayName = name;
    }
    return inputs;
}

bool IsJapaneseEnvironment() {
    return IsJapaneseLocale(ReadLocaleInputs());
}
