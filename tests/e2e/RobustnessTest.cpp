// What a user or a broken disc can do to the launcher: it must not crash, hang,
// leak, start the installer twice, or write anything.
#include "DiscFixture.h"
#include "tests/support/Input.h"
#include "tests/support/WineTrace.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>

namespace e2e {
namespace {

class RobustnessTest : public DiscFixture {
protected:
    void TearDown() override {
        DiscFixture::TearDown();
        for (const wchar_t* name : {L"AUTORUN_TEST_LIFETIME_MS", L"AUTORUN_TEST_EXIT_CODE", L"AUTORUN_TEST_CRASH"}) {
            ::SetEnvironmentVariableW(name, nullptr);
        }
    }

    // Starts a program with Wine's GDI trace on, so that its live GDI objects
    // can be counted (Wine has no GetGuiResources). Wine writes the trace to the
    // standard error it inherited: tests/wine-trace.sh sends that to the file
    // named by AUTORUN_TEST_WINE_TRACE.
    void StartTraced(const std::wstring& path) {
        wchar_t trace[MAX_PATH] = {};
        ASSERT_GT(::GetEnvironmentVariableW(L"AUTORUN_TEST_WINE_TRACE", trace, MAX_PATH), 0u)
            << "run through tests/wine-trace.sh";
        m_tracePath = trace;
        WineDebugChannels traces(L"+pid,trace+gdi");
        StartFrom(path, kJapaneseLocale);
    }

    // GDI objects the traced program has made and not deleted. Regions are left
    // out: the launcher makes none, and Wine keeps some of its own for the
    // windows' update and visible areas.
    int LiveGdiObjects() const {
        char prefix[16];
        wsprintfA(prefix, "%04lx:", m_process.ProcessId());
        std::ifstream in(Utf8(m_tracePath));
        int live = 0;
        for (std::string line; std::getline(in, line);) {
            if (line.rfind(prefix, 0) != 0) continue;  // another process's trace
            if (line.find("NTGDI_OBJ_REGION") != std::string::npos) continue;
            if (line.find(":alloc_gdi_handle allocated") != std::string::npos) ++live;
            if (line.find(":free_gdi_handle freed") != std::string::npos) --live;
        }
        return live;
    }

    // The count once it has stopped moving.
    int SettledGdiObjects() const {
        int previous = -1;
        int current = LiveGdiObjects();
        WaitUntil([&] {
            ::Sleep(300);
            previous = current;
            current = LiveGdiObjects();
            return current == previous;
        });
        return current;
    }

    // The most Setup.exe processes that ever ran at once, from the log's order.
    int MostSetupsAtOnce() const {
        int running = 0;
        int most = 0;
        for (const std::string& line : LogLines()) {
            if (line.rfind("setup start", 0) == 0) most = std::max(most, ++running);
            if (line.rfind("setup end", 0) == 0) --running;
        }
        return most;
    }

    POINT RandomPointIn(HWND hwnd, std::mt19937& rng, int margin) const {
        RECT rect;
        ::GetWindowRect(hwnd, &rect);
        std::uniform_int_distribution<int> x(rect.left + margin, rect.right - 1 - margin);
        std::uniform_int_distribution<int> y(rect.top + margin, rect.bottom - 1 - margin);
        return {x(rng), y(rng)};
    }

