#include "ui/VersionLabel.h"

#include "ui/Scale.h"
#include "tests/support/Files.h"
#include "tests/support/Screen.h"
#include "tests/support/StringPrinting.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// A node of a version resource as resource compilers write it: the header,
// the key, the value and the children, each from a DWORD boundary.
std::vector<BYTE> Node(const wchar_t* key, WORD type, const std::vector<BYTE>& value, WORD valueLength,
                       const std::vector<std::vector<BYTE>>& children = {}) {
    std::vector<BYTE> node(6);
    const BYTE* keyBytes = reinterpret_cast<const BYTE*>(key);
    node.insert(node.end(), keyBytes, keyBytes + (std::wcslen(key) + 1) * sizeof(wchar_t));
    while (node.size() % 4 != 0) node.push_back(0);
    node.insert(node.end(), value.begin(), value.end());
    for (const std::vector<BYTE>& child : children) {
        while (node.size() % 4 != 0) node.push_back(0);
        node.insert(node.end(), child.begin(), child.end());
    }
    const WORD length = static_cast<WORD>(node.size());
    std::memcpy(node.data(), &length, sizeof(WORD));
    std::memcpy(node.data() + 2, &valueLength, sizeof(WORD));
    std::memcpy(node.data() + 4, &type, sizeof(WORD));
    return node;
}

// A VS_VERSIONINFO block as the resource compiler writes it: the header, the
// key, padding to a DWORD, then the fixed part.
std::vector<BYTE> VersionBlock(const VS_FIXEDFILEINFO& info, const wchar_t* key = L"VS_VERSION_INFO") {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&info);
    return Node(key, 0, std::vector<BYTE>(bytes, bytes + sizeof(info)), sizeof(info));
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

// The product's name, from the unit tests' own version resource, whose name
// is in its second string table.
TEST(GetProductNameTest, ReadsTheRunningExecutablesProductName) {
    CString name = L"stale";
    ASSERT_TRUE(GetProductName(name));
    EXPECT_EQ(L"単体テスト", name);
}

TEST(GetProductNameTest, AModuleWithoutAVersionHasNoName) {
    HMODULE dll = ::LoadLibraryExW((testing_support::ExecutableFolder() + L"planted_version.dll").c_str(), nullptr,
                                   LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, dll);
    CString name = L"stale";
    EXPECT_FALSE(GetModuleProductName(dll, name));
    EXPECT_TRUE(name.IsEmpty());
    ::FreeLibrary(dll);
}

std::vector<BYTE> Text(const wchar_t* text) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(text);
    return std::vector<BYTE>(bytes, bytes + (std::wcslen(text) + 1) * sizeof(wchar_t));
}

// One string of a table; valueLength counts characters, as the format has it.
std::vector<BYTE> String(const wchar_t* key, const wchar_t* text) {
    return Node(key, 1, Text(text), static_cast<WORD>(std::wcslen(text) + 1));
}

std::vector<BYTE> Resource(const std::vector<std::vector<BYTE>>& tables) {
    const VS_FIXEDFILEINFO fixed = Version(6, 1, 0, 0);
    const BYTE* fixedBytes = reinterpret_cast<const BYTE*>(&fixed);
    const std::vector<BYTE> translation = {0x11, 0x04, 0xB0, 0x04};
    return Node(L"VS_VERSION_INFO", 0, std::vector<BYTE>(fixedBytes, fixedBytes + sizeof(fixed)), sizeof(fixed),
                {Node(L"VarFileInfo", 1, {}, 0, {Node(L"Translation", 0, translation, 4)}),
                 Node(L"StringFileInfo", 1, {}, 0, tables)});
}

CString ProductNameOf(const std::vector<BYTE>& block) {
    CString name = L"stale";
    if (!ReadVersionString(block.data(), static_cast<DWORD>(block.size()), L"ProductName", name)) {
        EXPECT_TRUE(name.IsEmpty());
        return L"(none)";
    }
    return name;
}

