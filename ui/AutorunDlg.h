#pragma once
// The launcher window: a dialog with four buttons that open the manual, run the
// installer, open the disc's folder and exit.
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "FlybyButton.h"

class CCmdUI;

class CAutorunDlg : public CDialog {
public:
    // Decides whether the launcher may run here (the locale gate).
    using EnvironmentCheck = bool (*)();

    // showMenuMessage: what a launcher of the same disc started again sends the
    // menu (CSingleInstance registers it for the disc).
    CAutorunDlg(EnvironmentCheck isJapaneseEnvironment, UINT showMenuMessage);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Escape, Enter on no button, Alt+F4 and WM_CLOSE all land here: only the exit
    // button closes the launcher.
    void OnOK() override {}
    void OnCancel() override {}
    // Tells from the keys and clicks who moved the focus, before the dialog's
    // own keyboard handling moves it.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    MessageTable GetMessageTable() const override;

private:
    // Called when a button is clicked (or pressed with Enter or Space).
    void OnClickedManual();
    void OnClickedInstall();
    void OnClickedOpenDisc();
    void OnClickedExit();
    // Called by the command-update pass: the install button is live unless busy.
    void OnUpdateInstall(CCmdUI* pCmdUI);
    // Called when the modal loop runs out of messages.
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
    // Called for F1: there is no help, and the key does nothing.
    LRESULT OnHelpInfo(WPARAM wParam, LPARAM lParam);
    // Called to paint the background picture and the version label.
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    // Called to hit-test the window: all of it is caption, so it drags from anywhere.
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    // Called for the icon shown while the minimised window is dragged.
    LRESULT OnQueryDragIcon(WPARAM wParam, LPARAM lParam);
    // Called by a button the pointer has left: the description area is painted over.
    LRESULT OnDescriptionErase(WPARAM wParam, LPARAM lParam);
    // Called by a button that gained or lost the focus: the description follows it.
    LRESULT OnDescriptionFocus(WPARAM wParam, LPARAM lParam);
    // Called when a launcher of this disc is started again: a menu closed during
    // a wait comes back, and a refusal gives way to the new launcher.
    LRESULT OnShowMenu(WPARAM wParam, LPARAM lParam);
    // Called when a device or medium comes or goes: the menu closes with its disc.
    LRESULT OnDeviceChange(WPARAM event, LPARAM data);

    // Sizes, centres and furnishes the window and places the buttons.
    void FurnishWindow();
    void PlaceButton(CFlybyButton& button, int y);
    void DescribeButton(CFlybyButton& button, const wchar_t* description);
    void InvalidateDescriptionArea();
    // The button whose description the focus shows: the keyboard put the focus
    // on it and no pointer is on a button. Null when there is none.
    CFlybyButton* FocusedDescriptionButton();
    // Has the description area painted again when that button changes.
    void UpdateFocusedDescription();
    void PaintBackground(HDC dc);
    void PaintVersionLabel(HDC dc, const CString& label);
    // Finds the drive whose medium the launcher runs from, if it can be taken out.
    void FindDiscDrive();
    // Closes the menu, and any box it shows, for a disc that has gone.
    void CloseForMissingDisc();
    // Shows a failure, unless the menu has closed for a missing disc.
    void ReportFailure(const wchar_t* text);

    static const MessageEntry kMessageTable[];
    static UINT s_nShowMenuMessage;  // registered at run time for this disc

    CFlybyButton m_btnManual;
    CFlybyButton m_btnInstall;
    CFlybyButton m_btnOpenDisc;
    CFlybyButton m_btnExit;
    BOOL m_bBusy = FALSE;     // the install command is running, its wait included
    BOOL m_bViewing = FALSE;  // the manual command is waiting for its viewer
    BOOL m_bKeyboardFocus = FALSE;          // the keyboard, not a click, moved the focus last
    CFlybyButton* m_pFocusTip = nullptr;    // whose description the area shows for the focus
    BOOL m_bDiscGone = FALSE; // closed because the disc was taken out
    BOOL m_bRefused = FALSE;  // the locale gate refused: it never becomes a menu
    int m_nDiscDrive = -1;    // the removable drive the launcher runs from (0 for A:), or -1
    EnvironmentCheck m_isJapaneseEnvironment;
    HICON m_hIcon;            // shared resource icon, not destroyed
    CFont m_fontText;         // the buttons' descriptions
    CFont m_fontLabel;        // the version label
};
