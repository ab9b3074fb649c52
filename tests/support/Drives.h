#pragma once
// Drive letters the tests make under Wine (a folder as a CD drive, a removable
// disk, a fixed disk or a share), and Windows' message that a volume has gone,
// which Wine never sends itself.
#include <windows.h>

#include <dbt.h>
#include <winioctl.h>

#include <string>

namespace testing_support {

namespace detail {

// The request by which Wine's mount manager gives a drive letter a Unix folder
// (winecfg's way; Wine's ddk/mountmgr.h). No folder takes the letter away.
struct WineUnixDrive {
    ULONG size;
    ULONG type;  // DRIVE_CDROM, DRIVE_REMOVABLE, DRIVE_FIXED, DRIVE_REMOTE...
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;  // a UTF-8 Unix path after the record
    USHORT deviceOffset;
    USHORT labelOffset;
};
constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

inline bool DefineUnixDrive(wchar_t letter, UINT type, const std::string& unixFolder) {
    std::string request(sizeof(WineUnixDrive) + unixFolder.size() + 1, '\0');
    auto* drive = reinterpret_cast<WineUnixDrive*>(request.data());
    drive->size = static_cast<ULONG>(request.size());
    drive->type = type;
    drive->letter = letter;
    if (!unixFolder.empty()) {
        drive->mountPointOffset = sizeof(WineUnixDrive);
        unixFolder.copy(request.data() + sizeof(WineUnixDrive), unixFolder.size());
    }
    HANDLE manager = ::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) return false;
    DWORD returned = 0;
    const BOOL done = ::DeviceIoControl(manager, kDefineUnixDrive, request.data(), drive->size, nullptr, 0,
                                        &returned, nullptr);
    ::CloseHandle(manager);
    return done != FALSE;
}

}  // namespace detail

// The Unix path of a Windows path, as Wine maps it; empty when it cannot.
inline std::string UnixPath(const std::wstring& path) {
    using UnixFileName = char*(__cdecl*)(const wchar_t*);
    const auto convert = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unix = convert != nullptr ? convert(path.c_str()) : nullptr;
    const std::string result = unix != nullptr ? unix : "";
    if (unix != nullptr) ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

// A drive letter for a folder while the object lives, of the type given.
class WineDrive {
public:
    WineDrive() = default;
    ~WineDrive() { Remove(); }
    WineDrive(const WineDrive&) = delete;
    WineDrive& operator=(const WineDrive&) = delete;

    // Gives the first free letter from R: on to folder; false if none could be.
    bool Define(const std::wstring& folder, UINT type) {
        const std::string unixFolder = UnixPath(folder);
        if (unixFolder.empty()) return false;
        const DWORD used = ::GetLogicalDrives();
        for (wchar_t letter = L'R'; letter <= L'Y'; ++letter) {
            if ((used & (1u << (letter - L'A'))) == 0 && detail::DefineUnixDrive(letter, type, unixFolder)) {
                m_letter = letter;
                return ::GetDriveTypeW(Root().c_str()) == type;
            }
        }
        return false;
    }

    void Remove() {
        if (m_letter != 0) detail::DefineUnixDrive(m_letter, DRIVE_NO_ROOT_DIR, "");
        m_letter = 0;
    }

    wchar_t Letter() const { return m_letter; }
    std::wstring Root() const { return std::wstring(1, m_letter) + L":\\"; }

private:
    wchar_t m_letter = 0;
};

// Tells every top-level window that the volume of drive letter has gone, as
// Windows does when its medium is taken out; returns once all have handled it.
inline bool BroadcastVolumeRemoved(wchar_t letter) {
    DEV_BROADCAST_VOLUME volume = {};
    volume.dbcv_size = sizeof(volume);
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = 1u << (letter - L'A');
    volume.dbcv_flags = DBTF_MEDIA;
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(HWND_BROADCAST, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE,
                                 reinterpret_cast<LPARAM>(&volume), SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

}  // namespace testing_support