TEST(ReadVersionStringTest, FindsTheKeyInTheFirstTableThatHasIt) {
    const std::vector<BYTE> block = Resource({
        Node(L"040904b0", 1, {}, 0, {String(L"FileDescription", L"Menu"), String(L"Product", L"prefix only")}),
        Node(L"041104b0", 1, {}, 0, {String(L"CompanyName", L"Maker"), String(L"ProductName", L"製品 ONE")}),
        Node(L"000004b0", 1, {}, 0, {String(L"ProductName", L"later")})});
    EXPECT_EQ(L"製品 ONE", ProductNameOf(block));
    CString company;
    EXPECT_TRUE(ReadVersionString(block.data(), static_cast<DWORD>(block.size()), L"CompanyName", company));
    EXPECT_EQ(L"Maker", company);
}

// Read as far as it goes: a text whose length counts bytes, as some compilers
// wrote it, or that has no terminator before the node ends.
TEST(ReadVersionStringTest, ATextEndsAtItsTerminatorOrTheNodesEnd) {
    const std::vector<BYTE> inBytes =
        Resource({Node(L"041104b0", 1, {}, 0, {Node(L"ProductName", 1, Text(L"Name"), 10)})});
    EXPECT_EQ(L"Name", ProductNameOf(inBytes));
    std::vector<BYTE> unterminated = Text(L"Name");
    unterminated.resize(unterminated.size() - sizeof(wchar_t));
    EXPECT_EQ(L"Name",
              ProductNameOf(Resource({Node(L"041104b0", 1, {}, 0, {Node(L"ProductName", 1, unterminated, 4)})})));
}

struct Unnamed {
    const char* name;
    std::vector<BYTE> (*make)();
};

class UnnamedVersionTest : public ::testing::TestWithParam<Unnamed> {};

TEST_P(UnnamedVersionTest, HasNoProductName) {
    EXPECT_EQ(L"(none)", ProductNameOf(GetParam().make()));
}

std::vector<BYTE> Named(const wchar_t* name = L"Name") {
    return Resource({Node(L"041104b0", 1, {}, 0, {String(L"ProductName", name)})});
}

// Where the node with this key starts in block.
size_t NodeAt(const std::vector<BYTE>& block, const wchar_t* key) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(key);
    const auto found = std::search(block.begin(), block.end(), bytes, bytes + std::wcslen(key) * sizeof(wchar_t));
    return static_cast<size_t>(found - block.begin()) - 6;
}

// Sets the length of the node with this key.
std::vector<BYTE> WithLength(const wchar_t* key, WORD length) {
    std::vector<BYTE> block = Named();
    std::memcpy(block.data() + NodeAt(block, key), &length, sizeof(length));
    return block;
}

INSTANTIATE_TEST_SUITE_P(Blocks, UnnamedVersionTest, ::testing::Values(
    Unnamed{"NoStringTables", [] { return Resource({}); }},
    Unnamed{"NoSuchKey", [] { return Resource({Node(L"041104b0", 1, {}, 0, {String(L"ProductNames", L"x")})}); }},
    Unnamed{"AnEmptyName", [] { return Named(L""); }},
    Unnamed{"NotAVersionResource", [] { auto b = Named(); b[6] = 'X'; return b; }},
    Unnamed{"CutShort", [] { auto b = Named(); b.resize(b.size() - 12); return b; }},
    Unnamed{"EmptyBlock", [] { return std::vector<BYTE>(); }},
    Unnamed{"TableLongerThanItsParent", [] { return WithLength(L"041104b0", 0x400); }},
    Unnamed{"StringOfLengthZero", [] { return WithLength(L"ProductName", 0); }},
    Unnamed{"KeyRunsPastItsNode", [] { return WithLength(L"ProductName", 10); }},
    Unnamed{"ValueRunsPastItsNode", [] { return WithLength(L"ProductName", 6 + 24); }}),
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
