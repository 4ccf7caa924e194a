// CVelaNotifyBase: sizing in both creation paths, the icon paint and the tap.
#include "VelaNotifyBase.h"

#include "VelaNotifyModule.h"

BEGIN_MESSAGE_MAP(CVelaNotifyBase, CStatic)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CVelaNotifyBase::CVelaNotifyBase()
    : m_nIconSize(IconSize16), m_nIconID(0), m_crBkColor(GetSysColor(COLOR_BTNFACE)) {}

CVelaNotifyBase::~CVelaNotifyBase() = default;

void CVelaNotifyBase::SetIconSize(IconSize nIconSize) { m_nIconSize = nIconSize; }

void CVelaNotifyBase::SetBkColor(COLORREF crBkColor) { m_crBkColor = crBkColor; }

int CVelaNotifyBase::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CStatic::OnCreate(lpCreateStruct) == -1) {
        return -1;
    }
    ModifyStyle(0, SS_NOTIFY);  // taps arrive as STN_CLICKED
    SetWindowSize();
    return 0;
}

void CVelaNotifyBase::PreSubclassWindow() {
    ModifyStyle(0, SS_NOTIFY);
    CStatic::PreSubclassWindow();
    SetWindowSize();
}

void CVelaNotifyBase::SetWindowSize() {
    if (m_nIconSize == IconSizeWindow) {
        return;
    }
    const int side = m_nIconSize == IconSize16 ? 16 : 32;
    SetWindowPos(nullptr, 0, 0, side, side, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CVelaNotifyBase::OnEraseBkgnd(CDC*) {
    return TRUE;  // the paint fills the whole client area
}

void CVelaNotifyBase::OnPaint() {
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    DrawCustomIcon(&dc, rect);
}

void CVelaNotifyBase::DrawCustomIcon(CDC* pDC, CRect& rect) {
    pDC->FillSolidRect(&rect, m_crBkColor);
    const int side = m_nIconSize == IconSize16 ? 16 : 32;
    const UINT id = m_nIconID.load() & 0xFFFF;
    const HICON icon = static_cast<HICON>(
        LoadImage(VelaNotifyModule(), MAKEINTRESOURCE(id), IMAGE_ICON, side, side, LR_DEFAULTCOLOR));
    if (icon == nullptr) {
        return;  // only the background then
    }
    DrawIconEx(pDC->GetSafeHdc(), 0, 0, icon, side, side, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
}

void CVelaNotifyBase::OnClicked() { ShowCplProperty(); }

void CVelaNotifyBase::ShowCplProperty() {}

void CVelaNotifyBase::ChangeIcon(UINT nIconID) {
    if (m_nIconID.exchange(nIconID) == nIconID) {
        return;
    }
    if (::IsWindow(m_hWnd)) {
        Invalidate(TRUE);
    }
}
