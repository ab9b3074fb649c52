#include "AutorunDlg.h"

#include "app/SingleInstance.h"
#include "framework/CmdUI.h"
#include "framework/WinApp.h"
#include "launch/DiscDrive.h"
#include "launch/Launch.h"
#include "launch/ModulePath.h"
#include "resource.h"
#include "Scale.h"
#include "VersionLabel.h"

#include <commctrl.h>

namespace {
const wchar_t kSetupFile[] = L"Setup.exe";
const wchar_t kManualFile[] = L"Install.pdf";

const wchar_t kSetupNotFound[] = L"Setup.exeが見つかりません。";
const wchar_t kSetupFailed[] = L"インストーラの起動に失敗しました。";
const wchar_t kManualNotFound[] = L"ドキュメントが見つかりません。";
const wchar_t kManualFailed[] = L"ドキュメントを開けませんでした。";

// The window's design, in pixels at 96 DPI.
constexpr int kDesignDpi = 96;
constexpr int kDesignWidth96 = 640;
constexpr int kDesignHeight96 = 400;
constexpr int kButtonX96 = 386;
constexpr int kButtonWidth96 = 240;
constexpr int kButtonHeight96 = 35;
constexpr int kManualY96 = 60;
constexpr int kInstallY96 = 105;
constexpr int kOpenDiscY96 = 195;
constexpr int kExitY96 = 250;
constexpr int kDescriptionX96 = 320;
constexpr int kDescriptionY96 = 360;
constexpr int kDescriptionBottom96 = 410;  // 10 below the picture: the text may run over
constexpr int kLabelMarginX96 = 10;
constexpr int kLabelMarginY96 = 8;
constexpr int kLabelShadowOffset96 = 1;
constexpr int kLabelFontHeight96 = -12;
constexpr int kDescriptionFontPoints = 9;
constexpr int kPointsPerInch = 72;
constexpr int kDescriptionFontHeight96 = -kDescriptionFontPoints * kDesignDpi / kPointsPerInch;  // -12

const wchar_t kManualDescription[] = L"インストールマニュアルを開きます。";
const wchar_t kInstallDescription[] = L"ゾルタニカ ZENTOVARIKをインストールします。";
const wchar_t kOpenDiscDescription[] = L"CDの内容を表示します。";
const wchar_t kExitDescription[] = L"終了します。";

const wchar_t kNotJapanese[] =
    L"Windowsの表示言語またはUnicode対応ではないプログラムの言語が日本語でないため起動できません。\n"
    L"日本語に設定してから起動し直してください。";

// Ends a modal box this thread shows over the menu (a failure message, the
// shell's own, the refusal), or on its own (the shell's about the folder, which
// is opened with no owner): what it says no longer holds.
BOOL CALLBACK EndBoxOfMenu(HWND hwnd, LPARAM menu) {
    const auto dialogClass = static_cast<ULONG_PTR>(reinterpret_cast<UINT_PTR>(WC_DIALOG));
    const HWND owner = ::GetWindow(hwnd, GW_OWNER);
    if (hwnd != reinterpret_cast<HWND>(menu) && (owner == reinterpret_cast<HWND>(menu) || owner == nullptr) &&
        ::GetClassLongPtrW(hwnd, GCW_ATOM) == dialogClass) {
        ::EndDialog(hwnd, IDCANCEL);
    }
    return TRUE;
}
}  // namespace

UINT CAutorunDlg::s_nShowMenuMessage = 0;

