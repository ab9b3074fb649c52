#include "framework/String.h"

#include "framework/WinApp.h"
#include "tests/support/ExitCodes.h"
#include "tests/support/StringPrinting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

namespace {

using testing_support::EndedOutOfMemory;
using testing_support::GivenWholeOrOutOfMemory;

TEST(StringTest, CopiesMovesAndAssignsEvenFromItself) {
    CString empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(L"", empty) << "a string never stored into still reads as empty text";

    CString a = L"ディスク 1";
    CString b = a;
    b += L"\\Setup.exe";
    EXPECT_EQ(L"ディスク 1", a) << "a copy is its own";
    EXPECT_EQ(L"ディスク 1\\Setup.exe", b);
    EXPECT_EQ(16, b.GetLength());

    CString moved = static_cast<CString&&>(b);
    EXPECT_EQ(L"ディスク 1\\Setup.exe", moved);
    EXPECT_TRUE(b.IsEmpty());

    moved = moved.GetString() + 5;  // from its own characters
    EXPECT_EQ(L"1\\Setup.exe", moved);
    moved += moved;                  // grows while reading itself
    EXPECT_EQ(L"1\\Setup.exe1\\Setup.exe", moved);
    moved = moved;
    EXPECT_EQ(22, moved.GetLength());
    moved.Empty();
    EXPECT_EQ(L"", moved);
    moved += L'x';
    EXPECT_EQ(L"x", moved);
}

TEST(StringTest, FindsAndCutsWithinBounds) {
    const CString path = L"C:\\Disc\\Autorun.exe";
    EXPECT_EQ(2, path.Find(L'\\'));
    EXPECT_EQ(7, path.Find(L'\\', 3));
    EXPECT_EQ(-1, path.Find(L'\\', 8));
    EXPECT_EQ(-1, path.Find(L'\\', 100));
    EXPECT_EQ(8, path.Find(L"Autorun"));
    EXPECT_EQ(-1, path.Find(L"Autorun", 9));
    EXPECT_EQ(-1, path.Find(L"x", 100));
    EXPECT_EQ(7, path.ReverseFind(L'\\'));
    EXPECT_EQ(-1, path.ReverseFind(L'/'));
    EXPECT_EQ(-1, CString().Find(L'a'));
    EXPECT_EQ(-1, CString().Find(L"a"));

    EXPECT_EQ(L"Disc", path.Mid(3, 4));
    EXPECT_EQ(L"Autorun.exe", path.Mid(8));
    EXPECT_EQ(L"exe", path.Mid(16, 100)) << "a count past the end stops at it";
    EXPECT_EQ(L"", path.Mid(100));
    EXPECT_EQ(L"C:\\", path.Mid(-5, 3));
    EXPECT_EQ(L"", path.Left(0));
    EXPECT_EQ(L"C:", path.Left(2));
}

// What is sought is found at or after start, whatever start is: a start before
// the string searches all of it, one past its end finds nothing, and a character
// and the one-character text of it agree.
TEST(StringTest, FindsACharacterAndItsTextAlikeFromAnyStart) {
    const CString path = L"C:\\Disc\\Autorun.exe";
    struct Case {
        int start;
        int found;
    };
    const Case cases[] = {
        {INT_MIN, 2}, {-1, 2}, {0, 2}, {2, 2}, {3, 7}, {8, -1}, {19, -1}, {20, -1}, {INT_MAX, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.found, path.Find(L'\\', c.start)) << "start " << c.start;
        EXPECT_EQ(c.found, path.Find(L"\\", c.start)) << "start " << c.start;
    }
    EXPECT_EQ(0, path.Find(L"C:", -1));
    EXPECT_EQ(0, path.Find(L"", -1)) << "the empty text is at the start";
}

TEST(StringTest, FormatsFoldsAndTakesWrittenBuffers) {
    CString text;
    text.Format(L"Ver.%u %s %08lx", 5u, L"ゾルタニカ", 0xBEEFul);
    EXPECT_EQ(L"Ver.5 ゾルタニカ 0000beef", text);

    CString name = L"d:\\autorun.exe ディスク";
    name.MakeUpper();
    EXPECT_EQ(L"D:\\AUTORUN.EXE ディスク", name);

    CString buffer;
    const DWORD written = ::GetEnvironmentVariableW(L"AUTORUN_STRING_TEST", buffer.GetBuffer(40), 41);
    buffer.ReleaseBuffer(static_cast<int>(written));
    EXPECT_TRUE(buffer.IsEmpty());
    wchar_t* raw = buffer.GetBuffer(10);
    lstrcpyW(raw, L"written");
    buffer.ReleaseBuffer();
    EXPECT_EQ(L"written", buffer);
    EXPECT_EQ(7, buffer.GetLength());
}

// The system's formatter keeps 1023 characters of a longer result and answers
// 1024: the length is the text's, so what is appended afterwards shows.
TEST(StringTest, FormatCutsAt1023CharactersAndCountsWhatItKept) {
    for (const int length : {1022, 1023, 1024, 1500}) {
        CString text;
        text.Format(L"%s", std::wstring(static_cast<size_t>(length), L'a').c_str());
        const int kept = std::min(length, 1023);
        EXPECT_EQ(kept, text.GetLength()) << length;
        text += L"!";
        EXPECT_EQ(std::wstring(static_cast<size_t>(kept), L'a') + L"!", std::wstring(text.GetString())) << length;
    }
}

// A buffer at the limits: empty, the longest a string holds, one past it and
// the most an int says. What is given holds what was asked for; what cannot be
// given ends the process as a failed allocation does.
TEST(StringTest, AnEmptyBufferHoldsItsTerminator) {
    CString text;
    wchar_t* buffer = text.GetBuffer(0);
    ASSERT_NE(nullptr, buffer);
    buffer[0] = L'\0';
    text.ReleaseBuffer();
    EXPECT_TRUE(text.IsEmpty());
    text += L"";
    EXPECT_EQ(L"", text);
}

TEST(StringDeathTest, TheLongestBufferIsGivenWholeOrNotAtAll) {
    // A 32-bit process has no room for it; a 64-bit one may.
    EXPECT_EXIT(
        {
            CString text;
            wchar_t* buffer = text.GetBuffer(CString::kMaxLength);
            buffer[0] = L'a';
            buffer[CString::kMaxLength] = L'\0';
            ::ExitProcess(0);
        },
        GivenWholeOrOutOfMemory, "");
}

TEST(StringDeathTest, ALongerBufferEndsTheProcessInsteadOfAShortBlock) {
    EXPECT_EXIT(CString().GetBuffer(CString::kMaxLength + 1), EndedOutOfMemory, "");
    // (INT_MAX + 1) * 2 bytes is 0 in 32 bits: never a block of 1 byte.
    EXPECT_EXIT(CString().GetBuffer(INT_MAX), EndedOutOfMemory, "");
    CString text = L"ab";
    EXPECT_EXIT(text.GetBuffer(INT_MAX), EndedOutOfMemory, "") << "nor for a string that holds text";
}

TEST(AppNameFromPathTest, IsTheFileNameWithoutFolderOrExtension) {
    EXPECT_EQ(L"Autorun", AppNameFromPath(L"C:\\ディスク 1\\Autorun.exe"));
    EXPECT_EQ(L"Autorun", AppNameFromPath(L"D:/Autorun.exe"));
    EXPECT_EQ(L"Autorun.old", AppNameFromPath(L"D:\\dir.x\\Autorun.old.exe"));
    EXPECT_EQ(L"Autorun", AppNameFromPath(L"D:\\dir.x\\Autorun"));
    EXPECT_EQ(L".profile", AppNameFromPath(L"D:\\.profile")) << "a leading dot is the name, not an extension";
    EXPECT_EQ(L"", AppNameFromPath(L""));
}

}  // namespace
