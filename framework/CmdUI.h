#pragma once
// CCmdUI: what the command-update pass hands an update handler for one control.
#include <windows.h>

class CCmdUI {
public:
    // Enables or disables the control. A control that has the focus hands it to
    // the next tab stop first: a disabled window loses the focus, and the dialog
    // would be left with none, deaf to Tab and Enter.
    void Enable(BOOL on = TRUE) {
        if (!on && ::GetFocus() == m_hWndControl) {
            ::SendMessageW(::GetParent(m_hWndControl), WM_NEXTDLGCTL, 0, FALSE);
        }
        ::EnableWindow(m_hWndControl, on);
    }

    UINT m_nID = 0;
    HWND m_hWndControl = nullptr;
};
