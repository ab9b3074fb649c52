#pragma once
// The "Ver.N" label: the major number of the launcher's own product version,
// drawn in the picture's lower right corner; and the product's name from the
// same version resource, which names the window.
#include "framework/Gdi.h"
#include "framework/String.h"

#include <windows.h>


// "Ver." and the high word of the product version's most significant part.
CString FormatVersionLabel(const VS_FIXEDFILEINFO& info);

// The fixed part of a version resource (a VS_VERSIONINFO block of size bytes):
// false when the block is too short, is not a VS_VERSIONINFO or carries no
// valid VS_FIXEDFILEINFO.
bool ReadFixedFileInfo(const void* block, DWORD size, VS_FIXEDFILEINFO* info);

// Fills text with the label of the running executable, read from the image in
// memory (so a swapped disc can neither change nor hide it); false, with text
// empty, when it has no readable version resource.
bool GetVersionLabel(CString& text);

// The same for module, a loaded image or resource file.
bool GetModuleVersionLabel(HMODULE module, CString& text);

// The text of key (a string such as "ProductName") in a version resource of
// size bytes, from the first string table that has it; false, with value
// empty, when the block is malformed or no table has the key with a text.
bool ReadVersionString(const void* block, DWORD size, const wchar_t* key, CString& value);

// The running executable's product name, read from the image in memory as the
// label is; false, with name empty, when it has none.
bool GetProductName(CString& name);

// The same for module, a loaded image or resource file.
bool GetModuleProductName(HMODULE module, CString& name);

// The label's lengths on this screen, each scaled on its own.
struct VersionLabelMetrics {
    int marginX;       // from the client area's right edge
    int marginY;       // from its bottom edge
    int shadowOffset;  // the white shadow, right and down
};

// Creates the label's font: ＭＳ Ｐゴシック bold, on every Japanese Windows (the
// only ones the launcher runs on) and drawn within its advance at these sizes,
// so the right-aligned last digit is never clipped.
bool CreateVersionLabelFont(CFont& font, int height);

// Draws label right- and bottom-aligned inside client less the margins: the
// white shadow, then the dark face over it. extraFormat is added to the format
// (the tests add DT_NOCLIP to show nothing is clipped).
void DrawVersionLabel(HDC dc, const RECT& client, const CFont& font, const CString& label,
                      const VersionLabelMetrics& metrics, UINT extraFormat = 0);
