#include "ColorSwatch.h"

IMPLEMENT_DYNAMIC(CColorSwatch, CStatic)

BEGIN_MESSAGE_MAP(CColorSwatch, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CColorSwatch::SetColor(COLORREF color, LPCTSTR name) {
    m_color = color;
    m_name = name;
    Invalidate(FALSE);
}

void CColorSwatch::OnPaint() {
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    dc.FillSolidRect(&rect, m_color);
    dc.Draw3dRect(&rect, RGB(0x40, 0x40, 0x40), RGB(0xE0, 0xE0, 0xE0));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0xFF, 0xFF, 0xFF));
    dc.DrawText(m_name, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
