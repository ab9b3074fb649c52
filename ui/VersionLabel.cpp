#include "VersionLabel.h"

#include <cstring>
#include <cwchar>

namespace {

constexpr COLORREF kLabelShadowColor = RGB(255, 255, 255);
constexpr COLORREF kLabelColor = RGB(20, 20, 20);
constexpr UINT kLabelFormat = DT_RIGHT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX;

// The head of a VS_VERSIONINFO block: three WORDs, then its key.
constexpr wchar_t kVersionInfoKey[] = L"VS_VERSION_INFO";
constexpr DWORD kVersionInfoHeader = 3 * sizeof(WORD);

}  // namespace

CString FormatVersionLabel(const VS_FIXEDFILEINFO& info) {
    CString text;
    text.Format(L"Ver.%u", static_cast<unsigned>(HIWORD(info.dwProductVersionMS)));
    return text;
}

bool ReadFixedFileInfo(const void* block, DWORD size, VS_FIXEDFILEINFO* info) {
    const auto* bytes = static_cast<const BYTE*>(block);
    const DWORD keyBytes = sizeof(kVersionInfoKey);  // with its terminator
    // The value starts at the first DWORD boundary after the key.
    const DWORD valueOffset = (kVersionInfoHeader + keyBytes + 3) & ~3u;
    if (block == nullptr || size < valueOffset + sizeof(VS_FIXEDFILEINFO)) {
        return false;
    }
    WORD length = 0;
    WORD valueLength = 0;
    std::memcpy(&length, bytes, sizeof(WORD));
    std::memcpy(&valueLength, bytes + sizeof(WORD), sizeof(WORD));
    if (length > size || length < valueOffset + sizeof(VS_FIXEDFILEINFO) ||
        valueLength < sizeof(VS_FIXEDFILEINFO) ||
        std::memcmp(bytes + kVersionInfoHeader, kVersionInfoKey, keyBytes) != 0) {
        return false;
    }
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, bytes + valueOffset, sizeof(fixed));
    if (fixed.dwSignature != VS_FFI_SIGNATURE) {
        return false;
    }
    *info = fixed;
    return true;
}

bool GetVersionLabel(CString& text) {
    return GetModuleVersionLabel(::GetModuleHandleW(nullptr), text);
}

bool GetModuleVersionLabel(HMODULE module, CString& text) {
    text.Empty();
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    HGLOBAL loaded = resource != nullptr ? ::LoadResource(module, resource) : nullptr;
    const void* block = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    VS_FIXEDFILEINFO info;
    if (block == nullptr || !ReadFixedFileInfo(block, ::SizeofResource(module, resource), &info)) {
        return false;
    }
    text = FormatVersionLabel(info);
    return true;
}

bool CreateVersionLabelFont(CFont& font, int height) {
    return font.CreateFont(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS,
                           L"ＭＳ Ｐゴシック");
}

void DrawVersionLabel(HDC dc, const RECT& client, const CFont& font, const CString& label,
                      const VersionLabelMetrics& metrics, UINT extraFormat) {
    RECT face = client;
    ::InflateRect(&face, -metrics.marginX, -metrics.marginY);
    RECT shadow = face;
    ::OffsetRect(&shadow, metrics.shadowOffset, metrics.shadowOffset);

    const UINT format = kLabelFormat | extraFormat;
    CSelectObject selection(dc, font.GetSafeHandle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kLabelShadowColor);
    ::DrawTextW(dc, label, -1, &shadow, format);
    ::SetTextColor(dc, kLabelColor);
    ::DrawTextW(dc, label, -1, &face, format);
}
