// CRect's set operations, with the platform's rules for empty rectangles.
#include <algorithm>

#include "atltypes.h"

namespace {

bool Empty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

}  // namespace

void CRect::CopyRect(LPCRECT lpSrcRect) noexcept {
    if (lpSrcRect == nullptr) return;
    left = lpSrcRect->left;
    top = lpSrcRect->top;
    right = lpSrcRect->right;
    bottom = lpSrcRect->bottom;
}

BOOL CRect::EqualRect(LPCRECT lpRect) const noexcept {
    if (lpRect == nullptr) return FALSE;
    return left == lpRect->left && top == lpRect->top && right == lpRect->right && bottom == lpRect->bottom;
}

void CRect::InflateRect(LPCRECT lpRect) noexcept {
    if (lpRect != nullptr) InflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

void CRect::DeflateRect(LPCRECT lpRect) noexcept {
    if (lpRect != nullptr) DeflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

void CRect::NormalizeRect() noexcept {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
}

// The operands are copied first: either may be this rectangle itself.
BOOL CRect::IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept {
    if (lpRect1 == nullptr || lpRect2 == nullptr) {
        SetRectEmpty();
        return FALSE;
    }
    const RECT a = *lpRect1;
    const RECT b = *lpRect2;
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (Empty(a) || Empty(b) || Empty(r)) {
        SetRectEmpty();
        return FALSE;
    }
    CopyRect(&r);
    return TRUE;
}

BOOL CRect::UnionRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept {
    const RECT empty{0, 0, 0, 0};
    const RECT a = lpRect1 != nullptr ? *lpRect1 : empty;
    const RECT b = lpRect2 != nullptr ? *lpRect2 : empty;
    if (Empty(a) && Empty(b)) {
        SetRectEmpty();
        return FALSE;
    }
    if (Empty(a)) {
        CopyRect(&b);
    } else if (Empty(b)) {
        CopyRect(&a);
    } else {
        SetRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom));
    }
    return TRUE;
}

// The result is the first rectangle, cut down only when the second covers one whole side of
// it; anything else would not be a rectangle, so the first is kept as it is.
BOOL CRect::SubtractRect(LPCRECT lpRectSrc1, LPCRECT lpRectSrc2) noexcept {
    if (lpRectSrc1 == nullptr || Empty(*lpRectSrc1)) {
        SetRectEmpty();
        return FALSE;
    }
    const RECT a = *lpRectSrc1;
    CRect cut;
    if (lpRectSrc2 == nullptr || !cut.IntersectRect(&a, lpRectSrc2)) {
        CopyRect(&a);
        return TRUE;
    }
    if (cut.EqualRect(&a)) {
        SetRectEmpty();
        return FALSE;
    }
    CopyRect(&a);
    if (cut.top == top && cut.bottom == bottom) {
        if (cut.left == left) {
            left = cut.right;
        } else if (cut.right == right) {
            right = cut.left;
        }
    } else if (cut.left == left && cut.right == right) {
        if (cut.top == top) {
            top = cut.bottom;
        } else if (cut.bottom == bottom) {
            bottom = cut.top;
        }
    }
    return TRUE;
}
