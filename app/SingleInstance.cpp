#include "SingleInstance.h"

#include "framework/ModuleFile.h"

namespace {

constexpr DWORD kPollMs = 50;

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

}  // namespace

CString InstanceObjectName(const wchar_t* modulePath) {
    // File names compare without case: fold it the way the file system does.
    CString folded(modulePath);
    folded.MakeUpper();
    // 64-bit FNV-1a over the UTF-16 code units.
    unsigned long long hash = 14695981039346656037ull;
    for (int i = 0; i < folded.GetLength(); ++i) {
        hash = (hash ^ static_cast<unsigned long long>(folded.GetAt(i))) * 1099511628211ull;
    }
    CString name;
    name.Format(L"Local\\Autorun.%08lx%08lx", static_cast<unsigned long>(hash >> 32),
                static_cast<unsigned long>(hash & 0xFFFFFFFFu));
    return name;
}

bool CSingleInstance::Claim(DWORD waitMs) {
    PathBuffer path;
    if (!GetModuleFilePath(path)) {
        return true;  // no identity to share: be a menu of its own
    }
    // A short (8.3) spelling of the same path is the same launcher. Windows
    // makes every short alias with a '~' in it, so a path without one is long
    // already, and the file system walk is saved at start-up.
    PathBuffer longPath;
    const DWORD length = CString(path).Find(L'~') >= 0 ? ::GetLongPathNameW(path, longPath, MAX_PATH) : 0;
    const CString name = InstanceObjectName(length > 0 && length < MAX_PATH ? longPath : path);

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
        const DWORD owner = PublishedOwner();
        if (owner != 0 && owner != ::GetCurrentProcessId() && BringProcessWindowToFront(owner)) {
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
