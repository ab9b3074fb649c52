#pragma once
// CDialog: a dialog made from a template resource and run modally by the
// framework's own loop, which sends WM_KICKIDLE whenever the queue runs empty.
#include "DataExchange.h"
#include "Wnd.h"

#include <windows.h>

// Sent to a modal dialog when its queue is empty; wParam is MSGF_DIALOGBOX and
// lParam counts the idle calls since the last input. A non-zero answer asks for
// another call before waiting.
constexpr UINT WM_KICKIDLE = 0x036A;

// What ends a wait in a dialog's modal loop besides its handle being signalled.
enum class WaitEnd {
    Signalled,         // nothing else: what it waits for is seen through, EndDialog or not
    SignalledOrEnded,  // also the dialog's end: nothing is left to do once it has gone
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT idTemplate) : m_idTemplate(idTemplate) {}
    ~CDialog() override;

    // Creates the dialog, runs it until EndDialog, destroys it and returns the
    // result given to EndDialog; -1 if it could not be created or the thread quit.
    INT_PTR DoModal();

    // Ends the modal loop with result and hides the dialog at once; the loop
    // returns when control comes back to it.
    void EndDialog(int result);

    // Runs the dialog's modal loop, as DoModal does, until handle is signalled:
    // true then; false if the wait fails or the thread quits (the quit stays
    // queued for the loop outside), or for WaitEnd::SignalledOrEnded once the
    // dialog is ended. Otherwise EndDialog does not end it: a wait started from a
    // command outlives the dialog's own end. Waits may nest.
    bool RunModalLoopUntil(HANDLE handle, WaitEnd end = WaitEnd::Signalled);

    // Takes back an EndDialog while a wait that outlives it still runs: the
    // dialog shows again, restored, with the focus on its first tab stop, and its
    // loop goes on. False, doing nothing, for a dialog that is not ended or whose
    // loop has nothing left to run.
    bool Reopen();

    // Binds the dialog's controls to their member objects.
    void UpdateData();

    // The command-update pass: asks target's update handler of each child control
    // to set its state. A control without a handler is disabled when
    // disableIfNoHandler is true and left alone otherwise.
    void UpdateDialogControls(CWnd* target, BOOL disableIfNoHandler);

protected:
    // Called for WM_INITDIALOG. Returning TRUE puts the focus on the first tab
    // stop, and makes it the default button if it is a push button.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* /*pDX*/) {}
    // Called for IDOK (Enter) and IDCANCEL (Escape, WM_CLOSE, SC_CLOSE); both end
    // the dialog unless a derived class says otherwise.
    virtual void OnOK();
    virtual void OnCancel();
    // Called by the modal loop for each message it takes, before the dialog's
    // keyboard handling sees it; TRUE when handled, and the message goes no further.
    virtual BOOL PreTranslateMessage(MSG* /*pMsg*/) { return FALSE; }

private:
    enum class LoopEnd { Ended, Signalled, Quit, WaitFailed };

    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The one loop body: until EndDialog when handle is null, else until handle
    // is signalled (or, as end says, the dialog is ended).
    LoopEnd RunModalLoop(HANDLE handle, WaitEnd end);
    // Puts the focus on the first tab stop and makes it the default button.
    void FocusFirstTabStop();

    UINT m_idTemplate;
    bool m_bContinueModal = false;
    INT_PTR m_nModalResult = -1;
    int m_nLastingWaits = 0;  // running waits that EndDialog does not end
};
