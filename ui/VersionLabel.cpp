#include "VersionLabel.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace {

constexpr COLORREF kLabelShadowColor = RGB(255, 255, 255);
constexpr COLORREF kLabelColor = RGB(20, 20, 20);
constexpr UINT kLabelFormat = DT_RIGHT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX;

// The head of a VS_VERSIONINFO block: three WORDs, then its key.
constexpr wchar_t kVersionInfoKey[] = L"VS_VERSION_INFO";
constexpr DWORD kVersionInfoHeader = 3 * sizeof(WORD);

constexpr wchar_t kStringFileInfoKey[] = L"StringFileInfo";
constexpr wchar_t kProductNameKey[] = L"ProductName";
constexpr WORD kTextValue = 1;

// One node of a version resource: its header, its key, then its value and its
// children, each starting at the next DWORD boundary. Offsets count from the
// start of the block.
struct VersionNode {
    DWORD end;         // one past its last byte
    DWORD key;
    DWORD keyLength;   // characters, without the terminator
    DWORD value;
    DWORD valueBytes;
    DWORD children;
};

WORD WordAt(const BYTE* bytes, DWORD offset) {
    WORD word;
    std::memcpy(&word, bytes + offset, sizeof(word));
    return word;
}

DWORD AlignToDword(DWORD offset) {
    return (offset + 3) & ~3u;
}

// Reads the node at start, which must end by limit; false if it does not fit.
bool ReadNode(const BYTE* bytes, DWORD start, DWORD limit, VersionNode* node) {
    if (start >= limit || limit - start < kVersionInfoHeader) {
        return false;
    }
    const DWORD length = WordAt(bytes, start);
    if (length < kVersionInfoHeader || length > limit - start) {
        return false;
    }
    node->end = start + length;
    node->key = start + kVersionInfoHeader;
    DWORD keyEnd = node->key;
    for (;; keyEnd += sizeof(wchar_t)) {
        if (node->end - keyEnd < sizeof(wchar_t)) {
            return false;  // the key runs past the node unterminated
        }
        if (WordAt(bytes, keyEnd) == 0) {
            break;
        }
    }
    node->keyLength = (keyEnd - node->key) / sizeof(wchar_t);
    node->value = std::min(AlignToDword(keyEnd + sizeof(wchar_t)), node->end);
    // A text's length counts characters; some compilers wrote bytes, so a text
    // is cut at the node's end rather than refused.
    const DWORD valueLength = WordAt(bytes, start + sizeof(WORD));
    const bool text = WordAt(bytes, start + 2 * sizeof(WORD)) == kTextValue;
    const DWORD room = node->end - node->value;
    node->valueBytes = text ? std::min<DWORD>(valueLength * sizeof(wchar_t), room) : valueLength;
    if (node->valueBytes > room) {
        return false;
    }
    node->children = std::min(AlignToDword(node->value + node->valueBytes), node->end);
    return true;
}

// Reads the child of parent at *at and moves *at to the next one; false when
// there are no more or the child is malformed.
bool NextChild(const BYTE* bytes, const VersionNode& parent, DWORD* at, VersionNode* child) {
    if (!ReadNode(bytes, *at, parent.end, child)) {
        return false;
    }
    *at = AlignToDword(child->end);
    return true;
}

bool KeyIs(const BYTE* bytes, const VersionNode& node, const wchar_t* key) {
    DWORD i = 0;
    for (; key[i] != L'\0'; ++i) {
        if (i == node.keyLength || WordAt(bytes, node.key + i * sizeof(wchar_t)) != key[i]) {
            return false;
        }
    }
    return i == node.keyLength;
}

// The node's value as text, up to its terminator.
CString TextOf(const BYTE* bytes, const VersionNode& node) {
    int length = 0;
    while (static_cast<DWORD>(length + 1) * sizeof(wchar_t) <= node.valueBytes &&
           WordAt(bytes, node.value + static_cast<DWORD>(length) * sizeof(wchar_t)) != 0) {
        ++length;
    }
    CString text;
    if (length == 0) {
        return text;
    }
    std::memcpy(text.GetBuffer(length), bytes + node.value, static_cast<size_t>(length) * sizeof(wchar_t));
    text.ReleaseBuffer(length);
    return text;
}

// The image's version resource, or null.
const void* LockVersionResource(HMODULE module, DWORD* size) {
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    HGLOBAL loaded = resource != nullptr ? ::LoadResource(module, resource) : nullptr;
    *size = resource != nullptr ? ::SizeofResource(module, resource) : 0;
    return loaded != nullptr ? ::LockResource(loaded) : nullptr;
}

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
    DWORD size = 0;
    const void* block = LockVersionResource(module, &size);
    VS_FIXEDFILEINFO info;
    if (block == nullptr || !ReadFixedFileInfo(block, size, &info)) {
        return false;
    }
    text = FormatVersionLabel(info);
    return true;
}

bool ReadVersionString(const void* block, DWORD size, const wchar_t* key, CString& value) {
    value.Empty();
    const auto* bytes = static_cast<const BYTE*>(block);
    VersionNode root;
    if (block == nullptr || !ReadNode(bytes, 0, size, &root) || !KeyIs(bytes, root, kVersionInfoKey)) {
        return false;
    }
    VersionNode info;
    for (DWORD at = root.children; NextChild(bytes, root, &at, &info);) {
        if (!KeyIs(bytes, info, kStringFileInfoKey)) {
            continue;
        }
        VersionNode table;
        for (DWORD tableAt = info.children; NextChild(bytes, info, &tableAt, &table);) {
            VersionNode entry;
            for (DWORD entryAt = table.children; NextChild(bytes, table, &entryAt, &entry);) {
                if (KeyIs(bytes, entry, key)) {
                    value = TextOf(bytes, entry);
                    if (!value.IsEmpty()) {
                        return true;
                    }
                }
            }
        }
    }
    return false;
}

bool GetProductName(CString& name) {
    return GetModuleProductName(::GetModuleHandleW(nullptr), name);
}

bool GetModuleProductName(HMODULE module, CString& name) {
    DWORD size = 0;
    const void* block = LockVersionResource(module, &size);
    return ReadVersionString(block, size, kProductNameKey, name);
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
