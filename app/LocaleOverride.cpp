#include "LocaleOverride.h"

#include <cwctype>

namespace {

// Whole-string unsigned number in the given base, at most maxDigits long.
bool ParseNumber(const std::wstring& text, int base, std::size_t maxDigits, unsigned long* value) {
    if (text.empty() || text.size() > maxDigits) {
        return false;
    }
    unsigned long result = 0;
    for (wchar_t c : text) {
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

LocaleInputs ParseLocaleOverride(const std::wstring& value) {
    LocaleInputs inputs;
    const std::size_t first = value.find(L';');
    const std::size_t second = first == std::wstring::npos ? first : value.find(L';', first + 1);
    if (second == std::wstring::npos) {
        return inputs;
    }
    unsigned long lcid = 0;
    unsigned long codePage = 0;
    const std::wstring name = value.substr(second + 1);
    if (!ParseNumber(value.substr(0, first), 16, 8, &lcid) ||
        !ParseNumber(value.substr(first + 1, second - first - 1), 10, 5, &codePage) ||
        name.empty() || name.size() >= static_cast<std::size_t>(kLocaleNameBufferLength)) {
        return inputs;
    }
    inputs.lcid = static_cast<LCID>(lcid);
    inputs.codePage = static_cast<UINT>(codePage);
    inputs.displayName = name;
    inputs.nameRead = true;
    return inputs;
}