    std::wstring m_tracePath;
};

// A seeded storm of real input: pointer moves over, between and off the
// buttons, clicks on everything but exit, and keys, while the stand-ins live
// 20-400 ms. The seed is printed; AUTORUN_TEST_SEED replays it.
TEST_F(RobustnessTest, InputStormLeavesItAliveLeakFreeAndInstallingOnce) {
    wchar_t seedText[32] = {};
    const unsigned seed = ::GetEnvironmentVariableW(L"AUTORUN_TEST_SEED", seedText, 32) > 0
                              ? static_cast<unsigned>(_wtoi(seedText))
                              : static_cast<unsigned>(::GetTickCount());
    std::printf("input storm seed %u (replay with AUTORUN_TEST_SEED=%u)\n", seed, seed);
    std::fflush(stdout);
    std::mt19937 rng(seed);

    ::SetEnvironmentVariableW(L"AUTORUN_TEST_LIFETIME_MS", L"20-400");
    ASSERT_TRUE(::CopyFileW((ExecutableFolder() + kWineLauncher).c_str(), (m_disc + L"Autorun.exe").c_str(), FALSE));
    StartTraced(m_disc + L"Autorun.exe");
    ASSERT_NO_FATAL_FAILURE(WaitForLauncher());

    // Warm up every path once (hover drawing, each launch), then count.
    for (int id : {IDC_MANUAL, IDC_INSTALL, IDC_OPEN_DISC, IDC_EXIT}) {
        SendMouse(0, RandomPointIn(Button(id), rng, 4));
        ::Sleep(100);
    }
    for (int id : {IDC_MANUAL, IDC_INSTALL, IDC_OPEN_DISC}) {
        Click(id);
        ::Sleep(100);
    }
    SendMouse(0, {0, 0});
    WaitUntil([&] { return Count("start") == Count("end") && ::IsWindowEnabled(Button(IDC_INSTALL)); });
    ASSERT_TRUE(Running()) << "the warm-up must not reach exit";
    const int before = SettledGdiObjects();

    const int clickable[] = {IDC_INSTALL, IDC_MANUAL, IDC_OPEN_DISC};
    const WORD keys[] = {VK_TAB, VK_ESCAPE, VK_F1, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, 'A'};
    RECT window;
    ::GetWindowRect(m_dialog, &window);
    int unexpectedBoxes = 0;
    int folderClicks = 1;  // the warm-up's
    for (int event = 0; event < 2000; ++event) {
        const int kind = std::uniform_int_distribution<int>(0, 99)(rng);
        if (kind < 40) {  // over a button, exit included
            const int buttons[] = {IDC_MANUAL, IDC_INSTALL, IDC_OPEN_DISC, IDC_EXIT};
            SendMouse(0, RandomPointIn(Button(buttons[kind % 4]), rng, 2));
        } else if (kind < 60) {  // over the picture or between buttons
            SendMouse(0, RandomPointIn(m_dialog, rng, 1));
        } else if (kind < 68) {  // off the window
            SendMouse(0, {std::uniform_int_distribution<int>(0, std::max(1, static_cast<int>(window.left) - 1))(rng),
                          std::uniform_int_distribution<int>(0, 767)(rng)});
        } else if (kind < 90) {  // a click on anything but exit
            const POINT at = RandomPointIn(Button(clickable[kind % 3]), rng, 3);
            if (clickable[kind % 3] == IDC_OPEN_DISC) ++folderClicks;
            SendMouse(0, at);
            SendMouse(MOUSEEVENTF_LEFTDOWN, at);
            SendMouse(MOUSEEVENTF_LEFTUP, at);
        } else {  // a key that does not press the focused button
            ::SetForegroundWindow(m_dialog);
            const WORD key = keys[kind % 8];
            if (kind % 5 == 0) {
                PressKeys({VK_SHIFT, key});
            } else {
                PressKeys({key});
            }
        }
        ::Sleep(std::uniform_int_distribution<DWORD>(1, 12)(rng));
        if (event % 100 == 99) {
            if (HWND box = FindMessageBox()) {
                ++unexpectedBoxes;
                ADD_FAILURE() << "unexpected message box: " << Utf8(MessageBoxText(box));
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
            ASSERT_TRUE(Running()) << "the launcher ended during the storm (seed " << seed << ")";
        }
    }

    // On a busy machine the launcher may still be working through the storm's
    // clicks, each a program started, long after the last was sent. Every click
    // on CDを開く opens one browser, and input is read in the order it was sent:
    // once one more click's browser has started, the launcher has read all of
    // the storm. It is waited for while the launcher keeps starting programs.
    ClickAt(CentreOf(Button(IDC_OPEN_DISC)));
    ++folderClicks;
    SendMouse(0, {0, 0});
    const ULONGLONG stormSent = ::GetTickCount64();
    size_t handled = 0;
    while (Count("start", "browser") < folderClicks &&
           WaitUntil([&] { return LogLines().size() > handled || Count("start", "browser") >= folderClicks; })) {
        handled = LogLines().size();
    }
    ASSERT_EQ(folderClicks, Count("start", "browser")) << "every click on CDを開く opens the folder once (seed " << seed << ")";
    std::printf("the launcher had handled the storm %llu ms after its last input\n", ::GetTickCount64() - stormSent);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Button(IDC_INSTALL)) != FALSE; }));
    EXPECT_TRUE(WaitUntil([&] { return Count("start") == Count("end"); })) << "stand-ins still running";
    EXPECT_TRUE(Running());
    EXPECT_TRUE(Responsive());
    EXPECT_EQ(nullptr, FindMessageBox());
    EXPECT_EQ(0, unexpectedBoxes);
    EXPECT_GT(Count("start", "setup"), 0) << "the storm should have run the installer";
    EXPECT_EQ(1, MostSetupsAtOnce()) << "two installers ran at once (seed " << seed << ")";

    const int after = SettledGdiObjects();
    std::printf("live GDI objects: %d before the storm, %d after\n", before, after);
    // Wine keeps the DCs GetDC hands out in a cache, each a DC and its
    // attribute object, and the storm may add one to it: two objects that stay,
    // not a leak. A leak grows with each paint (see TheGdiCountCatchesALeak).
    EXPECT_LE(after - before, 2) << "GDI objects leaked (seed " << seed << ")";
}

