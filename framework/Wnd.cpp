#include "Wnd.h"

#include "CmdUI.h"
#include "Memory.h"
#include "WinApp.h"

#include <algorithm>

namespace {

// The handle map: which object each attached window belongs to. Zero-initialised
// (no constructor runs for it); the lock lets windows of other threads, as the
// tests make, attach meanwhile.
struct Binding {
    HWND hwnd;
    CWnd* wnd;
};
SRWLOCK g_mapLock = SRWLOCK_INIT;
Binding* g_bindings = nullptr;
int g_bindingCount = 0;
int g_bindingCapacity = 0;

// The object bound to hwnd, or null; the caller holds the lock.
CWnd* FindBinding(HWND hwnd) {
    for (int i = 0; i < g_bindingCount; ++i) {
        if (g_bindings[i].hwnd == hwnd) {
            return g_bindings[i].wnd;
        }
    }
    return nullptr;
}

}  // namespace

CWnd::~CWnd() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        UnsubclassWindow();
    } else {
        Detach();  // its window is gone: no stale entry may outlive the object
    }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    ::AcquireSRWLockShared(&g_mapLock);
    CWnd* found = FindBinding(hwnd);
    ::ReleaseSRWLockShared(&g_mapLock);
    return found;
}

bool CWnd::Attach(HWND hwnd) {
    // The check and the insert under one lock: of two threads binding one
    // window, one wins and the other is told so.
    ::AcquireSRWLockExclusive(&g_mapLock);
    const bool free = m_hWnd == nullptr && FindBinding(hwnd) == nullptr;
    if (free) {
        if (g_bindingCount == g_bindingCapacity) {
            const int capacity = g_bindingCapacity == 0 ? 8 : g_bindingCapacity * 2;
            auto* bindings = static_cast<Binding*>(AfxAllocateArray(static_cast<SIZE_T>(capacity), sizeof(Binding)));
            if (g_bindingCount > 0) {
                ::CopyMemory(bindings, g_bindings, sizeof(Binding) * static_cast<SIZE_T>(g_bindingCount));
            }
            AfxFree(g_bindings);
            g_bindings = bindings;
            g_bindingCapacity = capacity;
        }
        g_bindings[g_bindingCount++] = {hwnd, this};
        m_hWnd = hwnd;
    }
    ::ReleaseSRWLockExclusive(&g_mapLock);
    return free;
}

void CWnd::Detach() {
    ::AcquireSRWLockExclusive(&g_mapLock);
    for (int i = 0; i < g_bindingCount; ++i) {
        if (g_bindings[i].wnd == this) {
            g_bindings[i] = g_bindings[--g_bindingCount];
            break;
        }
    }
    ::ReleaseSRWLockExclusive(&g_mapLock);
    m_hWnd = nullptr;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    // Bound first, so that the first message through SubclassProc finds this object.
    if (hwnd == nullptr || !Attach(hwnd)) {
        return FALSE;
    }
    // And the control's own procedure known before ours replaces it: the window's
    // thread may send it a message before SetWindowLongPtrW has returned here.
    m_pfnSuper = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    const auto previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    if (previous == nullptr) {
        // Not ours to subclass (another process's window, or one already gone).
        m_pfnSuper = nullptr;
        Detach();
        return FALSE;
    }
    m_pfnSuper = previous;  // the same, unless someone replaced it in between
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
    HWND hwnd = m_hWnd;
    if (m_pfnSuper != nullptr) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = nullptr;
    }
    Detach();
    return hwnd;
}

RECT CWnd::GetWorkArea() const {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return monitor.rcWork;
}

POINT CWnd::GetCenteredPosition(HWND over, int width, int height) const {
    RECT area;
    if (over == nullptr || over == ::GetDesktopWindow()) {
        area = GetWorkArea();
    } else {
        ::GetWindowRect(over, &area);
    }
    // A window larger than the area keeps its top left corner on it.
    return {std::max(area.left, area.left + (area.right - area.left - width) / 2),
            std::max(area.top, area.top + (area.bottom - area.top - height) / 2)};
}

int CWnd::MessageBox(LPCWSTR text, LPCWSTR caption, UINT type) const {
    return AfxShowMessageBox(m_hWnd, text, caption, type);
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    for (const MessageEntry& entry : GetMessageTable()) {
        bool matches = false;
        switch (entry.kind) {
        case MessageEntry::Kind::Message:
            matches = entry.message == message;
            break;
        case MessageEntry::Kind::RegisteredMessage:
            matches = *entry.registered != 0 && *entry.registered == message;
            break;
        case MessageEntry::Kind::Command:
            matches = message == WM_COMMAND && entry.id == LOWORD(wParam) &&
                      entry.code == HIWORD(wParam);
            break;
        case MessageEntry::Kind::UpdateCommand:
            break;
        }
        if (matches) {
            *result = entry.invoke(*this, wParam, lParam);
            return true;
        }
    }
    return false;
}

bool CWnd::OnCmdUI(CCmdUI* pCmdUI) {
    for (const MessageEntry& entry : GetMessageTable()) {
        if (entry.kind == MessageEntry::Kind::UpdateCommand && entry.id == pCmdUI->m_nID) {
            entry.invoke(*this, 0, reinterpret_cast<LPARAM>(pCmdUI));
            return true;
        }
    }
    return false;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result)) {
        return result;
    }
    return Default(message, wParam, lParam);
}

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr) {
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    }
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = FromHandle(hwnd);
    if (wnd == nullptr) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        // The window is going: hand it back to its own procedure for the last message.
        WNDPROC super = wnd->m_pfnSuper;
        wnd->UnsubclassWindow();
        return ::CallWindowProcW(super, hwnd, message, wParam, lParam);
    }
    return wnd->WindowProc(message, wParam, lParam);
}
