#pragma once
// A screen reader in another process (tests/fixtures/AccessibleReader.cpp):
// what it reads of windows through Microsoft Active Accessibility.
#include "Files.h"
#include "Process.h"
#include "Wait.h"

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace testing_support {

// What the reader read of one window's client object.
struct AccessibleReading {
    std::wstring name;
    std::wstring description;
};

inline std::wstring WideFromUtf8(const std::string& text) {
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, result.data(), size);
    result.resize(static_cast<size_t>(size) - 1);
    return result;
}

// Runs the reader over windows until it ends, with output as its file, and
// fills readings, one per window; with leave, it ends holding what it got.
// False if it did not run to its end.
inline bool ReadAccessibleObjects(const std::wstring& output, const std::vector<HWND>& windows,
                                  std::vector<AccessibleReading>& readings, bool leave = false) {
    ::DeleteFileW(output.c_str());
    std::wostringstream arguments;
    arguments << L'"' << output << L'"' << (leave ? L" --leave" : L"") << std::hex;
    for (HWND hwnd : windows) arguments << L' ' << reinterpret_cast<UINT_PTR>(hwnd);
    ChildProcess reader;
    if (!reader.Start(ExecutableFolder() + L"accessible_reader.exe", L"", arguments.str()) ||
        !reader.WaitForExit(kPatienceMs) || reader.ExitCode() != 0) {
        return false;
    }
    readings.clear();
    std::ifstream in(Utf8(output), std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string name, description;
        std::getline(fields, name, '\t');
        std::getline(fields, description);
        readings.push_back({WideFromUtf8(name), WideFromUtf8(description)});
    }
    return readings.size() == windows.size();
}

}  // namespace testing_support
