#pragma once
// CWnd: a thin, non-owning wrapper of one window. The framework's handle map
// takes a window procedure from the window to its object: a handful of entries
// searched in the process, where a window property would cost a call to the
// window server on every message under Wine.
#include "MessageTable.h"

#include <windows.h>

class CCmdUI;

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The object attached to hwnd by this framework, or null.
    static CWnd* FromHandle(HWND hwnd);

    // Routes an existing control's messages to this object, passing what it does
    // not handle to the control's own window procedure.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL GetWindowRect(RECT* rect) const { return ::GetWindowRect(m_hWnd, rect); }
    BOOL GetClientRect(RECT* rect) const { return ::GetClientRect(m_hWnd, rect); }
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int width, int height, UINT flags) {
        return ::SetWindowPos(m_hWnd, insertAfter, x, y, width, height, flags);
    }
    BOOL InvalidateRect(const RECT* rect, BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, rect, erase); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL SetWindowText(LPCWSTR text) { return ::SetWindowTextW(m_hWnd, text); }
    BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }
    // The window's system menu; null where it has none.
    HMENU GetSystemMenu() const { return ::GetSystemMenu(m_hWnd, FALSE); }
    // The work area (the monitor less its taskbars and panels) of the monitor
    // this window is on, or of the primary one while it is on none.
    RECT GetWorkArea() const;
    // Where a window of width by height would lie centred on over: on the work
    // area of this window's monitor when over is the desktop window (or null).
    // One too large for the area keeps its top left corner on it.
    POINT GetCenteredPosition(HWND over, int width, int height) const;

    // A modal message box owned by this window; without a caption of its own it
    // shows the application name.
    int MessageBox(LPCWSTR text, LPCWSTR caption = nullptr, UINT type = MB_OK) const;

    // Runs the update handler this object's table has for pCmdUI's control;
    // false when it has none.
    bool OnCmdUI(CCmdUI* pCmdUI);

    HWND m_hWnd = nullptr;

protected:
    // The table of this class; a class with handlers overrides it.
    virtual MessageTable GetMessageTable() const { return {}; }

    // Looks message up in the table and runs its handler; false when none matches.
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Called for each message of a subclassed window.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window's own processing of a message this object passes on.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    // Binds hwnd to this object; false, binding nothing, when either is bound already.
    bool Attach(HWND hwnd);
    void Detach();

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC m_pfnSuper = nullptr;
};
