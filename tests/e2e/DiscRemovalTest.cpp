// The disc taken out of its drive: the menu closes with it, whatever it was
// doing, and leaves Setup and the viewer running; it stays for any other drive,
// for a disc that is still there, and on fixed disks and shares.
//
// Under Wine the disc folder gets a drive letter of its own (a CD drive, say)
// from Wine's mount manager; moving the folder away takes the disc out, and the
// test sends the message Windows sends then.
#include "DiscFixture.h"
#include "tests/support/Drives.h"
#include "tests/support/Input.h"

namespace e2e {
namespace {

class DiscRemovalTest : public DiscFixture {
protected:
    void TearDown() override {
        DiscFixture::TearDown();
        PutBack();
        m_drive.Remove();
    }

    // Gives the disc folder a drive of type and starts the launcher from its root.
    void StartFromDrive(UINT type) {
        ASSERT_TRUE(m_drive.Define(m_disc, type)) << "no drive letter for " << Utf8(m_disc);
        ASSERT_TRUE(::CopyFileW((ExecutableFolder() + kWineLauncher).c_str(), (m_disc + L"Autorun.exe").c_str(), FALSE));
        StartLauncherFrom(m_drive.Root() + L"Autorun.exe");
    }

    // Takes the disc out: its drive letter names a folder that is no longer there.
    void TakeOut() {
        ASSERT_TRUE(::MoveFileW(Folder(m_disc).c_str(), Folder(Elsewhere()).c_str())) << ::GetLastError();
        ASSERT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(m_drive.Root().c_str()));
        m_takenOut = true;
    }

    void PutBack() {
        if (m_takenOut) ::MoveFileW(Folder(Elsewhere()).c_str(), Folder(m_disc).c_str());
        m_takenOut = false;
    }

    // The message Windows sends every window when a drive's medium has gone.
    void SayRemoved(wchar_t letter) { ASSERT_TRUE(BroadcastVolumeRemoved(letter)); }

    // Waits for the launcher to end by itself, watching that it shows no box.
    ::testing::AssertionResult EndsWithoutABox() {
        bool boxShown = false;
        const bool ended = WaitUntil([&] {
            boxShown = boxShown || FindMessageBox() != nullptr;
            return !Running();
        });
        if (!ended) return ::testing::AssertionFailure() << "the launcher is still running";
        if (boxShown) return ::testing::AssertionFailure() << "it showed a message box";
        return ::testing::AssertionSuccess() << "ended";
    }

    static std::wstring Folder(const std::wstring& path) { return path.substr(0, path.size() - 1); }
    std::wstring Elsewhere() const { return m_root + L"取り出したディスク\\"; }

