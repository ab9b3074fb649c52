#include "SingleInstance.h"

#include "framework/ErrorMode.h"
#include "framework/ModuleFile.h"

namespace {

constexpr DWORD kPollMs = 50;
// A menu answers at once from its modal loop; a hung one is not waited for.
constexpr UINT kAnswerMs = 2000;

struct WindowSearch {
    DWORD process;
    HWND found;
};

// Takes the first visible, enabled top-level window of the process: the menu,
// or the modal box it shows (which leaves the menu itself disabled).
BOOL CALLBACK FindProcessWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    if (process == search->process && ::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct MenuRequest {
    DWORD process;
    UINT message;
    bool answered;
};

// Sends each top-level window of the process, hidden ones too (a menu closed
// while it waits for Setup), the disc's show-menu message.
BOOL CALLBACK AskToShowMenu(HWND hwnd, LPARAM param) {
    auto* request = reinterpret_cast<MenuRequest*>(param);
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    DWORD_PTR answer = 0;
    if (process == request->process &&
        ::SendMessageTimeoutW(hwnd, request->message, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &answer) != 0 &&
        answer == static_cast<DWORD_PTR>(kShowMenuAnswer)) {
        request->answered = true;
        return FALSE;
    }
    return TRUE;
}

// The serial number of the volume path lies on; 0 where it cannot be read.
DWORD VolumeSerial(const wchar_t* path) {
    CNoDiskPrompt quiet;
    PathBuffer root;
    DWORD serial = 0;
    if (!::GetVolumePathNameW(path, root, MAX_PATH) ||
        !::GetVolumeInformationW(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) {
        serial = 0;
    }
    return serial;
}

}  // namespace

CString InstanceObjectName(const wchar_t* modulePath, DWORD volumeSerial) {
    // File names compare without case: fold it the way the file system does.
    CString folded(modulePath);
    folded.MakeUpper();
    // 64-bit FNV-1a over the UTF-16 code units, then the serial's bytes: another
    // disc in the same drive has the same paths.
    unsigned long long hash = 14695981039346656037ull;
    for (int i = 0; i < folded.GetLength(); ++i) {
        hash = (hash ^ static_cast<unsigned long long>(folded.GetAt(i))) * 1099511628211ull;
    }
    for (int shift = 0; shift < 32; shift += 8) {
        hash = (hash ^ ((volumeSerial >> shift) & 0xFFu)) * 1099511628211ull;
    }
    CString name;
    name.Format(L"Local\\Autorun.%08lx%08lx", static_cast<unsigned long>(hash >> 32),
                static_cast<unsigned long>(hash & 0xFFFFFFFFu));
    return name;
}

CString InstanceObjectNameOf(const wchar_t* modulePath) {
    // A short (8.3) spelling of the same path is the same launcher. Windows
    // makes every short alias with a '~' in it, so a path without one is long
    // already, and the file system walk is saved at start-up.
    PathBuffer longPath;
    const DWORD length = CString(modulePath).Find(L'~') >= 0 ? ::GetLongPathNameW(modulePath, longPath, MAX_PATH) : 0;
    const wchar_t* path = length > 0 && length < MAX_PATH ? longPath : modulePath;
    return InstanceObjectName(path, VolumeSerial(path));
}

bool CSingleInstance::Claim(DWORD waitMs) {
    PathBuffer path;
    if (!GetModuleFilePath(path)) {
        return true;  // no identity to share: be a menu of its own
    }
    const CString name = InstanceObjectNameOf(path);
    m_nShowMenuMessage = ::RegisterWindowMessageW(name + L".menu");

    m_mutex.Attach(::CreateMutexW(nullptr, TRUE, name));
    const bool first = m_mutex && ::GetLastError() != ERROR_ALREADY_EXISTS;
    m_mapping.Attach(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD),
                                          name + L".owner"));
    if (!m_mutex || first) {
        PublishOwner();
        return true;
    }

    const ULONGLONG deadline = ::GetTickCount64() + waitMs;
    for (;;) {
        // The published ID is only a hint: its process may have ended and the ID
        // gone to another program. Only this disc's menu answers the message.
        const DWORD owner = PublishedOwner();
        if (owner != 0 && owner != ::GetCurrentProcessId() && ShowOwnersMenu(owner, m_nShowMenuMessage)) {
            return false;
        }
        // The first launcher ended (or refused and went) before showing a menu: take over.
        const DWORD wait = ::WaitForSingleObject(m_mutex.Get(), kPollMs);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
            PublishOwner();
            return true;
        }
        if (::GetTickCount64() >= deadline) {
            // Still starting, or stuck: a second menu would be worse than none.
            return false;
        }
    }
}

void CSingleInstance::PublishOwner() {
    if (!m_mapping) {
        return;
    }
    if (auto* owner = static_cast<DWORD*>(::MapViewOfFile(m_mapping.Get(), FILE_MAP_WRITE, 0, 0, sizeof(DWORD)))) {
        *owner = ::GetCurrentProcessId();
        ::UnmapViewOfFile(owner);
    }
}

DWORD CSingleInstance::PublishedOwner() const {
    DWORD result = 0;
    if (!m_mapping) {
        return result;
    }
    if (auto* owner = static_cast<const DWORD*>(::MapViewOfFile(m_mapping.Get(), FILE_MAP_READ, 0, 0, sizeof(DWORD)))) {
        result = *owner;
        ::UnmapViewOfFile(owner);
    }
    return result;
}

bool ShowOwnersMenu(DWORD owner, UINT showMenuMessage) {
    if (showMenuMessage == 0) {
        return false;
    }
    // This process was just started by the user: let the menu come to the front.
    ::AllowSetForegroundWindow(owner);
    MenuRequest request = {owner, showMenuMessage, false};
    ::EnumWindows(&AskToShowMenu, reinterpret_cast<LPARAM>(&request));
    return request.answered && BringProcessWindowToFront(owner);
}

bool BringProcessWindowToFront(DWORD process) {
    WindowSearch search = {process, nullptr};
    ::EnumWindows(&FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) {
        return false;
    }
    HWND owner = ::GetWindow(search.found, GW_OWNER);
    if (owner != nullptr && ::IsIconic(owner)) {
        ::ShowWindow(owner, SW_RESTORE);
    }
    if (::IsIconic(search.found)) {
        ::ShowWindow(search.found, SW_RESTORE);
    }
    ::SetForegroundWindow(search.found);
    return true;
}
