#pragma once
// The drive the launcher runs from, and whether its medium has been taken out.
#include <windows.h>

#include <dbt.h>

// The index (0 for A:) of the drive letter path starts with, or -1 for a path
// without one (\\server\share\..., \\?\...).
int DriveIndex(const wchar_t* path);

// Whether the medium in drive can be taken out while the launcher runs from it:
// a CD or DVD drive, or a removable disk. Fixed disks and shares cannot.
bool IsRemovableDrive(int drive);

// Whether a WM_DEVICECHANGE (event and data as it came) says that the volume
// of drive has gone.
bool ReportsVolumeRemoved(WPARAM event, const DEV_BROADCAST_HDR* data, int drive);

// Whether folder exists now. An empty drive says no, without a system box
// asking for the disc.
bool FolderExists(const wchar_t* folder);