const MessageEntry CAutorunDlg::kMessageTable[] = {
    OnCommand<&CAutorunDlg::OnClickedManual>(IDC_MANUAL),           // void ()
    OnCommand<&CAutorunDlg::OnClickedInstall>(IDC_INSTALL),         // void ()
    OnCommand<&CAutorunDlg::OnClickedOpenDisc>(IDC_OPEN_DISC),      // void ()
    OnCommand<&CAutorunDlg::OnClickedExit>(IDC_EXIT),               // void ()
    OnUpdateCommand<&CAutorunDlg::OnUpdateInstall>(IDC_INSTALL),    // void (CCmdUI*)
    OnMessage<&CAutorunDlg::OnKickIdle>(WM_KICKIDLE),               // LRESULT (WPARAM, LPARAM)
    OnMessage<&CAutorunDlg::OnHelpInfo>(WM_HELP),                   // LRESULT (WPARAM, LPARAM)
    OnMessage<&CAutorunDlg::OnPaint>(WM_PAINT),                     // LRESULT (WPARAM, LPARAM)
    OnMessage<&CAutorunDlg::OnNcHitTest>(WM_NCHITTEST),             // LRESULT (WPARAM, LPARAM)
    OnMessage<&CAutorunDlg::OnQueryDragIcon>(WM_QUERYDRAGICON),     // LRESULT (WPARAM, LPARAM)
    OnMessage<&CAutorunDlg::OnDescriptionErase>(WM_DESCRIPTION_ERASE),  // LRESULT (WPARAM, LPARAM)
    OnMessage<&CAutorunDlg::OnDescriptionFocus>(WM_DESCRIPTION_FOCUS),  // LRESULT (WPARAM, LPARAM)
    OnRegisteredMessage<&CAutorunDlg::OnShowMenu>(s_nShowMenuMessage),  // LRESULT (WPARAM, LPARAM)
    OnMessage<&CAutorunDlg::OnDeviceChange>(WM_DEVICECHANGE),           // LRESULT (WPARAM, LPARAM)
};

CAutorunDlg::CAutorunDlg(EnvironmentCheck isJapaneseEnvironment, UINT showMenuMessage)
    : CDialog(IDD_AUTORUN),
      m_isJapaneseEnvironment(isJapaneseEnvironment),
      m_hIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {
    s_nShowMenuMessage = showMenuMessage;
}

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
    if (!m_isJapaneseEnvironment()) {
        m_bRefused = TRUE;
        MessageBox(kNotJapanese, nullptr, MB_ICONEXCLAMATION | MB_OK);
        EndDialog(IDCANCEL);
        return FALSE;
    }

    FurnishWindow();
    FindDiscDrive();
    return TRUE;  // focus on the first tab stop, the manual button
}

