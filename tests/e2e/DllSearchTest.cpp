// Where the launcher's DLLs come from, read off Wine's loader trace (+loaddll)
// and its relay trace of the calls that restrict the search or load a DLL:
// the search is restricted before anything of ours is loaded, everything comes
// from the Windows folder, the common controls are the manifest's 6.0, the
// accessibility library comes only when a screen reader asks, and the launcher
// never touches version.dll, across hovers, repaints, a shell call and a reader.
#include "DiscFixture.h"
#include "tests/support/Input.h"
#include "tests/support/ScreenReader.h"
#include "tests/support/WineTrace.h"

#include <algorithm>
#include <cctype>

namespace e2e {
namespace {

// What the relay trace shows: the calls that decide where DLLs come from, and
// every call into version.dll.
constexpr wchar_t kRelayed[] =
    L"SetDefaultDllDirectories;SetDllDirectoryW;LoadLibraryA;LoadLibraryW;LoadLibraryExA;LoadLibraryExW;version.*";
constexpr wchar_t kWineDebugKey[] = L"Software\\Wine\\Debug";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// One line of the trace that matters here, lower-cased.
struct Event {
    enum Kind { kCall, kLoaded } kind;
    std::string text;  // the call with its arguments, or the loaded file's path
};

class DllSearchTest : public DiscFixture {
protected:
    void SetUp() override {
        DiscFixture::SetUp();
        m_trace = WineTraceFile();
        ASSERT_FALSE(m_trace.empty()) << "run through tests/wine-trace.sh";
        // Read by each Wine process as it starts.
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetKeyValueW(HKEY_CURRENT_USER, kWineDebugKey, L"RelayInclude", REG_SZ, kRelayed,
                                                  sizeof(kRelayed)));
    }

    void TearDown() override {
        DiscFixture::TearDown();
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kWineDebugKey, L"RelayInclude");
    }

