#pragma once
// Wine's debug traces of the programs a test starts. tests/wine-trace.sh sends
// the standard error they inherit, where Wine writes its traces, to one file and
// names it in AUTORUN_TEST_WINE_TRACE.
#include "tests/support/Files.h"

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

namespace testing_support {

// The trace file, or empty when the tests were not run through wine-trace.sh.
inline std::wstring WineTraceFile() {
    wchar_t trace[MAX_PATH] = {};
    return ::GetEnvironmentVariableW(L"AUTORUN_TEST_WINE_TRACE", trace, MAX_PATH) > 0 ? trace : L"";
}

// How far the trace file has grown: where the traces of a program started now begin.
inline std::streamoff WineTraceEnd(const std::wstring& trace) {
    std::ifstream in(Utf8(trace), std::ios::binary | std::ios::ate);
    return in ? static_cast<std::streamoff>(in.tellg()) : 0;
}

// The lines that process processId wrote from offset on (started with +pid,
// every line of theirs begins "pid:"), without that prefix.
inline std::vector<std::string> WineTraceLines(const std::wstring& trace, std::streamoff offset, DWORD processId) {
    char prefix[16];
    wsprintfA(prefix, "%04lx:", processId);
    std::ifstream in(Utf8(trace), std::ios::binary);
    in.seekg(offset);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(prefix, 0) == 0) {
            lines.push_back(line.substr(std::string(prefix).size()));
        }
    }
    return lines;
}

// Programs started while it lives get these Wine debug channels as well as
// those already on (the end-to-end run keeps warn+heap on for every launcher).
class WineDebugChannels {
public:
    explicit WineDebugChannels(const std::wstring& channels) {
        wchar_t current[256] = {};
        if (::GetEnvironmentVariableW(L"WINEDEBUG", current, 256) < 256) {
            m_previous = current;
        }
        const std::wstring all = m_previous.empty() ? channels : m_previous + L"," + channels;
        ::SetEnvironmentVariableW(L"WINEDEBUG", all.c_str());
    }
    ~WineDebugChannels() { ::SetEnvironmentVariableW(L"WINEDEBUG", m_previous.empty() ? nullptr : m_previous.c_str()); }
    WineDebugChannels(const WineDebugChannels&) = delete;
    WineDebugChannels& operator=(const WineDebugChannels&) = delete;

private:
    std::wstring m_previous;
};

}  // namespace testing_support
