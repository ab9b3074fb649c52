#pragma once
// CCmdUI: what the command-update pass hands an update handler for one control.
#include <windows.h>

class CCmdUI {
public:
    // Enables or disables the control.
    void Enable(BOOL on = TRUE) { ::EnableWindow(m_hWndControl, on); }

    UINT m_nID = 0;
    HWND m_hWndControl = nullptr;
};