TEST_F(RobustnessTest, TheGdiCountCatchesALeak) {
    StartTraced(ExecutableFolder() + L"gdi_leaker.exe");
    HWND leaker = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (leaker = ::FindWindowW(L"AutorunTest.GdiLeaker", nullptr)) != nullptr; }));
    const int before = SettledGdiObjects();
    for (int i = 0; i < 100; ++i) {
        ::RedrawWindow(leaker, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(leaker, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    const int after = SettledGdiObjects();
    EXPECT_GE(after - before, 90) << "the count must see a brush leaked per paint";
}

// A disc that is broken, and what the launcher does about it.
struct BrokenDisc {
    const char* name;
    std::function<void(const std::wstring& disc)> breakIt;  // also sets the stand-ins' behaviour
    int button;
    const char* startedRole;  // null: nothing may start
    const wchar_t* message;   // null: no message box
    friend void PrintTo(const BrokenDisc& c, std::ostream* os) { *os << c.name; }
};

class BrokenDiscTest : public RobustnessTest, public ::testing::WithParamInterface<BrokenDisc> {};

TEST_P(BrokenDiscTest, StaysUpAndSaysWhatItShould) {
    const BrokenDisc& c = GetParam();
    c.breakIt(m_disc);
    StartLauncher();
    Click(c.button);
    if (c.message != nullptr) {
        EXPECT_TRUE(ExpectMessageBox(c.message));
    }
    if (c.startedRole != nullptr) {
        EXPECT_TRUE(WaitUntil([&] { return Count("start", c.startedRole) == 1; }));
    }
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Button(IDC_INSTALL)) != FALSE; }));
    EXPECT_TRUE(Responsive());
    ::Sleep(300);
    EXPECT_EQ(nullptr, FindMessageBox()) << "no other message";
    EXPECT_TRUE(Running());
    if (c.startedRole == nullptr) {
        EXPECT_TRUE(LogLines().empty()) << "nothing may be started";
    }
}

INSTANTIATE_TEST_SUITE_P(Discs, BrokenDiscTest, ::testing::Values(
    BrokenDisc{"SetupCrashes", [](const std::wstring&) { ::SetEnvironmentVariableW(L"AUTORUN_TEST_CRASH", L"setup"); },
               IDC_INSTALL, "setup", nullptr},
    BrokenDisc{"SetupFailsAtOnce", [](const std::wstring&) {
                   ::SetEnvironmentVariableW(L"AUTORUN_TEST_LIFETIME_MS", L"0-0");
                   ::SetEnvironmentVariableW(L"AUTORUN_TEST_EXIT_CODE", L"1603");
               }, IDC_INSTALL, "setup", nullptr},
    BrokenDisc{"ViewerExitsAtOnce", [](const std::wstring&) { ::SetEnvironmentVariableW(L"AUTORUN_TEST_LIFETIME_MS", L"0-0"); },
               IDC_MANUAL, "viewer", nullptr},
    BrokenDisc{"EmptyManual", [](const std::wstring& disc) {
                   ::SetEnvironmentVariableW(L"AUTORUN_TEST_LIFETIME_MS", L"0-0");
                   ::CloseHandle(::CreateFileW((disc + L"Install.pdf").c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_ALWAYS, 0, nullptr));
               }, IDC_MANUAL, "viewer", nullptr}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(RobustnessTest, ALauncherTooDeepForItsTargetsFindsNothing) {
    // A launcher whose own path just fits the path buffer, but not with
    // "Setup.exe" or "Install.pdf" in place of its name: Wine will not start a
    // program whose path is longer still. (Renamed, as a copy often is, so its
    // name is shorter than its targets'.)
    std::wstring deep = m_disc;
    const std::wstring name = L"Au.exe";
    while (deep.size() + 10 + 1 + name.size() < MAX_PATH - 1) {
        deep += L"ふかいフォルダ\\";
        ::CreateDirectoryW(deep.c_str(), nullptr);
    }
    deep += std::wstring(MAX_PATH - 2 - name.size() - deep.size(), L'x') + L"\\";
    ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr));
    ASSERT_EQ(static_cast<size_t>(MAX_PATH - 1), deep.size() + name.size()) << "the longest path that fits";
    ASSERT_TRUE(::CopyFileW((ExecutableFolder() + kWineLauncher).c_str(), (deep + name).c_str(), FALSE));

    ASSERT_NO_FATAL_FAILURE(StartLauncherFrom(deep + name));
    Click(IDC_INSTALL);
    EXPECT_TRUE(ExpectMessageBox(L"Setup.exeが見つかりません。", L"Au"));
    Click(IDC_MANUAL);
    EXPECT_TRUE(ExpectMessageBox(L"ドキュメントが見つかりません。", L"Au"));
    EXPECT_TRUE(LogLines().empty()) << "nothing may be started";
    EXPECT_TRUE(Running());
}

