#pragma once
// Waiting for something another process does.
#include <windows.h>

#include <functional>

namespace testing_support {

// How long a test waits for the launcher or a stand-in to do something.
constexpr DWORD kPatienceMs = 15000;

// Polls condition until it holds (true) or timeoutMs have passed (false).
inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kPatienceMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (::GetTickCount64() > end) return false;
        ::Sleep(20);
    }
    return true;
}

}  // namespace testing_support
