#include "AutorunApp.h"

#include "LocaleGate.h"
#include "SingleInstance.h"
#include "ui/AutorunDlg.h"

// The one application object; the framework's entry finds it.
CAutorunApp theApp;

BOOL CAutorunApp::InitInstance() {
    // A second start from the same disc (AutoPlay again, a double click on the
    // drive) shows the first menu, in front, instead of opening another, whose
    // install button would know nothing of the first one's installer.
    CSingleInstance instance;
    if (!instance.Claim()) {
        return FALSE;
    }
    CAutorunDlg dlg(&IsJapaneseEnvironment, instance.ShowMenuMessage());
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // No application message loop: the process ends here.
    return FALSE;
}
