#include "ModulePath.h"

#include "framework/ErrorMode.h"

#include <cwchar>

void CutAfterLastSeparator(wchar_t* path) {
    wchar_t* end = path;
    for (wchar_t* p = path; *p != L'\0'; ++p) {
        if (*p == L'\\' || *p == L'/') {
            end = p + 1;
        }
    }
    *end = L'\0';
}

bool AppendFileName(PathBuffer& buffer, const wchar_t* name) {
    const std::size_t used = std::wcslen(buffer);
    const std::size_t added = std::wcslen(name);
    if (used + added + 1 > MAX_PATH) {
        return false;
    }
    std::wmemcpy(buffer + used, name, added + 1);
    return true;
}

bool GetModuleDirectory(PathBuffer& buffer) {
    if (!GetModuleFilePath(buffer)) {
        return false;
    }
    CutAfterLastSeparator(buffer);
    // No separator means no folder; a bare file name would be looked up in the
    // current directory instead of beside the executable.
    return buffer[0] != L'\0';
}

bool GetTargetPath(PathBuffer& buffer, const wchar_t* name) {
    if (!GetModuleDirectory(buffer) || !AppendFileName(buffer, name)) {
        return false;
    }
    // A disc taken out of its drive makes this fail; the caller then says the
    // file is missing, with no system box asking for the disc first.
    CNoDiskPrompt quiet;
    const DWORD attributes = ::GetFileAttributesW(buffer);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
