#include "VelaThemeButton.h"

#include <algorithm>

#include "VelaThemeModule.h"

namespace {

constexpr int kCorner = 8;  // tiles are 8 x 8; corners keep their size, edges and centre repeat

bool IsDirection(int nDirection) { return nDirection >= 0 && nDirection < VELATHEME_DIRECTIONS; }

// 0 normal, 1 pressed, 2 disabled: a focused button keeps the normal icon.
int IconState(int bPressed, int bDisabled) { return bPressed ? 1 : (bDisabled ? 2 : 0); }

CPoint Centre(const CRect& rect) { return CPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2); }

// Caption text in the state's colour with the window's font (the DC's own when it has none);
// the DC leaves as it came.
void DrawCaption(HWND hWnd, HDC hDC, CRect& rect, const CString& strText, int bPressed, int bDisabled) {
    const COLORREF crText = ::GetSysColor(bPressed ? COLOR_WINDOW : (bDisabled ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
    const COLORREF crOld = ::SetTextColor(hDC, crText);
    auto hFont = reinterpret_cast<HFONT>(::SendMessage(hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ hOldFont = hFont != nullptr ? ::SelectObject(hDC, hFont) : nullptr;
    const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    ::DrawText(hDC, strText, strText.GetLength(), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SetTextColor(hDC, crOld);
    ::SetBkMode(hDC, nOldMode);
    if (hOldFont != nullptr) ::SelectObject(hDC, hOldFont);
}

void DrawIcon(HDC hDC, CPoint topLeft, HICON hIcon) {
    if (hIcon != nullptr) ::DrawIconEx(hDC, topLeft.x, topLeft.y, hIcon, 0, 0, 0, nullptr, DI_NORMAL);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// CVelaThemeButton

BEGIN_MESSAGE_MAP(CVelaThemeButton, CButton)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CVelaThemeButton::CVelaThemeButton() : m_nColor(0) {}

CVelaThemeButton::~CVelaThemeButton() = default;

void CVelaThemeButton::SetColor(int nColor) { m_nColor = nColor; }

void CVelaThemeButton::PreSubclassWindow() {
    CButton::PreSubclassWindow();
    SetUpOwnerDraw();
}

int CVelaThemeButton::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CButton::OnCreate(lpCreateStruct) == -1) {
        return -1;
    }
    SetUpOwnerDraw();
    return 0;
}

void CVelaThemeButton::SetUpOwnerDraw() {
    // The button type becomes owner-drawn; every other style bit stays. (OR-ing 0x0B into a
    // radio or group-box type would give the undefined type 0x0F, which nobody draws.)
    const LONG lStyle = ::GetWindowLong(m_hWnd, GWL_STYLE);
    ::SetWindowLong(m_hWnd, GWL_STYLE, (lStyle & ~LONG(BS_TYPEMASK)) | LONG(BS_OWNERDRAW));
    // Quick repeated taps are separate clicks, not double-clicks. This is the class's style,
    // so it holds for every button of the class in the process.
    ::SetClassLong(m_hWnd, GCL_STYLE, LONG_PTR(::GetClassLong(m_hWnd, GCL_STYLE) & ~ULONG_PTR(CS_DBLCLKS)));
}

BOOL CVelaThemeButton::OnEraseBkgnd(CDC* pDC) {
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

void CVelaThemeButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CRect rect;
    GetClientRect(&rect);
    HDC hDC = lpDrawItemStruct->hDC;
    const UINT nState = lpDrawItemStruct->itemState;
    TRACE1(u"0x%08x\n", nState);

    // A theme outside the table paints as the nearest one.
    const int nColor = std::clamp(m_nColor, 0, VELATHEME_COLORS - 1);
    HBRUSH* phBrush = VelaThemeDLL.m_hThemeBrush[nColor][0];
    int bPressed = 0;
    int bDisabled = 0;
    if (nState & ODS_SELECTED) {
        phBrush = VelaThemeDLL.m_hThemeBrush[nColor][2];
        bPressed = 1;
    } else if (nState & ODS_FOCUS) {
        phBrush = VelaThemeDLL.m_hThemeBrush[nColor][1];
    } else if (nState & (ODS_GRAYED | ODS_DISABLED)) {
        phBrush = VelaThemeDLL.m_hDisabledBrush;
        bDisabled = 1;
    }
    DrawThemeButton(hDC, rect, phBrush);

    // One pixel less at the bottom than at the other sides.
    CRect inside(rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 1);
    DrawInside(hDC, inside, bPressed, bDisabled);
}

void CVelaThemeButton::DrawThemeButton(HDC hDC, CRect& rect, HBRUSH* const phBrush) {
    const int L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
    struct Piece {
        int nIndex;
        RECT rc;
    };
    // Centre and edges first, then the corners, so on a button smaller than two corners the
    // bottom-right one ends on top.
    const Piece pieces[] = {
        {4, {L + kCorner, T + kCorner, R - kCorner, B - kCorner}},
        {3, {L, T + kCorner, L + kCorner, B - kCorner}},
        {5, {R - kCorner, T + kCorner, R, B - kCorner}},
        {1, {L + kCorner, T, R - kCorner, T + kCorner}},
        {7, {L + kCorner, B - kCorner, R - kCorner, B}},
        {0, {L, T, L + kCorner, T + kCorner}},
        {2, {R - kCorner, T, R, T + kCorner}},
        {6, {L, B - kCorner, L + kCorner, B}},
        {8, {R - kCorner, B - kCorner, R, B}},
    };
    POINT ptOldOrg{};
    ::GetBrushOrgEx(hDC, &ptOldOrg);
    for (const Piece& piece : pieces) {
        HBRUSH hBrush = phBrush[piece.nIndex];
        if (hBrush == nullptr) continue;  // a tile that failed to load is not painted
        // Each tile's pattern starts at its own piece's corner.
        ::SetBrushOrgEx(hDC, piece.rc.left, piece.rc.top, nullptr);
        ::FillRect(hDC, &piece.rc, hBrush);
    }
    ::SetBrushOrgEx(hDC, ptOldOrg.x, ptOldOrg.y, nullptr);
}

void CVelaThemeButton::DrawInside(HDC hDC, CRect& rect, int bPressed, int bDisabled) {
    CString strText;
    GetWindowText(strText);
    if (strText.IsEmpty()) return;
    DrawCaption(m_hWnd, hDC, rect, strText, bPressed, bDisabled);
}

// ---------------------------------------------------------------------------------------
// CVelaArrowButton

// Starts pointing up, so a button painted before SetDirection shows a defined arrow.
CVelaArrowButton::CVelaArrowButton() : m_nDirection(0) {}

CVelaArrowButton::~CVelaArrowButton() = default;

void CVelaArrowButton::SetDirection(int nDirection) { m_nDirection = nDirection; }

void CVelaArrowButton::DrawInside(HDC hDC, CRect& rect, int bPressed, int bDisabled) {
    if (!IsDirection(m_nDirection)) return;
    DrawIcon(hDC, Centre(rect) + CPoint(-6, -6), VelaThemeDLL.m_hArrowIcon[m_nDirection][IconState(bPressed, bDisabled)]);
}

// ---------------------------------------------------------------------------------------
// CVelaPageArrowButton

CVelaPageArrowButton::CVelaPageArrowButton() = default;

CVelaPageArrowButton::~CVelaPageArrowButton() = default;

void CVelaPageArrowButton::DrawInside(HDC hDC, CRect& rect, int bPressed, int bDisabled) {
    const bool bVertical = m_nDirection == 0 || m_nDirection == 1;
    const bool bHorizontal = m_nDirection == 2 || m_nDirection == 3;
    CPoint pt = Centre(rect);
    CString strText;
    GetWindowText(strText);
    if (!strText.IsEmpty()) {
        // The arrows move to the left; the caption is centred in what is right of them.
        pt.x = rect.left;
        if (bVertical) {
            rect.left += 10;
            pt.x += 5;
        } else if (bHorizontal) {
            rect.left += 18;
            pt.x += 9;
        }
        DrawCaption(m_hWnd, hDC, rect, strText, bPressed, bDisabled);
        pt.x += 4;
    }
    if (!IsDirection(m_nDirection)) return;
    pt += bVertical ? CPoint(-5, -9) : CPoint(-9, -5);
    DrawIcon(hDC, pt, VelaThemeDLL.m_hPageArrowIcon[m_nDirection][IconState(bPressed, bDisabled)]);
}
