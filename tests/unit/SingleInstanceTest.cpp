#include "app/SingleInstance.h"
#include "tests/support/Files.h"
#include "tests/support/Process.h"
#include "tests/support/StringPrinting.h"
#include "tests/support/Wait.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(InstanceObjectNameTest, OnePathInAnyCaseOnOneVolumeIsOneLauncherAndOthersAreOthers) {
    const CString disc = InstanceObjectName(L"D:\\Autorun.exe", 0x1234ABCD);
    EXPECT_EQ(disc, InstanceObjectName(L"d:\\AUTORUN.EXE", 0x1234ABCD));
    EXPECT_EQ(disc, InstanceObjectName(L"D:\\autorun.exe", 0x1234ABCD));
    EXPECT_NE(disc, InstanceObjectName(L"E:\\Autorun.exe", 0x1234ABCD));          // another drive's disc
    EXPECT_NE(disc, InstanceObjectName(L"D:\\Other\\Autorun.exe", 0x1234ABCD));   // another folder's
    EXPECT_NE(disc, InstanceObjectName(L"D:\\Autorun.exe", 0x1234ABCE));          // another disc in the drive
    EXPECT_NE(disc, InstanceObjectName(L"D:\\Autorun.exe", 0));
    EXPECT_EQ(InstanceObjectName(L"C:\\ダウンロード\\ディスク 1\\Autorun.exe", 7),
              InstanceObjectName(L"c:\\ダウンロード\\ディスク 1\\AUTORUN.exe", 7));
}

TEST(InstanceObjectNameTest, IsAValidObjectNameInTheSessionNamespaceWhateverThePath) {
    const std::wstring longPath = L"C:\\" + std::wstring(250, L'あ') + L"\\Autorun.exe";
    for (const std::wstring& path : {std::wstring(L"D:\\Autorun.exe"), longPath}) {
        const CString name = InstanceObjectName(path.c_str(), 0xFFFFFFFF);
        EXPECT_EQ(0, name.Find(L"Local\\"));
        EXPECT_EQ(-1, name.Find(L'\\', 6)) << "no backslash after the namespace";
        EXPECT_LT(name.GetLength(), 64);
    }
}

TEST(InstanceObjectNameTest, OfAnExecutableIsItsPathOnItsVolume) {
    const std::wstring self = testing_support::ExecutablePath();
    const CString name = InstanceObjectNameOf(self.c_str());
    EXPECT_EQ(name, InstanceObjectNameOf(self.c_str()));
    EXPECT_NE(name, InstanceObjectName(self.c_str(), 0)) << "the volume's serial is part of it";
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

// A window of this process standing in for a menu: with answers, it shows
// itself on the show-menu message and answers as a menu does; without, it is
// any other program's window, which does not know the message.
class StandInWindow {
public:
    StandInWindow(UINT showMenuMessage, bool answers, bool visible) {
        s_showMenuMessage = showMenuMessage;
        WNDCLASSW wc = {};
        wc.lpfnWndProc = answers ? &AnsweringProc : &::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = answers ? L"AutorunTest.Menu" : L"AutorunTest.Other";
        ::RegisterClassW(&wc);
        m_hwnd = ::CreateWindowW(wc.lpszClassName, L"", WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0, 100, 100,
                                 nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~StandInWindow() { ::DestroyWindow(m_hwnd); }
    StandInWindow(const StandInWindow&) = delete;
    StandInWindow& operator=(const StandInWindow&) = delete;

    HWND Handle() const { return m_hwnd; }

private:
    static LRESULT CALLBACK AnsweringProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == s_showMenuMessage && s_showMenuMessage != 0) {
            ::ShowWindow(hwnd, SW_SHOWNORMAL);
            return kShowMenuAnswer;
        }
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }

    static inline UINT s_showMenuMessage = 0;
    HWND m_hwnd;
};

// Only a window that answers as this disc's menu is taken for it; a hidden menu
// (closed while it waits for Setup) shows itself when asked.
TEST(ShowOwnersMenuTest, TakesOnlyTheMenuThatAnswersAndShowsAHiddenOne) {
    const UINT message = ::RegisterWindowMessageW(L"AutorunTest.ShowOwnersMenu");
    {
        StandInWindow other(message, false, true);
        EXPECT_FALSE(ShowOwnersMenu(::GetCurrentProcessId(), message)) << "a window that does not answer";
    }
    {
        StandInWindow menu(message, true, false);
        EXPECT_TRUE(ShowOwnersMenu(::GetCurrentProcessId(), message));
        EXPECT_TRUE(::IsWindowVisible(menu.Handle()));
        EXPECT_FALSE(ShowOwnersMenu(::GetCurrentProcessId(), 0)) << "no message registered";
    }
}

// A launcher that dies leaves its process ID in the shared record while another
// launcher holds the record open; once the ID is another program's, that
// program's window must not be taken for the menu: the new launcher takes over.
TEST(SingleInstanceTest, AnotherProgramUnderADeadOwnersIdIsNotTakenForTheMenu) {
    testing_support::ChildProcess other;
    ASSERT_TRUE(other.Start(testing_support::ExecutableFolder() + L"gdi_leaker.exe"));
    ASSERT_TRUE(testing_support::WaitUntil([&] { return BringProcessWindowToFront(other.ProcessId()); }))
        << "the other program shows a window";

    const CString name = InstanceObjectNameOf(testing_support::ExecutablePath().c_str());
    CHandle record(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD),
                                        name + L".owner"));
    ASSERT_TRUE(record);
    auto* owner = static_cast<DWORD*>(::MapViewOfFile(record.Get(), FILE_MAP_WRITE, 0, 0, sizeof(DWORD)));
    ASSERT_NE(nullptr, owner);
    *owner = other.ProcessId();
    ::UnmapViewOfFile(owner);
    // The dead launcher's claim: its thread ended holding the mutex.
    CHandle mutex;
    std::thread([&] { mutex.Attach(::CreateMutexW(nullptr, TRUE, name)); }).join();
    ASSERT_TRUE(mutex);

    EXPECT_TRUE(ClaimElsewhere(5000)) << "the launcher gave up its menu for another program's window";
}

}  // namespace
