#pragma once
// The stand-ins for the installer, the PDF viewer and the folder browser
// (tests/fixtures/FakeTarget.cpp): the log in which they record each start and
// end, and the events that keep them running until the test releases them.
#include "Files.h"

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

namespace testing_support {

class StandInLog {
public:
    // Names path as the log of the stand-ins this process starts from now on.
    void Use(const std::wstring& path) {
        m_path = path;
        ::SetEnvironmentVariableW(L"AUTORUN_TEST_LOG", path.c_str());
    }
    void Clear() const { ::DeleteFileW(m_path.c_str()); }

    std::vector<std::string> Lines() const {
        std::ifstream in(Utf8(m_path));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    // How many lines record this event ("start", "end") of the role ("setup",
    // "viewer", "browser"; empty for any).
    int Count(const std::string& what, const std::string& role = "") const {
        int n = 0;
        for (const std::string& line : Lines()) {
            if (line.find(" " + what) != std::string::npos && line.rfind(role, 0) == 0) ++n;
        }
        return n;
    }

private:
    std::wstring m_path;
};

// While held, the stand-ins of each role keep running; Release lets them end.
class StandInRelease {
public:
    StandInRelease() {
        for (int i = 0; i < kRoles; ++i) {
            m_events[i] = ::CreateEventW(nullptr, TRUE, FALSE, (std::wstring(L"AutorunTest.release.") + kRoleNames[i]).c_str());
        }
    }
    ~StandInRelease() {
        for (HANDLE event : m_events) ::CloseHandle(event);
    }
    StandInRelease(const StandInRelease&) = delete;
    StandInRelease& operator=(const StandInRelease&) = delete;

    void Release(const std::wstring& role) {
        for (int i = 0; i < kRoles; ++i) {
            if (role == kRoleNames[i]) ::SetEvent(m_events[i]);
        }
    }
    void ReleaseAll() {
        for (HANDLE event : m_events) ::SetEvent(event);
    }

private:
    static constexpr int kRoles = 3;
    static constexpr const wchar_t* kRoleNames[kRoles] = {L"setup", L"viewer", L"browser"};
    HANDLE m_events[kRoles] = {};
};

}  // namespace testing_support
