#include "launch/ModulePath.h"
#include "tests/support/Files.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

struct CutCase {
    const wchar_t* path;
    const wchar_t* directory;
};

class CutAfterLastSeparatorTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutAfterLastSeparatorTest, KeepsEverythingUpToTheLastSeparator) {
    PathBuffer buffer;
    std::wcscpy(buffer, GetParam().path);
    CutAfterLastSeparator(buffer);
    EXPECT_STREQ(GetParam().directory, buffer);
}

INSTANTIATE_TEST_SUITE_P(Paths, CutAfterLastSeparatorTest, ::testing::Values(
    CutCase{L"D:\\Autorun.exe", L"D:\\"},
    CutCase{L"D:\\Disc\\Autorun.exe", L"D:\\Disc\\"},
    CutCase{L"D:/Disc/Autorun.exe", L"D:/Disc/"},
    CutCase{L"D:\\Disc/Sub\\Autorun.exe", L"D:\\Disc/Sub\\"},   // backslash last
    CutCase{L"D:/Disc\\Sub/Autorun.exe", L"D:/Disc\\Sub/"},     // slash last
    CutCase{L"\\\\server\\share\\Autorun.exe", L"\\\\server\\share\\"},
    CutCase{L"Autorun.exe", L""},                               // no separator at all
    CutCase{L"", L""}));

TEST(IsCompleteModulePathTest, RefusesFailureAndCutShortPaths) {
    EXPECT_FALSE(IsCompleteModulePath(0, 259));    // GetModuleFileNameW failed
    EXPECT_FALSE(IsCompleteModulePath(259, 259));  // filled the buffer: cut short
    EXPECT_TRUE(IsCompleteModulePath(258, 259));   // the longest path that fits
    EXPECT_TRUE(IsCompleteModulePath(14, 259));
}

TEST(AppendFileNameTest, ComposesTargetsInTheModuleDirectory) {
    PathBuffer path = L"D:\\";
    ASSERT_TRUE(AppendFileName(path, L"Setup.exe"));
    EXPECT_STREQ(L"D:\\Setup.exe", path);

    PathBuffer manual = L"D:\\";
    ASSERT_TRUE(AppendFileName(manual, L"Install.pdf"));
    EXPECT_STREQ(L"D:\\Install.pdf", manual);
}

TEST(AppendFileNameTest, RefusesWhatDoesNotFitTheBuffer) {
    const std::wstring name = L"Setup.exe";
    // A directory that leaves room for the name and its terminator exactly...
    const std::wstring fits = L"D:\\" + std::wstring(MAX_PATH - 1 - name.size() - 4, L'a') + L"\\";
    PathBuffer path;
    std::wcscpy(path, fits.c_str());
    ASSERT_TRUE(AppendFileName(path, name.c_str()));
    EXPECT_EQ(static_cast<size_t>(MAX_PATH - 1), std::wcslen(path));

    // ...and one a character longer, which must be left untouched.
    const std::wstring tooLong = L"D:\\" + std::wstring(MAX_PATH - name.size() - 4, L'a') + L"\\";
    std::wcscpy(path, tooLong.c_str());
    EXPECT_FALSE(AppendFileName(path, name.c_str()));
    EXPECT_EQ(tooLong, path);
}

TEST(GetModuleDirectoryTest, GivesTheExecutablesFolderWithItsSeparator) {
    const std::wstring expected = testing_support::ExecutableFolder();

    PathBuffer directory;
    ASSERT_TRUE(GetModuleDirectory(directory));
    EXPECT_EQ(expected, directory);
}

TEST(GetTargetPathTest, AcceptsOnlyAnExistingFileBesideTheExecutable) {
    PathBuffer directory;
    ASSERT_TRUE(GetModuleDirectory(directory));
    const std::wstring file = std::wstring(directory) + L"target-probe.txt";
    const std::wstring folder = std::wstring(directory) + L"target-probe.dir";
    HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);
    ::CloseHandle(handle);
    ::CreateDirectoryW(folder.c_str(), nullptr);

    PathBuffer path;
    EXPECT_TRUE(GetTargetPath(path, L"target-probe.txt"));
    EXPECT_EQ(file, path);
    EXPECT_FALSE(GetTargetPath(path, L"target-probe.dir"));   // a folder is not a target
    EXPECT_FALSE(GetTargetPath(path, L"no-such-file.exe"));

    ::DeleteFileW(file.c_str());
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace
