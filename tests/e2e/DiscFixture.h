#pragma once
// The end-to-end tests' fixture: a disc folder with the launcher, a stand-in
// Setup.exe and a manual; the launcher process started from it; and the
// stand-ins' log of what they were asked to do.
#include "tests/support/EventLog.h"
#include "tests/support/ExitCodes.h"
#include "tests/support/Files.h"
#include "tests/support/Input.h"
#include "tests/support/Launcher.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/Process.h"
#include "tests/support/Registry.h"
#include "tests/support/Wait.h"
#include "tests/support/WindowLookup.h"
#include "ui/resource.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e {

using namespace testing_support;

class DiscFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The test prefix opens .pdf documents and folders with the stand-ins.
        const std::wstring bin = ExecutableFolder();
        SetRegistryString(HKEY_CLASSES_ROOT, L".pdf", L"AutorunTest.Document");
        SetRegistryString(HKEY_CLASSES_ROOT, L"AutorunTest.Document\\shell\\open\\command",
                          L"\"" + bin + L"fake_viewer.exe\" \"%1\"");
        for (const wchar_t* kind : {L"Folder", L"Directory"}) {
            SetRegistryString(HKEY_CLASSES_ROOT, std::wstring(kind) + L"\\shell\\open\\command",
                              L"\"" + bin + L"fake_browser.exe\" \"%1\"");
            // Wine's own folder handler talks DDE, which the stand-in does not:
            // its shell would wait for a DDE server that never comes.
            ::RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(kind) + L"\\shell\\open\\ddeexec").c_str());
        }
    }

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        std::string name = std::string(info->test_suite_name()) + "." + info->name();
        for (char& c : name) {
            if (c == '/') c = '.';
        }
        m_root = std::wstring(temp) + L"autorun-e2e\\" + std::wstring(name.begin(), name.end()) + L"\\";
        // The disc's path has spaces and Japanese in it, as real ones do.
        m_disc = m_root + L"ディスク 1\\";
        RemoveTree(m_root.substr(0, m_root.size() - 1));
        ::CreateDirectoryW((std::wstring(temp) + L"autorun-e2e").c_str(), nullptr);
        ::CreateDirectoryW(m_root.c_str(), nullptr);
        ::CreateDirectoryW(m_disc.c_str(), nullptr);

        ASSERT_TRUE(::CopyFileW((ExecutableFolder() + L"fake_setup.exe").c_str(), (m_disc + L"Setup.exe").c_str(), FALSE))
            << Utf8(m_disc) << " error " << ::GetLastError();
        ASSERT_TRUE(WriteTextFile(m_disc + L"Install.pdf", "%PDF-1.4\n"));
        m_log.Use(m_root + L"events.log");
    }

    void TearDown() override {
        m_release.ReleaseAll();
        // Let the stand-ins see their release before the events go.
        WaitUntil([&] { return Count("start") == Count("end"); }, 5000);
        EndLauncher();
    }

    // Copies build (Autorun.exe, or a Wine build given locale as its
    // AUTORUN_LOCALE, null for none) onto the disc as Autorun.exe and starts it
    // there, from another current directory.
    void StartProcess(const wchar_t* build, const wchar_t* locale) {
        ASSERT_TRUE(::CopyFileW((ExecutableFolder() + build).c_str(), (m_disc + L"Autorun.exe").c_str(), FALSE));
        StartFrom(m_disc + L"Autorun.exe", locale);
    }

    // Starts the launcher at path, from another current directory.
    void StartFrom(const std::wstring& path, const wchar_t* locale) {
        ASSERT_TRUE(StartLauncherProcess(m_process, path, locale, m_root)) << Utf8(path);
    }

    // Starts the Wine build of the launcher from the disc, in the Japanese
    // environment, and waits for its window.
    void StartLauncher() {
        StartProcess(kWineLauncher, kJapaneseLocale);
        WaitForLauncher();
    }

    // Starts the launcher at path in the Japanese environment and waits for its window.
    void StartLauncherFrom(const std::wstring& path) {
        StartFrom(path, kJapaneseLocale);
        WaitForLauncher();
    }

    void WaitForLauncher() {
        m_dialog = WaitForLauncherWindow(m_process);
        ASSERT_NE(nullptr, m_dialog) << "the launcher window did not appear";
        ::SetForegroundWindow(m_dialog);
    }

    // Ends a launcher still showing its menu, and nothing else, as a user does
    // (終了), so that the checked build validates its heap as it ends; and fails
    // the test if the launcher crashed, trapped or found its heap damaged.
    void EndLauncher() {
        EndLauncher(m_process, m_dialog);
        StopLauncher();
    }

    // The same for another launcher a test started, given its menu (null: none seen).
    static void EndLauncher(const ChildProcess& process, HWND dialog) {
        if (process.Running() && dialog != nullptr && ::IsWindowVisible(dialog) &&
            testing_support::FindMessageBox(process.ThreadId()) == nullptr) {
            ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_EXIT, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDC_EXIT)));
            EXPECT_TRUE(process.WaitForExit(kPatienceMs)) << "the launcher did not end on 終了";
        }
        if (process.Handle() != nullptr && !process.Running()) {
            EXPECT_EQ("", CrashOf(process.ExitCode())) << "the launcher's end";
        }
    }

    // Ends the launcher's process if it still runs.
    void StopLauncher() {
        m_process.Stop();
        m_dialog = nullptr;
    }

    HWND FindMessageBox() const { return testing_support::FindMessageBox(m_process.ThreadId()); }

    // Waits for the launcher's message box with this text, as ExpectMessageBox
    // of the support code does: owned by the launcher, captioned appName.
    ::testing::AssertionResult ExpectMessageBox(const std::wstring& text, const std::wstring& appName = L"Autorun") {
        return testing_support::ExpectMessageBox(m_process.ThreadId(), text, appName, m_dialog);
    }

    HWND Button(int id) const { return ::GetDlgItem(m_dialog, id); }

    // Clicks the button at its centre, or offsetX pixels right of it.
    void Click(int id, int offsetX = 0) {
        ::SetForegroundWindow(m_dialog);
        ClickAt(CentreOf(Button(id), offsetX));
    }

    int FocusedId() const { return FocusedControlId(m_process.ThreadId()); }
    bool Running() const { return m_process.Running(); }
    bool Responsive() const { return testing_support::Responsive(m_dialog); }

    std::vector<std::string> LogLines() const { return m_log.Lines(); }
    int Count(const std::string& what, const std::string& role = "") const { return m_log.Count(what, role); }
    void Release(const wchar_t* role) { m_release.Release(role); }

    std::wstring m_root;
    std::wstring m_disc;
    StandInLog m_log;
    StandInRelease m_release;
    ChildProcess m_process;
    HWND m_dialog = nullptr;
};

}  // namespace e2e
