#pragma once
// The "Ver.N" label: the major number of the launcher's own product version.
#include <windows.h>

#include <string>

// "Ver." and the high word of the product version's most significant part.
std::wstring FormatVersionLabel(const VS_FIXEDFILEINFO& info);

// Fills text with the label of the running executable; false, with text empty,
// when it has no readable version resource or version.dll cannot be loaded.
bool GetVersionLabel(std::wstring& text);
