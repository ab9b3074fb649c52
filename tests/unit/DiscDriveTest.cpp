#include "launch/DiscDrive.h"
#include "tests/support/Files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct DriveCase {
    const wchar_t* path;
    int drive;
};

class DriveIndexTest : public ::testing::TestWithParam<DriveCase> {};

TEST_P(DriveIndexTest, IsTheLettersIndexOrNoneForPathsWithoutOne) {
    EXPECT_EQ(GetParam().drive, DriveIndex(GetParam().path));
}

INSTANTIATE_TEST_SUITE_P(Paths, DriveIndexTest, ::testing::Values(
    DriveCase{L"D:\\", 3}, DriveCase{L"d:\\Disc\\", 3}, DriveCase{L"A:", 0}, DriveCase{L"Z:\\", 25},
    DriveCase{L"\\\\server\\share\\", -1}, DriveCase{L"\\\\?\\D:\\", -1}, DriveCase{L"", -1},
    DriveCase{L"1:\\", -1}, DriveCase{L"DE\\", -1}));

// A removal message as Windows broadcasts it: a volume header, then the drives.
DEV_BROADCAST_VOLUME Volume(DWORD unitMask) {
    DEV_BROADCAST_VOLUME volume = {};
    volume.dbcv_size = sizeof(volume);
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = unitMask;
    volume.dbcv_flags = DBTF_MEDIA;
    return volume;
}

const DEV_BROADCAST_HDR* Header(const DEV_BROADCAST_VOLUME& volume) {
    return reinterpret_cast<const DEV_BROADCAST_HDR*>(&volume);
}

constexpr int kD = 3;

TEST(ReportsVolumeRemovedTest, OnlyTheRemovalOfAVolumeOnTheDrive) {
    EXPECT_TRUE(ReportsVolumeRemoved(DBT_DEVICEREMOVECOMPLETE, Header(Volume(1u << kD)), kD));
    EXPECT_TRUE(ReportsVolumeRemoved(DBT_DEVICEREMOVECOMPLETE, Header(Volume(0x1Fu)), kD)) << "among others";
    EXPECT_FALSE(ReportsVolumeRemoved(DBT_DEVICEREMOVECOMPLETE, Header(Volume(1u << 4)), kD)) << "another drive";
    EXPECT_FALSE(ReportsVolumeRemoved(DBT_DEVICEARRIVAL, Header(Volume(1u << kD)), kD)) << "a disc that came";
    EXPECT_FALSE(ReportsVolumeRemoved(DBT_DEVICEQUERYREMOVE, Header(Volume(1u << kD)), kD)) << "only asked";
    EXPECT_FALSE(ReportsVolumeRemoved(DBT_DEVICEREMOVECOMPLETE, nullptr, kD));
    EXPECT_FALSE(ReportsVolumeRemoved(DBT_DEVICEREMOVECOMPLETE, Header(Volume(1u << kD)), -1)) << "no drive";

    DEV_BROADCAST_VOLUME port = Volume(1u << kD);
    port.dbcv_devicetype = DBT_DEVTYP_PORT;
    EXPECT_FALSE(ReportsVolumeRemoved(DBT_DEVICEREMOVECOMPLETE, Header(port), kD)) << "not a volume";
    DEV_BROADCAST_VOLUME cut = Volume(1u << kD);
    cut.dbcv_size = sizeof(DEV_BROADCAST_HDR);
    EXPECT_FALSE(ReportsVolumeRemoved(DBT_DEVICEREMOVECOMPLETE, Header(cut), kD)) << "too short for a volume";
}

TEST(FolderExistsTest, OnlyForAFolderThatIsThere) {
    const std::wstring folder = testing_support::ExecutableFolder();
    EXPECT_TRUE(FolderExists(folder.c_str()));
    EXPECT_FALSE(FolderExists(testing_support::ExecutablePath().c_str())) << "a file";
    EXPECT_FALSE(FolderExists((folder + L"no such folder\\").c_str()));
}

TEST(IsRemovableDriveTest, FixedDisksAndNoDriveAreNot) {
    EXPECT_FALSE(IsRemovableDrive(DriveIndex(L"C:\\")));
    EXPECT_FALSE(IsRemovableDrive(-1));
    EXPECT_FALSE(IsRemovableDrive(26));
}

}  // namespace
