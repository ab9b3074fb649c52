#pragma once
// A push button that describes itself: while the pointer rests on it, its
// description is drawn on the parent window; when the pointer leaves, it asks
// the parent to paint that area over. Screen readers get the same description.
#include "framework/Button.h"
#include "framework/Gdi.h"
#include "framework/String.h"

// Sent by a button to its parent when the pointer leaves it: repaint the
// description area. wParam and lParam are 0; the answer is 0.
constexpr UINT WM_DESCRIPTION_ERASE = WM_APP + 1;

// Posted by a button to its parent when it gains or loses the keyboard focus,
// to be read once the focus has settled. wParam and lParam are 0.
constexpr UINT WM_DESCRIPTION_FOCUS = WM_APP + 2;

class CFlybyButton : public CButton {
public:
    BOOL m_bTracking = FALSE;       // a tracking request is active
    CString m_strTip;               // the description; may hold line breaks
    POINT m_ptTip = {0, 0};         // its top left corner in the parent's client area
    CFont* m_pTipFont = nullptr;    // owned by the parent

    // Draws the description into dc, a device context of the parent, as a
    // resting pointer has it drawn.
    void DrawTip(HDC dc) const;

protected:
    MessageTable GetMessageTable() const override;

private:
    // Called when the pointer moves over the button: asks to hear when it rests
    // and when it leaves.
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    // Called once the pointer has rested on the button: draws the description.
    LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);
    // Called when the pointer has left: has the description painted over.
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    // Called when the button gains or loses the keyboard focus, by a key, a
    // click or the window's activation: tells the parent.
    LRESULT OnSetFocus(WPARAM wParam, LPARAM lParam);
    LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam);
    // Called when a screen reader asks for the button: its standard object with
    // the description added.
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);

    void NotifyFocusChange();

    static const MessageEntry kMessageTable[];
};
