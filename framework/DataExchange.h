#pragma once
// The data-exchange step of a dialog: binds controls to member objects.
#include <windows.h>

class CDialog;
class CWnd;

class CDataExchange {
public:
    explicit CDataExchange(CDialog* dialog) : m_pDlgWnd(dialog) {}

    CDialog* m_pDlgWnd;
};

// Subclasses dialog control id so that control receives its messages; a control
// already bound is left as it is.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
