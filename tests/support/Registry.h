#pragma once
// The test prefix's registry: how it opens documents and folders.
#include <windows.h>

#include <string>

namespace testing_support {

// Sets the default value of key (created if missing); false if it cannot.
inline bool SetRegistryString(HKEY root, const std::wstring& key, const std::wstring& value) {
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LSTATUS set = ::RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(handle);
    return set == ERROR_SUCCESS;
}

}  // namespace testing_support