void CAutorunDlg::FurnishWindow() {
    // No sizing or maximising: the picture has one size.
    HMENU systemMenu = GetSystemMenu();
    if (systemMenu != nullptr) {
        ::RemoveMenu(systemMenu, SC_SIZE, MF_BYCOMMAND);
        ::RemoveMenu(systemMenu, SC_MAXIMIZE, MF_BYCOMMAND);
    }

    // The taskbar, Alt+Tab and screen readers name the menu by its text, which
    // no caption bar shows.
    CString name;
    if (!GetProductName(name) && AfxGetApp() != nullptr) {
        name = AfxGetApp()->m_strAppName;
    }
    SetWindowText(name);
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    // Make the client area exactly the scaled picture, whatever the frame takes,
    // centred on the work area: one move, so the window is laid out once. On a
    // work area too small for it the whole layout shrinks until it fits.
    RECT window;
    RECT client;
    GetWindowRect(&window);
    GetClientRect(&client);
    const int frameWidth = (window.right - window.left) - (client.right - client.left);
    const int frameHeight = (window.bottom - window.top) - (client.bottom - client.top);
    const RECT work = GetWorkArea();
    FitLayoutTo({kDesignWidth96, kDesignHeight96}, {frameWidth, frameHeight},
                {work.right - work.left, work.bottom - work.top});
    const int width = frameWidth + ScaleForDpi(kDesignWidth96);
    const int height = frameHeight + ScaleForDpi(kDesignHeight96);
    const POINT at = GetCenteredPosition(::GetDesktopWindow(), width, height);
    SetWindowPos(nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    m_fontText.CreateFont(ScaleForDpi(kDescriptionFontHeight96), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                          DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, L"ＭＳ ゴシック");
    CreateVersionLabelFont(m_fontLabel, ScaleForDpi(kLabelFontHeight96));

    PlaceButton(m_btnManual, kManualY96);
    DescribeButton(m_btnManual, kManualDescription);
    PlaceButton(m_btnInstall, kInstallY96);
    m_btnInstall.SendMessage(BCM_SETSHIELD, 0, TRUE);
    DescribeButton(m_btnInstall, kInstallDescription);
    PlaceButton(m_btnOpenDisc, kOpenDiscY96);
    DescribeButton(m_btnOpenDisc, kOpenDiscDescription);
    PlaceButton(m_btnExit, kExitY96);
    DescribeButton(m_btnExit, kExitDescription);
}

void CAutorunDlg::PlaceButton(CFlybyButton& button, int y) {
    button.SetWindowPos(nullptr, ScaleForDpi(kButtonX96), ScaleForDpi(y), ScaleForDpi(kButtonWidth96),
                        ScaleForDpi(kButtonHeight96), SWP_NOZORDER);
}

void CAutorunDlg::DescribeButton(CFlybyButton& button, const wchar_t* description) {
    button.m_strTip = description;
    button.m_ptTip = {ScaleForDpi(kDescriptionX96), ScaleForDpi(kDescriptionY96)};
    button.m_pTipFont = &m_fontText;
}

LRESULT CAutorunDlg::OnDescriptionErase(WPARAM, LPARAM) {
    InvalidateDescriptionArea();
    // With the pointer gone, the paint brings back the focused button's description.
    m_pFocusTip = FocusedDescriptionButton();
    return 0;
}

LRESULT CAutorunDlg::OnDescriptionFocus(WPARAM, LPARAM) {
    UpdateFocusedDescription();
    return 0;
}

void CAutorunDlg::InvalidateDescriptionArea() {
    // The next paint covers it with the picture (and the label where they meet).
    const RECT area = {ScaleForDpi(kDescriptionX96), ScaleForDpi(kDescriptionY96),
                       ScaleForDpi(kDesignWidth96), ScaleForDpi(kDescriptionBottom96)};
    InvalidateRect(&area, FALSE);
}

CFlybyButton* CAutorunDlg::FocusedDescriptionButton() {
    if (!m_bKeyboardFocus) {
        return nullptr;
    }
    CFlybyButton* const buttons[] = {&m_btnManual, &m_btnInstall, &m_btnOpenDisc, &m_btnExit};
    for (CFlybyButton* button : buttons) {
        if (button->m_bTracking) {
            return nullptr;  // a resting pointer has the area
        }
    }
    HWND focus = ::GetFocus();
    for (CFlybyButton* button : buttons) {
        if (button->m_hWnd == focus) {
            return button;
        }
    }
    return nullptr;
}

void CAutorunDlg::UpdateFocusedDescription() {
    CFlybyButton* const button = FocusedDescriptionButton();
    if (button != m_pFocusTip) {
        m_pFocusTip = button;
        InvalidateDescriptionArea();
    }
}

BOOL CAutorunDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) {
        return FALSE;
    }
    // Windows' keyboard cues (WM_UPDATEUISTATE) do not come everywhere: the keys
    // themselves tell.
    switch (pMsg->message) {
    case WM_KEYDOWN:
        switch (pMsg->wParam) {
        case VK_TAB:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            m_bKeyboardFocus = TRUE;  // the idle pass shows the new focus's description
            break;
        default:
            break;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (pMsg->hwnd != m_hWnd) {
            m_bKeyboardFocus = FALSE;  // the click puts the focus on the button
        }
        break;
    case WM_MOUSEHOVER:
        // The resting pointer's description is about to be drawn: the focused
        // button's goes first, painted over now.
        UpdateFocusedDescription();
        UpdateWindow();
        break;
    default:
        break;
    }
    return FALSE;
}

LRESULT CAutorunDlg::OnPaint(WPARAM, LPARAM) {
    CPaintDC dc(m_hWnd);
    if (IsIconic()) {
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        RECT client;
        GetClientRect(&client);
        const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(dc.GetSafeHdc(), x, y, m_hIcon);
        return 0;
    }
    PaintBackground(dc.GetSafeHdc());
    if (m_pFocusTip != nullptr) {
        m_pFocusTip->DrawTip(dc.GetSafeHdc());
    }
    CString label;
    if (GetVersionLabel(label)) {
        PaintVersionLabel(dc.GetSafeHdc(), label);
    }
    return 0;
}

