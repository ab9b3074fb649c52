#include "ui/VersionLabel.h"

#include "ui/Scale.h"
#include "tests/support/Files.h"
#include "tests/support/Screen.h"
#include "tests/support/StringPrinting.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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
    CString label = L"stale";
    ASSERT_TRUE(GetVersionLabel(label));
    EXPECT_EQ(L"Ver.7", label);
}

// A module without a version resource (the test DLL) has no label, and the
// text of an earlier one does not stay behind.
TEST(GetVersionLabelTest, AModuleWithoutAVersionHasNoLabel) {
    HMODULE dll = ::LoadLibraryExW((testing_support::ExecutableFolder() + L"planted_version.dll").c_str(), nullptr,
                                   LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, dll);
    CString label = L"Ver.7";
    EXPECT_FALSE(GetModuleVersionLabel(dll, label));
    EXPECT_TRUE(label.IsEmpty());
    ::FreeLibrary(dll);
}

// A VS_VERSIONINFO block as the resource compiler writes it: the header, the
// key, padding to a DWORD, then the fixed part.
std::vector<BYTE> VersionBlock(const VS_FIXEDFILEINFO& info, const wchar_t* key = L"VS_VERSION_INFO") {
    std::vector<BYTE> block(6);
    const size_t keyBytes = (std::wcslen(key) + 1) * sizeof(wchar_t);
    block.insert(block.end(), reinterpret_cast<const BYTE*>(key), reinterpret_cast<const BYTE*>(key) + keyBytes);
    while (block.size() % 4 != 0) block.push_back(0);
    block.insert(block.end(), reinterpret_cast<const BYTE*>(&info), reinterpret_cast<const BYTE*>(&info) + sizeof(info));
    const WORD length = static_cast<WORD>(block.size());
    const WORD valueLength = sizeof(info);
    std::memcpy(block.data(), &length, sizeof(WORD));
    std::memcpy(block.data() + 2, &valueLength, sizeof(WORD));
    return block;
}

TEST(ReadFixedFileInfoTest, ReadsAWellFormedBlock) {
    const std::vector<BYTE> block = VersionBlock(Version(6, 1, 0, 0));
    VS_FIXEDFILEINFO info = {};
    ASSERT_TRUE(ReadFixedFileInfo(block.data(), static_cast<DWORD>(block.size()), &info));
    EXPECT_EQ(L"Ver.6", FormatVersionLabel(info));
}

struct Malformed {
    const char* name;
    void (*breakIt)(std::vector<BYTE>& block);
};

class MalformedVersionTest : public ::testing::TestWithParam<Malformed> {};

TEST_P(MalformedVersionTest, IsRefused) {
    std::vector<BYTE> block = VersionBlock(Version(6, 1, 0, 0));
    GetParam().breakIt(block);
    VS_FIXEDFILEINFO info = {};
    EXPECT_FALSE(ReadFixedFileInfo(block.data(), static_cast<DWORD>(block.size()), &info));
}

INSTANTIATE_TEST_SUITE_P(Blocks, MalformedVersionTest, ::testing::Values(
    Malformed{"Empty", [](std::vector<BYTE>& b) { b.clear(); }},
    Malformed{"CutShort", [](std::vector<BYTE>& b) { b.resize(b.size() - 4); }},
    Malformed{"WrongKey", [](std::vector<BYTE>& b) { b[6] = 'X'; }},
    Malformed{"BadSignature", [](std::vector<BYTE>& b) { b[40] ^= 0xFF; }},
    Malformed{"NoFixedPart", [](std::vector<BYTE>& b) { b[2] = 0; b[3] = 0; }},
    Malformed{"LengthPastTheBlock", [](std::vector<BYTE>& b) { b[1] = 0x7F; }}),
    [](const auto& param) { return std::string(param.param.name); });

// The pixels of the label drawn over white in a client area of 640x400
// design pixels at dpi, with the format plus extraFormat.
std::vector<DWORD> DrawnLabel(int dpi, const CString& label, UINT extraFormat) {
    const int width = ScaleLength(640, dpi);
    const int height = ScaleLength(400, dpi);
    const BITMAPINFO bi = testing_support::TopDownBitmapInfo(width, height);
    void* bits = nullptr;
    CMemoryDC dc(nullptr);
    CGdiObject<HBITMAP> canvas(::CreateDIBSection(dc.GetSafeHdc(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    CSelectObject selection(dc.GetSafeHdc(), canvas.GetSafeHandle());
    const RECT client = {0, 0, width, height};
    ::FillRect(dc.GetSafeHdc(), &client, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
    CFont font;
    EXPECT_TRUE(CreateVersionLabelFont(font, ScaleLength(-12, dpi)));
    const VersionLabelMetrics metrics = {ScaleLength(10, dpi), ScaleLength(8, dpi), ScaleLength(1, dpi)};
    DrawVersionLabel(dc.GetSafeHdc(), client, font, label, metrics, extraFormat);
    ::GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    return std::vector<DWORD>(pixels, pixels + width * height);
}

class VersionLabelInkTest : public ::testing::TestWithParam<int> {};

// The label's format clips to its rectangle; a face whose glyphs overhang
// their advance would lose the ink of its last digit. Drawn without the clip,
// every label must give the same pixels.
TEST_P(VersionLabelInkTest, NoInkOfTheLabelIsClipped) {
    const int dpi = GetParam();
    for (const wchar_t* label : {L"Ver.0", L"Ver.1", L"Ver.2", L"Ver.3", L"Ver.4", L"Ver.5", L"Ver.6", L"Ver.7",
                                 L"Ver.8", L"Ver.9", L"Ver.10", L"Ver.65535"}) {
        const std::vector<DWORD> clipped = DrawnLabel(dpi, label, 0);
        EXPECT_TRUE(clipped == DrawnLabel(dpi, label, DT_NOCLIP)) << "ink cut off: " << testing::PrintToString(
            std::string(label, label + std::wcslen(label)));
        EXPECT_NE(DrawnLabel(dpi, L"", 0), clipped) << "and it did draw";
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, VersionLabelInkTest, ::testing::Values(96, 120, 144));

}  // namespace
