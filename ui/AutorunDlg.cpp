#include "AutorunDlg.h"

#include "app/LocaleGate.h"
#include "framework/CmdUI.h"
#include "framework/WinApp.h"
#include "launch/Launch.h"
#include "launch/ModulePath.h"
#include "resource.h"

namespace {
const wchar_t kSetupFile[] = L"Setup.exe";
const wchar_t kManualFile[] = L"Install.pdf";

const wchar_t kSetupNotFound[] = L"Setup.exeが見つかりません。";
const wchar_t kSetupFailed[] = L"インストーラの起動に失敗しました。";
const wchar_t kManualNotFound[] = L"ドキュメントが見つかりません。";
const wchar_t kManualFailed[] = L"ドキュメントを開けませんでした。";
const wchar_t kNotJapanese[] =
    L"Windowsの表示言語またはUnicode対応ではないプログラムの言語が日本語でないため起動できません。\n"
    L"日本語に設定してから起動し直してください。";
}  // namespace

const MessageEntry CAutorunDlg::kMessageTable[] = {
    OnCommand<&CAutorunDlg::OnClickedManual>(IDC_MANUAL),           // void ()
    OnCommand<&CAutorunDlg::OnClickedInstall>(IDC_INSTALL),         // void ()
    OnCommand<&CAutorunDlg::OnClickedOpenDisc>(IDC_OPEN_DISC),      // void ()
    OnCommand<&CAutorunDlg::OnClickedExit>(IDC_EXIT),               // void ()
    OnUpdateCommand<&CAutorunDlg::OnUpdateInstall>(IDC_INSTALL),    // void (CCmdUI*)
    OnMessage<&CAutorunDlg::OnKickIdle>(WM_KICKIDLE),               // LRESULT (WPARAM, LPARAM)
    OnMessage<&CAutorunDlg::OnHelpInfo>(WM_HELP),                   // LRESULT (WPARAM, LPARAM)
};

CAutorunDlg::CAutorunDlg() : CDialog(IDD_AUTORUN) {}

MessageTable CAutorunDlg::GetMessageTable() const {
    return kMessageTable;
}

void CAutorunDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MANUAL, m_btnManual);
    DDX_Control(pDX, IDC_OPEN_DISC, m_btnOpenDisc);
    DDX_Control(pDX, IDC_INSTALL, m_btnInstall);
    DDX_Control(pDX, IDC_EXIT, m_btnExit);
}

BOOL CAutorunDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    // Refuse before anything is shown; the dialog is still hidden and owns the box.
    if (!IsJapaneseEnvironment()) {
        MessageBox(kNotJapanese, nullptr, MB_ICONEXCLAMATION | MB_OK);
        EndDialog(IDCANCEL);
        return FALSE;
    }

    return TRUE;  // focus on the first tab stop, the manual button
}

void CAutorunDlg::OnClickedManual() {
    PathBuffer path;
    if (!GetTargetPath(path, kManualFile)) {
        AfxMessageBox(kManualNotFound);
    } else if (!LaunchAndWait(path, m_hWnd)) {
        AfxMessageBox(kManualFailed);
    }
}

void CAutorunDlg::OnClickedInstall() {
    // The wait below dispatches messages, so this can be reached again meanwhile.
    if (m_bBusy) {
        return;
    }
    m_bBusy = TRUE;
    m_btnInstall.EnableWindow(FALSE);

    PathBuffer path;
    if (!GetTargetPath(path, kSetupFile)) {
        AfxMessageBox(kSetupNotFound);
    } else if (!LaunchAndWait(path, m_hWnd)) {
        AfxMessageBox(kSetupFailed);
    }

    // The next idle pass enables the button again.
    m_bBusy = FALSE;
}

void CAutorunDlg::OnClickedOpenDisc() {
    PathBuffer folder;
    if (GetModuleDirectory(folder)) {
        OpenFolder(folder);
    }
}

void CAutorunDlg::OnClickedExit() {
    EndDialog(IDOK);
}

void CAutorunDlg::OnUpdateInstall(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!m_bBusy);
}

LRESULT CAutorunDlg::OnKickIdle(WPARAM, LPARAM) {
    UpdateDialogControls(this, FALSE);
    return 0;
}

LRESULT CAutorunDlg::OnHelpInfo(WPARAM, LPARAM) {
    return TRUE;
}
