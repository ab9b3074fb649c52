#include "FlybyButton.h"

#include "framework/Accessible.h"

namespace {
constexpr DWORD kHoverTimeMs = 1;
}

const MessageEntry CFlybyButton::kMessageTable[] = {
    OnMessage<&CFlybyButton::OnMouseMove>(WM_MOUSEMOVE),    // LRESULT (WPARAM, LPARAM)
    OnMessage<&CFlybyButton::OnMouseHover>(WM_MOUSEHOVER),  // LRESULT (WPARAM, LPARAM)
    OnMessage<&CFlybyButton::OnMouseLeave>(WM_MOUSELEAVE),  // LRESULT (WPARAM, LPARAM)
    OnMessage<&CFlybyButton::OnSetFocus>(WM_SETFOCUS),      // LRESULT (WPARAM, LPARAM)
    OnMessage<&CFlybyButton::OnKillFocus>(WM_KILLFOCUS),    // LRESULT (WPARAM, LPARAM)
    OnMessage<&CFlybyButton::OnGetObject>(WM_GETOBJECT),    // LRESULT (WPARAM, LPARAM)
};

MessageTable CFlybyButton::GetMessageTable() const {
    return kMessageTable;
}

LRESULT CFlybyButton::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    if (!m_bTracking) {
        TRACKMOUSEEVENT request = {};
        request.cbSize = sizeof(request);
        request.dwFlags = TME_HOVER | TME_LEAVE;
        request.hwndTrack = m_hWnd;
        request.dwHoverTime = kHoverTimeMs;
        // A failed request leaves this at FALSE, so the next move asks again.
        m_bTracking = ::TrackMouseEvent(&request);
    }
    return Default(WM_MOUSEMOVE, wParam, lParam);
}

LRESULT CFlybyButton::OnMouseHover(WPARAM, LPARAM) {
    HWND parent = ::GetParent(m_hWnd);
    if (m_strTip.IsEmpty() || parent == nullptr) {
        return 0;
    }
    // Drawn straight onto the parent, outside its paint: anything that repaints
    // the area wipes it until the pointer next comes to a button.
    CClientDC dc(parent);
    DrawTip(dc.GetSafeHdc());
    return 0;
}

void CFlybyButton::DrawTip(HDC dc) const {
    CSelectObject font(dc, m_pTipFont != nullptr ? m_pTipFont->GetSafeHandle() : nullptr);
    ::SetBkMode(dc, TRANSPARENT);
    RECT origin = {m_ptTip.x, m_ptTip.y, 0, 0};
    ::DrawTextW(dc, m_strTip, -1, &origin, DT_NOCLIP);
}

LRESULT CFlybyButton::OnMouseLeave(WPARAM wParam, LPARAM lParam) {
    m_bTracking = FALSE;
    HWND parent = ::GetParent(m_hWnd);
    if (parent != nullptr) {
        ::SendMessageW(parent, WM_DESCRIPTION_ERASE, 0, 0);
    }
    // The button's own procedure clears its hot look on leaving.
    return Default(WM_MOUSELEAVE, wParam, lParam);
}

LRESULT CFlybyButton::OnSetFocus(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(WM_SETFOCUS, wParam, lParam);
    NotifyFocusChange();
    return result;
}

LRESULT CFlybyButton::OnKillFocus(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(WM_KILLFOCUS, wParam, lParam);
    NotifyFocusChange();
    return result;
}

void CFlybyButton::NotifyFocusChange() {
    // Posted, so the parent looks once the focus has settled: no posted message
    // need follow an activation, and on WM_KILLFOCUS the focus has not yet moved.
    HWND parent = ::GetParent(m_hWnd);
    if (parent != nullptr) {
        ::PostMessageW(parent, WM_DESCRIPTION_FOCUS, 0, 0);
    }
}

LRESULT CFlybyButton::OnGetObject(WPARAM wParam, LPARAM lParam) {
    const LRESULT object =
        m_strTip.IsEmpty() ? 0 : AfxLresultFromDescribedObject(m_hWnd, wParam, lParam, m_strTip);
    return object != 0 ? object : Default(WM_GETOBJECT, wParam, lParam);
}
