#pragma once
// A program the test starts, and ends if it is still running when the test is done.
#include <windows.h>

#include <string>
#include <utility>

namespace testing_support {

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess() { Stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ChildProcess(ChildProcess&& other) noexcept : m_info(std::exchange(other.m_info, {})) {}
    ChildProcess& operator=(ChildProcess&& other) noexcept {
        if (this != &other) {
            Stop();
            m_info = std::exchange(other.m_info, {});
        }
        return *this;
    }

    // Starts the program at path with arguments in folder, or in this program's
    // current folder when folder is empty. It inherits this program's standard
    // error, where Wine writes its traces (tests/wine-trace.sh).
    bool Start(const std::wstring& path, const std::wstring& folder = L"", const std::wstring& arguments = L"") {
        Stop();
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        std::wstring command = L"\"" + path + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        return ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                folder.empty() ? nullptr : folder.c_str(), &si, &m_info) != FALSE;
    }

    bool Running() const {
        return m_info.hProcess != nullptr && ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
    }

    // Waits for the process to end by itself; true if it did within timeoutMs.
    bool WaitForExit(DWORD timeoutMs) const {
        return m_info.hProcess != nullptr && ::WaitForSingleObject(m_info.hProcess, timeoutMs) == WAIT_OBJECT_0;
    }

    DWORD ExitCode() const {
        DWORD code = STILL_ACTIVE;
        ::GetExitCodeProcess(m_info.hProcess, &code);
        return code;
    }

    // Ends the process if it still runs, and lets go of it.
    void Stop() {
        if (m_info.hProcess == nullptr) return;
        if (Running()) {
            ::TerminateProcess(m_info.hProcess, 1);
            ::WaitForSingleObject(m_info.hProcess, 15000);
        }
        ::CloseHandle(m_info.hProcess);
        ::CloseHandle(m_info.hThread);
        m_info = {};
    }

    HANDLE Handle() const { return m_info.hProcess; }
    DWORD ProcessId() const { return m_info.dwProcessId; }
    DWORD ThreadId() const { return m_info.dwThreadId; }

private:
    PROCESS_INFORMATION m_info = {};
};

}  // namespace testing_support
