// A button that draws itself: raised when up, sunken and shifted when pressed, grey text when
// disabled, a dotted focus frame when it has the keyboard focus.
#pragma once

#include <afxwin.h>

class CColorButton : public CButton {
    DECLARE_DYNAMIC(CColorButton)
public:
    CColorButton() = default;

    // The face colour; the text takes black or white, whichever reads better on it.
    void SetFaceColor(COLORREF color);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

private:
    COLORREF m_face = RGB(0x40, 0x80, 0xC0);
};
