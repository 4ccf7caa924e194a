#include "ColorButton.h"

IMPLEMENT_DYNAMIC(CColorButton, CButton)

namespace {

COLORREF Darker(COLORREF c) { return RGB(GetRValue(c) * 3 / 4, GetGValue(c) * 3 / 4, GetBValue(c) * 3 / 4); }
COLORREF Lighter(COLORREF c) {
    return RGB(GetRValue(c) + (255 - GetRValue(c)) / 2, GetGValue(c) + (255 - GetGValue(c)) / 2,
               GetBValue(c) + (255 - GetBValue(c)) / 2);
}

}  // namespace

void CColorButton::SetFaceColor(COLORREF color) {
    m_face = color;
    if (GetSafeHwnd() != nullptr) Invalidate(FALSE);
}

void CColorButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    CRect rect(lpDrawItemStruct->rcItem);
    const UINT state = lpDrawItemStruct->itemState;
    const bool pressed = (state & ODS_SELECTED) != 0;
    const bool disabled = (state & ODS_DISABLED) != 0;
    const bool focused = (state & ODS_FOCUS) != 0;

    const COLORREF face = disabled ? RGB(0xC0, 0xC0, 0xC0) : (pressed ? Darker(m_face) : m_face);
    pDC->FillSolidRect(&rect, face);
    pDC->Draw3dRect(&rect, RGB(0, 0, 0), RGB(0, 0, 0));
    CRect bevel(rect);
    bevel.DeflateRect(1, 1);
    if (pressed) {
        pDC->Draw3dRect(&bevel, Darker(face), Lighter(face));
    } else {
        pDC->Draw3dRect(&bevel, Lighter(face), Darker(face));
    }

    CString text;
    GetWindowText(text);
    CRect textRect(rect);
    if (pressed) textRect.OffsetRect(1, 1);
    const int luminance = GetRValue(face) * 3 + GetGValue(face) * 6 + GetBValue(face);
    pDC->SetTextColor(disabled ? RGB(0x80, 0x80, 0x80) : (luminance > 1280 ? RGB(0, 0, 0) : RGB(0xFF, 0xFF, 0xFF)));
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(text, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    if (focused && !disabled) {
        CRect focus(rect);
        focus.DeflateRect(4, 4);
        pDC->DrawFocusRect(&focus);
    }
}