    // Runs build from the disc with the traces on, hovers over every button,
    // repaints, opens the manual through the shell, lets a screen reader read
    // a button and exits. m_beforeReader counts the events before the reader.
    void RunTraced(const wchar_t* build) {
        const std::streamoff start = WineTraceEnd(m_trace);
        {
            WineDebugChannels traces(L"+pid,+loaddll,+relay");
            StartProcess(build, kJapaneseLocale);
        }
        ASSERT_NO_FATAL_FAILURE(WaitForLauncher());

        for (int id : {IDC_MANUAL, IDC_INSTALL, IDC_OPEN_DISC, IDC_EXIT}) {
            MovePointer(CentreOf(Button(id)));
            ::Sleep(200);
        }
        for (int i = 0; i < 3; ++i) {
            ::RedrawWindow(m_dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
        Click(IDC_MANUAL);
        ASSERT_TRUE(WaitUntil([&] { return Count("start", "viewer") == 1; })) << "the manual did not open";
        ::RedrawWindow(m_dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Release(L"viewer");
        m_beforeReader = ReadEvents(start).size();
        std::vector<AccessibleReading> readings;
        ASSERT_TRUE(ReadAccessibleObjects(m_root + L"reading.txt", {Button(IDC_EXIT)}, readings));
        Click(IDC_EXIT);
        ASSERT_TRUE(m_process.WaitForExit(kPatienceMs));

        m_events = ReadEvents(start);
        ASSERT_FALSE(m_events.empty()) << "no trace of the launcher in " << Utf8(m_trace);
    }

    // The launcher's events in the trace from start on.
    std::vector<Event> ReadEvents(std::streamoff start) const {
        std::vector<Event> events;
        for (const std::string& raw : WineTraceLines(m_trace, start, m_process.ProcessId())) {
            const std::string line = Lower(raw);
            const std::size_t call = line.find(":call ");
            const std::size_t loaded = line.find(":build_module loaded l\"");
            if (call != std::string::npos && line.find(" pe dll ") == std::string::npos &&
                line.find("window proc") == std::string::npos && line.find("dialog proc") == std::string::npos &&
                line.find("tls callback") == std::string::npos) {
                events.push_back({Event::kCall, line.substr(call + 6)});
            } else if (loaded != std::string::npos) {
                std::string path = line.substr(loaded + 23);
                path.erase(path.find('"'));
                for (std::size_t p; (p = path.find("\\\\")) != std::string::npos;) path.erase(p, 1);
                events.push_back({Event::kLoaded, path});
            }
        }
        return events;
    }

    // Where the first event of that kind containing text is; npos if none.
    std::size_t Find(Event::Kind kind, const std::string& text, std::size_t from = 0) const {
        for (std::size_t i = from; i < m_events.size(); ++i) {
            if (m_events[i].kind == kind && m_events[i].text.find(text) != std::string::npos) return i;
        }
        return std::string::npos;
    }

    // What holds for both ways of restricting the search, the first event
    // found by restriction being the one that restricts it.
    void ExpectSafeLoads(const std::string& restriction) {
        const std::size_t restricted = Find(Event::kCall, restriction);
        ASSERT_NE(std::string::npos, restricted) << "the search was not restricted: no " << restriction;
        for (std::size_t i = 0; i < restricted; ++i) {
            EXPECT_NE(Event::kCall, m_events[i].kind) << "before the restriction: " << m_events[i].text;
        }

        const std::size_t comctl32 = Find(Event::kLoaded, "\\comctl32.dll");
        ASSERT_NE(std::string::npos, comctl32) << "the common controls were never loaded";
        EXPECT_GT(comctl32, restricted) << "the common controls were loaded before the search was restricted";
        EXPECT_NE(std::string::npos, m_events[comctl32].text.find("common-controls_6595b64144ccf1df_6.0."))
            << "not the manifest's common controls 6.0: " << m_events[comctl32].text;
        for (const char* later : {"\\uxtheme.dll", "\\shell32.dll", "\\ole32.dll"}) {
            const std::size_t at = Find(Event::kLoaded, later);
            EXPECT_TRUE(at != std::string::npos && at > restricted) << later << " loaded before the restriction, or never";
        }

        // The executable itself comes first; everything else from the Windows folder.
        for (std::size_t i = Find(Event::kLoaded, "") + 1; i < m_events.size(); ++i) {
            if (m_events[i].kind == Event::kLoaded) {
                EXPECT_EQ(0u, m_events[i].text.rfind("c:\\windows\\", 0)) << "loaded from outside Windows: "
                                                                         << m_events[i].text;
            }
        }
        // version.dll: never called, and never looked for by bare name. (Wine's
        // own user32 imports it, so it is in every process from the start.)
        for (const Event& event : m_events) {
            if (event.kind != Event::kCall) continue;
            EXPECT_NE(0u, event.text.rfind("version.", 0)) << "the launcher called " << event.text;
            if (IsLoadOf(event, "version.dll")) {
                EXPECT_NE(std::string::npos, event.text.find("l\"c:\\\\windows\\\\system32\\\\version.dll\""))
                    << event.text;
            }
        }
    }

    static bool IsLoadOf(const Event& event, const std::string& dll) {
        return event.kind == Event::kCall && event.text.rfind("kernel32.loadlibrary", 0) == 0 &&
               event.text.find(dll) != std::string::npos;
    }

    std::wstring m_trace;
    std::vector<Event> m_events;
    std::size_t m_beforeReader = 0;
};

TEST_F(DllSearchTest, TheSearchIsRestrictedToSystem32BeforeTheCommonControlsLoad) {
    ASSERT_NO_FATAL_FAILURE(RunTraced(kWineLauncher));
    ExpectSafeLoads("kernel32.setdefaultdlldirectories(00000800)");  // LOAD_LIBRARY_SEARCH_SYSTEM32
    for (const Event& event : m_events) {
        EXPECT_FALSE(IsLoadOf(event, "version.dll")) << "the version label needs no DLL: " << event.text;
    }

    // The accessibility library: not for start-up, hovers or the shell; from
    // System32, by its full path, for the first reader.
    const std::size_t oleacc = Find(Event::kLoaded, "\\oleacc.dll");
    ASSERT_NE(std::string::npos, oleacc) << "the reader's request did not load the accessibility library";
    EXPECT_GE(oleacc, m_beforeReader) << "loaded before any screen reader asked";
    EXPECT_EQ("c:\\windows\\system32\\oleacc.dll", m_events[oleacc].text);
    const std::size_t load = Find(Event::kCall, "l\"c:\\\\windows\\\\system32\\\\oleacc.dll\"", m_beforeReader);
    EXPECT_TRUE(load < oleacc && IsLoadOf(m_events[load], "oleacc.dll"))
        << "the accessibility library was not asked for by its System32 path";
}

// A Windows without SetDefaultDllDirectories: the current folder leaves the
// search, and what the common controls load by bare name is loaded first, by
// its System32 path.
TEST_F(DllSearchTest, WithoutSetDefaultDllDirectoriesTheirDependenciesComeFirstFromSystem32) {
    ASSERT_NO_FATAL_FAILURE(RunTraced(L"Autorun-wine-fallback.exe"));
    ExpectSafeLoads("kernel32.setdlldirectoryw(");
    EXPECT_NE(std::string::npos, m_events[Find(Event::kCall, "kernel32.setdlldirectoryw(")].text.find("l\"\")"))
        << "the current folder must leave the search (an empty string)";

    const std::size_t comctl32 = Find(Event::kLoaded, "\\comctl32.dll");
    for (const char* dependency : {"uxtheme.dll", "dwmapi.dll"}) {
        const std::size_t preload = Find(Event::kCall, std::string("c:\\\\windows\\\\system32\\\\") + dependency);
        EXPECT_LT(preload, comctl32) << dependency << " was not loaded by its System32 path before the common controls";
    }
    // Every load of ours before the common controls named a full System32 path.
    for (std::size_t i = 0; i < comctl32; ++i) {
        const Event& event = m_events[i];
        if (event.kind == Event::kCall && event.text.rfind("kernel32.loadlibraryexw(", 0) == 0 &&
            event.text.find(".msstyles") == std::string::npos) {
            EXPECT_NE(std::string::npos, event.text.find("l\"c:\\\\windows\\\\system32\\\\")) << event.text;
        }
    }
}

}  // namespace
}  // namespace e2e
