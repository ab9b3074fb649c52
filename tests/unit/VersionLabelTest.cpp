#include "ui/VersionLabel.h"

#include <gtest/gtest.h>

namespace {

VS_FIXEDFILEINFO Version(WORD major, WORD minor, WORD build, WORD revision) {
    VS_FIXEDFILEINFO info = {};
    info.dwSignature = VS_FFI_SIGNATURE;
    info.dwProductVersionMS = MAKELONG(minor, major);
    info.dwProductVersionLS = MAKELONG(revision, build);
    // A file version that differs, to show which one the label reads.
    info.dwFileVersionMS = MAKELONG(0, 99);
    return info;
}

TEST(FormatVersionLabelTest, ShowsTheProductsMajorNumber) {
    EXPECT_EQ(L"Ver.5", FormatVersionLabel(Version(5, 2, 0, 0)));
    EXPECT_EQ(L"Ver.12", FormatVersionLabel(Version(12, 0, 3, 4)));
    EXPECT_EQ(L"Ver.0", FormatVersionLabel(Version(0, 9, 0, 0)));
    EXPECT_EQ(L"Ver.65535", FormatVersionLabel(Version(65535, 65535, 0, 0)));
}

// The running executable is the unit test program, whose version is 7.1.0.0.
TEST(GetVersionLabelTest, ReadsTheRunningExecutablesVersion) {
    std::wstring label = L"stale";
    ASSERT_TRUE(GetVersionLabel(label));
    EXPECT_EQ(L"Ver.7", label);
}

}  // namespace
