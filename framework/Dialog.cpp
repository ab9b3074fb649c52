#include "Dialog.h"

#include "CmdUI.h"
#include "Memory.h"

namespace {

// The style field of a dialog template, plain or extended.
DWORD* TemplateStyle(BYTE* dialogTemplate, DWORD size) {
    const bool extended = size >= 16 && reinterpret_cast<const WORD*>(dialogTemplate)[1] == 0xFFFF;
    const DWORD offset = extended ? 12 : 0;
    return size >= offset + sizeof(DWORD) ? reinterpret_cast<DWORD*>(dialogTemplate + offset) : nullptr;
}

// Input and plain timer messages start a new round of idle calls; mouse moves,
// paints and the caret blink do not, or an idle pass would run on every twitch.
bool IsIdleMessage(const MSG& msg) {
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case 0x0118:  // WM_SYSTIMER: the caret blink
        return false;
    default:
        return true;
    }
}

}  // namespace

CDialog::~CDialog() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        ::DestroyWindow(m_hWnd);
    }
}

INT_PTR CDialog::DoModal() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    HRSRC resource = ::FindResourceW(instance, MAKEINTRESOURCEW(m_idTemplate), RT_DIALOG);
    HGLOBAL loaded = resource != nullptr ? ::LoadResource(instance, resource) : nullptr;
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    const DWORD size = resource != nullptr ? ::SizeofResource(instance, resource) : 0;
    if (data == nullptr || size == 0) {
        return -1;
    }

    // Create the dialog hidden and show it only once its initialisation has let it
    // run, so a dialog ended during WM_INITDIALOG never appears.
    CHeapBlock copy(size);
    ::CopyMemory(copy.Get(), data, size);
    DWORD* style = TemplateStyle(copy.Get(), size);
    if (style == nullptr) {
        return -1;
    }
    const bool visible = (*style & WS_VISIBLE) != 0;
    *style &= ~static_cast<DWORD>(WS_VISIBLE);

    m_bContinueModal = true;
    m_nModalResult = -1;
    HWND hwnd = ::CreateDialogIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(copy.Get()),
                                             nullptr, &CDialog::DialogProc,
                                             reinterpret_cast<LPARAM>(this));
    if (hwnd == nullptr) {
        m_bContinueModal = false;
        return -1;
    }
    if (m_bContinueModal) {
        if (visible) {
            ::ShowWindow(hwnd, SW_SHOWNORMAL);
        }
        if (RunModalLoop(nullptr, WaitEnd::Signalled) != LoopEnd::Ended) {
            m_bContinueModal = false;
            m_nModalResult = -1;
        }
    }
    ::DestroyWindow(hwnd);
    return m_nModalResult;
}

bool CDialog::RunModalLoopUntil(HANDLE handle, WaitEnd end) {
    if (handle == nullptr) {
        return false;
    }
    const int lasting = end == WaitEnd::Signalled ? 1 : 0;
    m_nLastingWaits += lasting;
    const LoopEnd result = RunModalLoop(handle, end);
    m_nLastingWaits -= lasting;
    return result == LoopEnd::Signalled;
}

bool CDialog::Reopen() {
    // Only a wait that outlives the end keeps a loop running to come back to.
    if (m_bContinueModal || m_nLastingWaits == 0 || m_hWnd == nullptr) {
        return false;
    }
    m_bContinueModal = true;
    ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    FocusFirstTabStop();
    return true;
}

CDialog::LoopEnd CDialog::RunModalLoop(HANDLE handle, WaitEnd end) {
    bool idle = true;
    LPARAM idleCount = 0;
    for (;;) {
        if (!m_bContinueModal && (handle == nullptr || end == WaitEnd::SignalledOrEnded)) {
            return LoopEnd::Ended;
        }
        MSG msg;
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (idle) {
                if (SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++) == 0) {
                    idle = false;
                }
                continue;
            }
            // Sleep until a message comes or the handle is signalled; no CPU meanwhile.
            const DWORD handles = handle != nullptr ? 1 : 0;
            const DWORD woke = ::MsgWaitForMultipleObjectsEx(handles, &handle, INFINITE, QS_ALLINPUT,
                                                             MWMO_INPUTAVAILABLE);
            if (handles != 0 && woke == WAIT_OBJECT_0) {
                return LoopEnd::Signalled;
            }
            if (woke == WAIT_FAILED) {
                return LoopEnd::WaitFailed;
            }
            continue;
        }
        if (msg.message == WM_QUIT) {
            // Leave the quit in the queue for whoever runs the next loop out.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return LoopEnd::Quit;
        }
        if (!PreTranslateMessage(&msg) && !::IsDialogMessageW(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (IsIdleMessage(msg)) {
            idle = true;
            idleCount = 0;
        }
    }
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    m_bContinueModal = false;
    if (m_hWnd != nullptr) {
        ::ShowWindow(m_hWnd, SW_HIDE);
        // Wake the modal loop if it is waiting for a message.
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    }
}

void CDialog::FocusFirstTabStop() {
    // Windows makes the focused push button the default one, Wine only moves the
    // focus; WM_NEXTDLGCTL does both on either, so Enter reaches it.
    HWND first = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
    if (first != nullptr) {
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
    }
}

void CDialog::UpdateData() {
    CDataExchange dx(this);
    DoDataExchange(&dx);
}

void CDialog::UpdateDialogControls(CWnd* target, BOOL disableIfNoHandler) {
    CCmdUI state;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        state.m_nID = static_cast<UINT>(::GetDlgCtrlID(child));
        state.m_hWndControl = child;
        if (!target->OnCmdUI(&state) && disableIfNoHandler) {
            state.Enable(FALSE);
        }
    }
}

BOOL CDialog::OnInitDialog() {
    UpdateData();
    return TRUE;
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->Attach(hwnd);
        return dialog->HandleMessage(message, wParam, lParam);
    }
    auto* dialog = static_cast<CDialog*>(FromHandle(hwnd));
    if (dialog == nullptr) {
        return FALSE;
    }
    if (message == WM_NCDESTROY) {
        dialog->Detach();
        return FALSE;
    }
    return dialog->HandleMessage(message, wParam, lParam);
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        if (OnInitDialog() && m_bContinueModal) {
            FocusFirstTabStop();
        }
        return FALSE;  // the focus is already where it belongs
    }

    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result)) {
        // Messages whose answer is the procedure's own return value; the others
        // answer through DWLP_MSGRESULT.
        switch (message) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
            return static_cast<INT_PTR>(result);
        default:
            ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
    }

    if (message == WM_COMMAND) {
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            return TRUE;
        case IDCANCEL:
            OnCancel();
            return TRUE;
        default:
            break;
        }
    }
    return FALSE;
}
