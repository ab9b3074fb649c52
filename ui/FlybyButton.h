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
    // Called when a screen reader asks for the button: its standard object with
    // the description added.
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);

    static const MessageEntry kMessageTable[];
};