    WineDrive m_drive;
    bool m_takenOut = false;
};

struct IdleCase {
    const char* name;
    UINT driveType;
    bool takenOut;
    bool messageForItsDrive;
    bool closes;
    friend void PrintTo(const IdleCase& c, std::ostream* os) { *os << c.name; }
};

class DiscRemovalIdleTest : public DiscRemovalTest, public ::testing::WithParamInterface<IdleCase> {};

TEST_P(DiscRemovalIdleTest, ClosesOnlyForItsOwnRemovableDiscThatHasGone) {
    const IdleCase& c = GetParam();
    StartFromDrive(c.driveType);
    if (c.takenOut) TakeOut();
    // The letter after the launcher's is free: the message names nothing else.
    SayRemoved(c.messageForItsDrive ? m_drive.Letter() : static_cast<wchar_t>(m_drive.Letter() + 1));

    if (c.closes) {
        EXPECT_FALSE(::IsWindowVisible(m_dialog)) << "the menu should have closed at once";
        EXPECT_TRUE(EndsWithoutABox());
        EXPECT_EQ(0u, m_process.ExitCode());
        return;
    }
    // The message has been handled: the menu is there and still takes keys.
    EXPECT_TRUE(Running());
    EXPECT_TRUE(::IsWindowVisible(m_dialog));
    ::SetForegroundWindow(m_dialog);
    PressKeys({VK_TAB});
    EXPECT_TRUE(WaitUntil([&] { return FocusedId() == IDC_INSTALL; }));
    EXPECT_EQ(nullptr, FindMessageBox());
}

INSTANTIATE_TEST_SUITE_P(Drives, DiscRemovalIdleTest, ::testing::Values(
    IdleCase{"CdTakenOut", DRIVE_CDROM, true, true, true},
    IdleCase{"RemovableDiskTakenOut", DRIVE_REMOVABLE, true, true, true},
    IdleCase{"MessageForAnotherDrive", DRIVE_CDROM, true, false, false},
    IdleCase{"DiscStillThere", DRIVE_CDROM, false, true, false},
    IdleCase{"FixedDisk", DRIVE_FIXED, true, true, false},
    IdleCase{"Share", DRIVE_REMOTE, true, true, false}),
    [](const auto& param) { return std::string(param.param.name); });

// Taken out while Setup runs: the menu goes at once, Setup runs on undisturbed,
// and the process ends with it.
TEST_F(DiscRemovalTest, DuringSetupTheMenuGoesAtOnceAndSetupRunsOn) {
    StartFromDrive(DRIVE_CDROM);
    Click(IDC_INSTALL);
    ASSERT_TRUE(WaitUntil([&] { return Count("start", "setup") == 1; }));
    TakeOut();
    SayRemoved(m_drive.Letter());
    EXPECT_FALSE(::IsWindowVisible(m_dialog)) << "the menu should have closed at once";
    EXPECT_TRUE(Running()) << "it still waits for Setup";
    EXPECT_EQ(0, Count("end", "setup")) << "Setup must not be ended";

    Release(L"setup");
    EXPECT_TRUE(EndsWithoutABox());
    EXPECT_EQ(1, Count("end", "setup"));
}

// Taken out while the manual is open: the menu and its process go, the viewer stays.
TEST_F(DiscRemovalTest, WhileTheManualIsOpenTheMenuGoesAndTheViewerStays) {
    StartFromDrive(DRIVE_CDROM);
    Click(IDC_MANUAL);
    ASSERT_TRUE(WaitUntil([&] { return Count("start", "viewer") == 1; }));
    TakeOut();
    SayRemoved(m_drive.Letter());
    EXPECT_TRUE(EndsWithoutABox());
    EXPECT_EQ(0, Count("end", "viewer")) << "the viewer must not be ended";
}

// Taken out while the menu says what is missing: the box goes with the menu.
TEST_F(DiscRemovalTest, WhileItSaysSetupIsMissingTheBoxGoesWithTheMenu) {
    ASSERT_TRUE(::DeleteFileW((m_disc + L"Setup.exe").c_str()));
    StartFromDrive(DRIVE_CDROM);
    Click(IDC_INSTALL);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox()) != nullptr; }));
    ASSERT_EQ(L"Setup.exeが見つかりません。", MessageBoxText(box));
    TakeOut();
    SayRemoved(m_drive.Letter());
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(box); })) << "the box stayed";
    EXPECT_TRUE(EndsWithoutABox());
}

// Taken out just before a click on CDを開く, its message coming after the click:
// the shell's own box saying the folder is missing (it has no owner) goes with
// the menu too.
TEST_F(DiscRemovalTest, TheShellsBoxAboutTheGoneFolderGoesWithTheMenu) {
    StartFromDrive(DRIVE_CDROM);
    TakeOut();
    Click(IDC_OPEN_DISC);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox()) != nullptr; })) << "the shell said nothing";
    SayRemoved(m_drive.Letter());
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(box); })) << "the box stayed";
    EXPECT_TRUE(EndsWithoutABox());
    EXPECT_EQ(0, Count("start", "browser"));
}

}  // namespace
}  // namespace e2e
