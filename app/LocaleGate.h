#pragma once
// The launcher runs only where Windows is Japanese throughout: display
// language, regional format and the code page for non-Unicode programs.
#include "framework/String.h"

#include <windows.h>

// What the gate reads from the platform, once per start.
struct LocaleInputs {
    LCID lcid = 0;             // the user default locale
    UINT codePage = 0;         // the ANSI code page
    bool nameRead = false;     // whether the display name below could be read
    CString displayName;       // the user default locale's language, in the UI language
};

// Display names longer than this do not fit the buffer they are read into.
constexpr int kLocaleNameBufferLength = 85;

// The decision: LCID 0x0411, a display name containing "日本語" (which it does only
// when Windows itself is displayed in Japanese) and code page 932, tested in that
// order. A name that could not be read refuses.
bool IsJapaneseLocale(const LocaleInputs& inputs);

// Reads the inputs from Windows.
LocaleInputs ReadPlatformLocaleInputs();

// The inputs the gate decides on. The shipped program reads the platform; the
// build for Wine may take them from its environment instead.
LocaleInputs ReadLocaleInputs();

// IsJapaneseLocale(ReadLocaleInputs()).
bool IsJapaneseEnvironment();
