#include "Wnd.h"

#include "CmdUI.h"
#include "WinApp.h"

#include <algorithm>

namespace {
const wchar_t kObjectProperty[] = L"Framework.CWnd";
}

CWnd::~CWnd() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        UnsubclassWindow();
    }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    return static_cast<CWnd*>(::GetPropW(hwnd, kObjectProperty));
}

void CWnd::Attach(HWND hwnd) {
    m_hWnd = hwnd;
    ::SetPropW(hwnd, kObjectProperty, this);
}

void CWnd::Detach() {
    if (m_hWnd != nullptr) {
        ::RemovePropW(m_hWnd, kObjectProperty);
    }
    m_hWnd = nullptr;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (hwnd == nullptr || m_hWnd != nullptr || FromHandle(hwnd) != nullptr) {
        return FALSE;
    }
    Attach(hwnd);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
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

void CWnd::CenterWindow(HWND over) {
    RECT area;
    if (over == nullptr || over == ::GetDesktopWindow()) {
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof(monitor);
        ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
        area = monitor.rcWork;
    } else {
        ::GetWindowRect(over, &area);
    }
    RECT rect;
    ::GetWindowRect(m_hWnd, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    // A window larger than the area keeps its top left corner on it.
    const int x = std::max(area.left, area.left + (area.right - area.left - width) / 2);
    const int y = std::max(area.top, area.top + (area.bottom - area.top - height) / 2);
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
