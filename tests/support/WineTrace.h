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

}  // namespace testing_support
