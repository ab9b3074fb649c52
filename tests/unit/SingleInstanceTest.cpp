#include "app/SingleInstance.h"
#include "tests/support/StringPrinting.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(InstanceObjectNameTest, OnePathInAnyCaseIsOneLauncherAndOtherPathsAreOthers) {
    const CString disc = InstanceObjectName(L"D:\\Autorun.exe");
    EXPECT_EQ(disc, InstanceObjectName(L"d:\\AUTORUN.EXE"));
    EXPECT_EQ(disc, InstanceObjectName(L"D:\\autorun.exe"));
    EXPECT_NE(disc, InstanceObjectName(L"E:\\Autorun.exe"));           // another drive's disc
    EXPECT_NE(disc, InstanceObjectName(L"D:\\Other\\Autorun.exe"));    // another folder's
    EXPECT_EQ(InstanceObjectName(L"C:\\ダウンロード\\ディスク 1\\Autorun.exe"),
              InstanceObjectName(L"c:\\ダウンロード\\ディスク 1\\AUTORUN.exe"));
}

TEST(InstanceObjectNameTest, IsAValidObjectNameInTheSessionNamespaceWhateverThePath) {
    const std::wstring longPath = L"C:\\" + std::wstring(250, L'あ') + L"\\Autorun.exe";
    for (const std::wstring& path : {std::wstring(L"D:\\Autorun.exe"), longPath}) {
        const CString name = InstanceObjectName(path.c_str());
        EXPECT_EQ(0, name.Find(L"Local\\"));
        EXPECT_EQ(-1, name.Find(L'\\', 6)) << "no backslash after the namespace";
        EXPECT_LT(name.GetLength(), 64);
    }
}

// A claim made on another thread, as another launcher's would be.
bool ClaimElsewhere(DWORD waitMs) {
    bool claimed = false;
    std::thread([&] {
        CSingleInstance other;
        claimed = other.Claim(waitMs);
    }).join();
    return claimed;
}

// The first claim holds the name: a later one, finding no window to hand over
// to, gives up when its time runs out; once the first ends, it is free again.
TEST(SingleInstanceTest, TheFirstClaimHoldsTheNameUntilItEnds) {
    {
        CSingleInstance first;
        ASSERT_TRUE(first.Claim());
        EXPECT_FALSE(ClaimElsewhere(200));
    }
    EXPECT_TRUE(ClaimElsewhere(200));
}

// A first launcher that ends while a second waits for its menu leaves the menu
// to the second.
TEST(SingleInstanceTest, ASecondClaimTakesOverWhenTheFirstEndsWithoutAWindow) {
    bool claimed = false;
    HANDLE firstHolds = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE firstMayEnd = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread first([&] {
        CSingleInstance instance;
        instance.Claim();
        ::SetEvent(firstHolds);
        ::WaitForSingleObject(firstMayEnd, 10000);
    });
    ::WaitForSingleObject(firstHolds, 10000);
    std::thread second([&] {
        CSingleInstance instance;
        claimed = instance.Claim(10000);
    });
    ::Sleep(300);
    ::SetEvent(firstMayEnd);
    first.join();
    second.join();
    EXPECT_TRUE(claimed);
    ::CloseHandle(firstHolds);
    ::CloseHandle(firstMayEnd);
}

}  // namespace
