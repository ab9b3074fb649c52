#include "ModuleFile.h"

bool IsCompleteModulePath(DWORD length, DWORD capacity) {
    return length > 0 && length < capacity;
}

bool GetModuleFilePath(PathBuffer& buffer) {
    // The whole buffer: the longest path there is (259 characters) still fits
    // with its terminator, and only a longer one fills it.
    const DWORD length = ::GetModuleFileNameW(::GetModuleHandleW(nullptr), buffer, MAX_PATH);
    if (!IsCompleteModulePath(length, MAX_PATH)) {
        buffer[0] = L'\0';
        return false;
    }
    return true;
}
