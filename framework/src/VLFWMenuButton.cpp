#include "VLFWMenuButton.h"

#include "VLFWShared.h"

// ---------------------------------------------------------------------------------------
// Entry button

BEGIN_MESSAGE_MAP(CVLFWMenuButton, CButton)
    ON_WM_CREATE()
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CVLFWMenuButton::CVLFWMenuButton() : m_pMenuItem(nullptr), m_crBkColor(::GetSysColor(COLOR_BTNFACE)) {}

CVLFWMenuButton::~CVLFWMenuButton() = default;

int CVLFWMenuButton::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CButton::OnCreate(lpCreateStruct) == -1) return -1;
    ModifyStyle(0, BS_OWNERDRAW);
    return 0;
}

void CVLFWMenuButton::PreSubclassWindow() {
    CButton::PreSubclassWindow();
    ModifyStyle(0, BS_OWNERDRAW);
}

void CVLFWMenuButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CRect rect;
    GetClientRect(&rect);
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const DWORD state = lpDrawItemStruct->itemState;
    FillBkgnd(pDC, &rect);
    if (m_pMenuItem == nullptr || m_pMenuItem->IsEmpty()) return;
    // Text first, so a long name never covers the frame.
    DrawMenuText(pDC, &rect, state);
    if (!m_pMenuItem->IsComment()) DrawFrame(pDC, &rect, state);
}

void CVLFWMenuButton::FillBkgnd(CDC* pDC, RECT* rect) { pDC->FillSolidRect(rect, m_crBkColor); }

void CVLFWMenuButton::DrawMenuText(CDC* pDC, RECT* rect, DWORD state) {
    if (m_pMenuItem == nullptr) return;
    CRect text(*rect);
    // A pressed entry sinks by a pixel; a label is not pressable and stays put.
    if ((state & ODS_SELECTED) != 0 && !m_pMenuItem->IsComment()) text.OffsetRect(1, 1);
    const COLORREF oldColor = pDC->SetTextColor(::GetSysColor((state & ODS_DISABLED) != 0 ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(m_pMenuItem->GetDispName(), &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SetBkMode(oldMode);
    pDC->SetTextColor(oldColor);
}

void CVLFWMenuButton::DrawFrame(CDC* pDC, RECT* rect, DWORD state) {
    const bool pressed = (state & ODS_SELECTED) != 0;
    CRect frame(*rect);
    pDC->Draw3dRect(&frame, ::GetSysColor(pressed ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW),
                    ::GetSysColor(pressed ? COLOR_3DLIGHT : COLOR_3DDKSHADOW));
    frame.DeflateRect(1, 1);
    pDC->Draw3dRect(&frame, ::GetSysColor(pressed ? COLOR_3DDKSHADOW : COLOR_3DLIGHT),
                    ::GetSysColor(pressed ? COLOR_BTNFACE : COLOR_BTNSHADOW));
}

void CVLFWMenuButton::OnClicked() {
    if (m_pMenuItem == nullptr || m_pMenuItem->IsComment() || m_pMenuItem->IsEmpty()) return;
    ::PostMessageW(::GetParent(m_hWnd), VLFWSelectMenuMessage(), 0, reinterpret_cast<LPARAM>(m_pMenuItem));
}

// ---------------------------------------------------------------------------------------
// Special buttons

BEGIN_MESSAGE_MAP(CVLFWMenuSPButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CVLFWMenuSPButton::CVLFWMenuSPButton() : m_nMessage(0) {}

CVLFWMenuSPButton::~CVLFWMenuSPButton() = default;

void CVLFWMenuSPButton::OnClicked() {
    if (m_nMessage == 0) return;
    ::PostMessageW(::GetParent(m_hWnd), m_nMessage, 0, 0);
}

CVLFWMenuTopButton::CVLFWMenuTopButton() { m_nMessage = VLFWMenuTopMessage(); }

CVLFWMenuTopButton::~CVLFWMenuTopButton() = default;

CVLFWMenuUpButton::CVLFWMenuUpButton() { m_nMessage = VLFWMenuPrevMessage(); }

CVLFWMenuUpButton::~CVLFWMenuUpButton() = default;
