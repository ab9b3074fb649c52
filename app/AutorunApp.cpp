#include "AutorunApp.h"

#include "ui/AutorunDlg.h"

// The one application object; the framework's entry finds it.
CAutorunApp theApp;

BOOL CAutorunApp::InitInstance() {
    CAutorunDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // No application message loop: the process ends here.
    return FALSE;
}
