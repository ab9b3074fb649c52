#pragma once
// For the build that runs under Wine only. Wine answers the locale's display name
// in English whatever the locale, so there the gate would always refuse; that
// build lets AUTORUN_LOCALE stand in for the platform's answers.
#include "LocaleGate.h"

// Parses "<LCID in hex>;<ANSI code page>;<display name>", e.g.
// "0411;932;日本語 (日本)". Anything malformed gives inputs whose name was not
// read, which the gate refuses, never a pass.
LocaleInputs ParseLocaleOverride(const CString& value);
