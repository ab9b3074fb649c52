#include "DiscDrive.h"

#include "framework/ErrorMode.h"

namespace {
constexpr int kDrives = 26;
}

int DriveIndex(const wchar_t* path) {
    const wchar_t letter = path[0] >= L'a' && path[0] <= L'z' ? static_cast<wchar_t>(path[0] - L'a' + L'A') : path[0];
    return letter >= L'A' && letter <= L'Z' && path[1] == L':' ? letter - L'A' : -1;
}

bool IsRemovableDrive(int drive) {
    if (drive < 0 || drive >= kDrives) {
        return false;
    }
    const wchar_t root[] = {static_cast<wchar_t>(L'A' + drive), L':', L'\\', L'\0'};
    const UINT type = ::GetDriveTypeW(root);
    return type == DRIVE_CDROM || type == DRIVE_REMOVABLE;
}

bool ReportsVolumeRemoved(WPARAM event, const DEV_BROADCAST_HDR* data, int drive) {
    if (event != DBT_DEVICEREMOVECOMPLETE || data == nullptr || data->dbch_devicetype != DBT_DEVTYP_VOLUME ||
        data->dbch_size < sizeof(DEV_BROADCAST_VOLUME) || drive < 0 || drive >= kDrives) {
        return false;
    }
    const auto* volume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(data);
    return (volume->dbcv_unitmask & (1ul << drive)) != 0;
}

bool FolderExists(const wchar_t* folder) {
    CNoDiskPrompt quiet;
    const DWORD attributes = ::GetFileAttributesW(folder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