void CAutorunDlg::PaintBackground(HDC dc) {
    CBitmap background;
    BITMAP size = {};
    if (!background.LoadBitmap(IDB_BACKGROUND) ||
        ::GetObjectW(background.GetSafeHandle(), sizeof(size), &size) == 0) {
        return;
    }
    CMemoryDC memory(nullptr);
    CSelectObject selection(memory.GetSafeHdc(), background.GetSafeHandle());
    const int width = ScaleForDpi(size.bmWidth);
    const int height = ScaleForDpi(size.bmHeight);
    if (width == size.bmWidth && height == size.bmHeight) {
        ::BitBlt(dc, 0, 0, width, height, memory.GetSafeHdc(), 0, 0, SRCCOPY);
        return;
    }
    // Averaging keeps the picture smooth when it is scaled up for a higher DPI.
    ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchBlt(dc, 0, 0, width, height, memory.GetSafeHdc(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
}

void CAutorunDlg::PaintVersionLabel(HDC dc, const CString& label) {
    RECT client;
    GetClientRect(&client);
    const VersionLabelMetrics metrics = {ScaleForDpi(kLabelMarginX96), ScaleForDpi(kLabelMarginY96),
                                         ScaleForDpi(kLabelShadowOffset96)};
    DrawVersionLabel(dc, client, m_fontLabel, label, metrics);
}

void CAutorunDlg::FindDiscDrive() {
    PathBuffer folder;
    if (GetModuleDirectory(folder)) {
        const int drive = DriveIndex(folder);
        m_nDiscDrive = IsRemovableDrive(drive) ? drive : -1;
    }
}

LRESULT CAutorunDlg::OnDeviceChange(WPARAM event, LPARAM data) {
    // Windows tells every window that a volume went; the menu goes only when its
    // own folder went with it (the same letter may have named something else).
    PathBuffer folder;
    if (m_nDiscDrive >= 0 && ReportsVolumeRemoved(event, reinterpret_cast<const DEV_BROADCAST_HDR*>(data), m_nDiscDrive) &&
        GetModuleDirectory(folder) && !FolderExists(folder)) {
        CloseForMissingDisc();
    }
    return TRUE;
}

void CAutorunDlg::CloseForMissingDisc() {
    // Setup and the viewer run on; only the menu and what it shows go.
    m_bDiscGone = TRUE;
    ::EnumThreadWindows(::GetCurrentThreadId(), &EndBoxOfMenu, reinterpret_cast<LPARAM>(m_hWnd));
    EndDialog(IDCANCEL);
}

void CAutorunDlg::ReportFailure(const wchar_t* text) {
    if (!m_bDiscGone) {
        AfxMessageBox(text);
    }
}

LRESULT CAutorunDlg::OnShowMenu(WPARAM, LPARAM) {
    // A refusal is no menu, and the launcher started again (Windows put right, as
    // the refusal asks) decides afresh once this one has gone.
    if (m_bRefused) {
        ::EnumThreadWindows(::GetCurrentThreadId(), &EndBoxOfMenu, reinterpret_cast<LPARAM>(m_hWnd));
        return 0;
    }
    // Closed while Setup runs, the menu still waits for it, install button
    // disabled; started again from the same disc, the user gets it back.
    if (Reopen()) {
        m_bDiscGone = FALSE;
    }
    return kShowMenuAnswer;
}

LRESULT CAutorunDlg::OnNcHitTest(WPARAM, LPARAM) {
    return HTCAPTION;
}

LRESULT CAutorunDlg::OnQueryDragIcon(WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>(m_hIcon);
}

void CAutorunDlg::OnClickedManual() {
    PathBuffer path;
    if (!GetTargetPath(path, kManualFile)) {
        ReportFailure(kManualNotFound);
        return;
    }
    // Every click opens the manual, but only the first waits for its viewer.
    // Waiting on every click would nest one more wait, and one more level of
    // window procedures, per click while the viewers stay open; enough clicks
    // run out of that nesting (Wine stops calling window procedures at 64
    // levels) and the launcher stops handling messages.
    // Nothing waits for the manual once the menu has closed.
    bool opened = false;
    if (m_bViewing) {
        opened = Launch(path, m_hWnd);
    } else {
        m_bViewing = TRUE;
        opened = LaunchAndWait(path, *this, WaitEnd::SignalledOrEnded);
        m_bViewing = FALSE;
    }
    if (!opened) {
        ReportFailure(kManualFailed);
    }
}

void CAutorunDlg::OnClickedInstall() {
    // The wait below dispatches messages, so this can be reached again meanwhile.
    if (m_bBusy) {
        return;
    }
    // The command-update pass disables the button at once, handing its focus on.
    m_bBusy = TRUE;
    UpdateDialogControls(this, FALSE);

    PathBuffer path;
    // The menu may close meanwhile (the exit button, the disc taken out): Setup is seen
    // through all the same, so its end is known to a menu shown again.
    if (!GetTargetPath(path, kSetupFile)) {
        ReportFailure(kSetupNotFound);
    } else if (!LaunchAndWait(path, *this)) {
        ReportFailure(kSetupFailed);
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
    UpdateFocusedDescription();
    return 0;
}

LRESULT CAutorunDlg::OnHelpInfo(WPARAM, LPARAM) {
    return TRUE;
}
