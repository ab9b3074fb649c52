#include "VersionLabel.h"

#include "launch/ModulePath.h"

#include <memory>
#include <new>

namespace {

// version.dll is not one of the DLLs Windows always takes from System32, so it is
// loaded from there explicitly rather than imported, where a copy planted beside
// the executable could be picked up.
class CVersionDll {
public:
    CVersionDll() {
        m_module = ::LoadLibraryExW(L"version.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (m_module == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER) {
            // Windows without the search flags: name System32 in full instead.
            wchar_t path[MAX_PATH];
            const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
            if (length > 0 && length + 13 < MAX_PATH) {
                ::lstrcatW(path, L"\\version.dll");
                m_module = ::LoadLibraryW(path);
            }
        }
        if (m_module != nullptr) {
            m_getSize = Function<decltype(m_getSize)>("GetFileVersionInfoSizeW");
            m_getInfo = Function<decltype(m_getInfo)>("GetFileVersionInfoW");
            m_query = Function<decltype(m_query)>("VerQueryValueW");
        }
    }
    ~CVersionDll() {
        if (m_module != nullptr) {
            ::FreeLibrary(m_module);
        }
    }
    CVersionDll(const CVersionDll&) = delete;
    CVersionDll& operator=(const CVersionDll&) = delete;

    bool Loaded() const { return m_getSize != nullptr && m_getInfo != nullptr && m_query != nullptr; }

    DWORD GetFileVersionInfoSize(LPCWSTR file) const {
        DWORD ignored = 0;
        return m_getSize(file, &ignored);
    }
    BOOL GetFileVersionInfo(LPCWSTR file, DWORD size, void* block) const {
        return m_getInfo(file, 0, size, block);
    }
    BOOL VerQueryValue(const void* block, LPCWSTR subBlock, void** value, UINT* length) const {
        return m_query(block, subBlock, value, length);
    }

private:
    template <class F> F Function(const char* name) const {
        return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(m_module, name)));
    }

    HMODULE m_module = nullptr;
    DWORD(WINAPI* m_getSize)(LPCWSTR, LPDWORD) = nullptr;
    BOOL(WINAPI* m_getInfo)(LPCWSTR, DWORD, DWORD, LPVOID) = nullptr;
    BOOL(WINAPI* m_query)(LPCVOID, LPCWSTR, LPVOID*, PUINT) = nullptr;
};

}  // namespace

std::wstring FormatVersionLabel(const VS_FIXEDFILEINFO& info) {
    return L"Ver." + std::to_wstring(HIWORD(info.dwProductVersionMS));
}

bool GetVersionLabel(std::wstring& text) {
    text.clear();
    wchar_t path[MAX_PATH];
    if (!IsCompleteModulePath(::GetModuleFileNameW(nullptr, path, MAX_PATH), MAX_PATH)) {
        return false;
    }
    const CVersionDll version;
    if (!version.Loaded()) {
        return false;
    }
    const DWORD size = version.GetFileVersionInfoSize(path);
    if (size == 0) {
        return false;
    }
    std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[size]);
    if (!block) {
        return false;
    }
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoLength = 0;
    if (!version.GetFileVersionInfo(path, size, block.get()) ||
        !version.VerQueryValue(block.get(), L"\\", reinterpret_cast<void**>(&info), &infoLength) ||
        info == nullptr || infoLength < sizeof(VS_FIXEDFILEINFO)) {
        return false;
    }
    text = FormatVersionLabel(*info);
    return true;
}
