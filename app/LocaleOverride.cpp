#include "LocaleOverride.h"

#include <cwctype>

namespace {

// Whole-string unsigned number in the given base, at most maxDigits long.
bool ParseNumber(const CString& text, int base, int maxDigits, unsigned long* value) {
    if (text.IsEmpty() || text.GetLength() > maxDigits) {
        return false;
    }
    unsigned long result = 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        const wchar_t c = text.GetAt(i);
        unsigned digit;
        if (c >= L'0' && c <= L'9') {
            digit = static_cast<unsigned>(c - L'0');
        } else if (base == 16 && std::towlower(c) >= L'a' && std::towlower(c) <= L'f') {
            digit = static_cast<unsigned>(std::towlower(c) - L'a' + 10);
        } else {
            return false;
        }
        result = result * static_cast<unsigned long>(base) + digit;
    }
    *value = result;
    return true;
}

}  // namespace

LocaleInputs ParseLocaleOverride(const CString& value) {
    LocaleInputs inputs;
    const int first = value.Find(L';');
    const int second = first < 0 ? -1 : value.Find(L';', first + 1);
    if (second < 0) {
        return inputs;
    }
    unsigned long lcid = 0;
    unsigned long codePage = 0;
    const CString name = value.Mid(second + 1);
    if (!ParseNumber(value.Left(first), 16, 8, &lcid) ||
        !ParseNumber(value.Mid(first + 1, second - first - 1), 10, 5, &codePage) || name.IsEmpty() ||
        name.GetLength() >= kLocaleNameBufferLength) {
        return inputs;
    }
    inputs.lcid = static_cast<LCID>(lcid);
    inputs.codePage = static_cast<UINT>(codePage);
    inputs.displayName = name;
    inputs.nameRead = true;
    return inputs;
}