TEST_F(RobustnessTest, AVersionDllPlantedBesideTheLauncherIsNeverLoaded) {
    ASSERT_TRUE(::CopyFileW((ExecutableFolder() + L"planted_version.dll").c_str(), (m_disc + L"version.dll").c_str(), FALSE));

    // Where this check could fail: a program loading version.dll by bare name
    // from this folder. Wine takes its own version.dll even then (even told to
    // prefer native DLLs), so here the check cannot be seen to fail; the
    // import-table test keeps version.dll out of the launcher's imports.
    ::SetEnvironmentVariableW(L"WINEDLLOVERRIDES", L"version=n,b;mscoree=;mshtml=");
    ASSERT_TRUE(::CopyFileW((ExecutableFolder() + L"plain_loader.exe").c_str(), (m_disc + L"plain_loader.exe").c_str(), FALSE));
    StartFrom(m_disc + L"plain_loader.exe", nullptr);
    m_process.WaitForExit(kPatienceMs);
    StopLauncher();
    std::printf("a careless loader %s the planted version.dll under this Wine\n",
                LogLines().empty() ? "does not load" : "loads");
    m_log.Clear();

    // The launcher reads its version label from its own image: no version.dll.
    StartLauncher();
    ::Sleep(500);
    ::RedrawWindow(m_dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Click(IDC_EXIT);
    EXPECT_TRUE(m_process.WaitForExit(kPatienceMs));
    ::SetEnvironmentVariableW(L"WINEDLLOVERRIDES", L"mscoree=;mshtml=");
    EXPECT_TRUE(LogLines().empty()) << "the launcher loaded the planted version.dll";
}

// Every file below folder with its size and time, except those below skip.
void Snapshot(const std::wstring& folder, const std::wstring& skip, std::map<std::wstring, std::wstring>& files) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        const std::wstring path = folder + L"\\" + name;
        if (name == L"." || name == L".." || ::lstrcmpiW(path.c_str(), skip.c_str()) == 0) continue;
        files[path] = std::to_wstring(found.nFileSizeLow) + L" " + std::to_wstring(found.ftLastWriteTime.dwLowDateTime);
        // Wine links some profile folders to the Linux home folder: not the prefix's.
        const DWORD linkedFolder = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
        if ((found.dwFileAttributes & linkedFolder) == FILE_ATTRIBUTE_DIRECTORY) Snapshot(path, skip, files);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

TEST_F(RobustnessTest, AWholeSessionWritesNothing) {
    ::SetEnvironmentVariableW(L"AUTORUN_TEST_LIFETIME_MS", L"0-0");
    wchar_t profile[MAX_PATH];
    ::GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH);
    const std::wstring testFolder = m_root.substr(0, m_root.find(L"\\autorun-e2e\\") + 12);
    ASSERT_TRUE(::CopyFileW((ExecutableFolder() + kWineLauncher).c_str(), (m_disc + L"Autorun.exe").c_str(), FALSE));

    std::map<std::wstring, std::wstring> discBefore, userBefore;
    Snapshot(m_disc.substr(0, m_disc.size() - 1), L"", discBefore);
    Snapshot(profile, testFolder, userBefore);

    ASSERT_NO_FATAL_FAILURE(StartLauncherFrom(m_disc + L"Autorun.exe"));
    for (int id : {IDC_MANUAL, IDC_INSTALL, IDC_OPEN_DISC}) {
        Click(id);
        ::Sleep(300);
    }
    EXPECT_TRUE(WaitUntil([&] { return Count("start") == 3 && Count("end") == 3; }));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Button(IDC_INSTALL)) != FALSE; }));
    Click(IDC_EXIT);
    ASSERT_TRUE(m_process.WaitForExit(kPatienceMs));

    std::map<std::wstring, std::wstring> discAfter, userAfter;
    Snapshot(m_disc.substr(0, m_disc.size() - 1), L"", discAfter);
    Snapshot(profile, testFolder, userAfter);
    EXPECT_TRUE(discBefore == discAfter) << "the disc folder changed";
    for (const auto& [path, state] : userAfter) {
        auto it = userBefore.find(path);
        EXPECT_TRUE(it != userBefore.end() && it->second == state) << "written: " << Utf8(path);
    }
    for (const auto& [path, state] : userBefore) {
        EXPECT_TRUE(userAfter.count(path) == 1) << "removed: " << Utf8(path);
    }
}

}  // namespace
}  // namespace e2e
