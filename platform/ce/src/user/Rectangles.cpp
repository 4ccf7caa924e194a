// Rectangle arithmetic. A rectangle with right <= left or bottom <= top is empty.
#include <windows.h>

#include <algorithm>

BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom) {
  if (lprc == nullptr) {
    return FALSE;
  }
  *lprc = {xLeft, yTop, xRight, yBottom};
  return TRUE;
}

BOOL SetRectEmpty(LPRECT lprc) { return SetRect(lprc, 0, 0, 0, 0); }

BOOL CopyRect(LPRECT lprcDst, const RECT* lprcSrc) {
  if (lprcDst == nullptr || lprcSrc == nullptr) {
    return FALSE;
  }
  *lprcDst = *lprcSrc;
  return TRUE;
}

BOOL InflateRect(LPRECT lprc, int dx, int dy) {
  if (lprc == nullptr) {
    return FALSE;
  }
  lprc->left -= dx;
  lprc->right += dx;
  lprc->top -= dy;
  lprc->bottom += dy;
  return TRUE;
}

BOOL OffsetRect(LPRECT lprc, int dx, int dy) {
  if (lprc == nullptr) {
    return FALSE;
  }
  lprc->left += dx;
  lprc->right += dx;
  lprc->top += dy;
  lprc->bottom += dy;
  return TRUE;
}

BOOL IsRectEmpty(const RECT* lprc) {
  return lprc == nullptr || lprc->right <= lprc->left || lprc->bottom <= lprc->top;
}

BOOL EqualRect(const RECT* a, const RECT* b) {
  if (a == nullptr || b == nullptr) {
    return FALSE;
  }
  return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL PtInRect(const RECT* lprc, POINT pt) {
  return lprc != nullptr && pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top && pt.y < lprc->bottom;
}

BOOL IntersectRect(LPRECT lprcDst, const RECT* a, const RECT* b) {
  if (lprcDst == nullptr || a == nullptr || b == nullptr) {
    return FALSE;
  }
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
         std::min(a->bottom, b->bottom)};
  if (IsRectEmpty(&r)) {
    SetRectEmpty(lprcDst);
    return FALSE;
  }
  *lprcDst = r;
  return TRUE;
}

BOOL UnionRect(LPRECT lprcDst, const RECT* a, const RECT* b) {
  if (lprcDst == nullptr || a == nullptr || b == nullptr) {
    return FALSE;
  }
  const bool emptyA = IsRectEmpty(a);
  const bool emptyB = IsRectEmpty(b);
  if (emptyA && emptyB) {
    SetRectEmpty(lprcDst);
    return FALSE;
  }
  if (emptyA) {
    *lprcDst = *b;
  } else if (emptyB) {
    *lprcDst = *a;
  } else {
    *lprcDst = {std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                std::max(a->bottom, b->bottom)};
  }
  return TRUE;
}

// The result is a rectangle only when b covers a whole side of a; otherwise a stays as it is.
BOOL SubtractRect(LPRECT lprcDst, const RECT* a, const RECT* b) {
  if (lprcDst == nullptr || a == nullptr || b == nullptr) {
    return FALSE;
  }
  if (IsRectEmpty(a)) {
    SetRectEmpty(lprcDst);
    return FALSE;
  }
  RECT r = *a;
  RECT overlap;
  if (IntersectRect(&overlap, a, b)) {
    if (overlap.left == r.left && overlap.right == r.right) {
      if (overlap.top == r.top) {
        r.top = overlap.bottom;
      } else if (overlap.bottom == r.bottom) {
        r.bottom = overlap.top;
      }
    } else if (overlap.top == r.top && overlap.bottom == r.bottom) {
      if (overlap.left == r.left) {
        r.left = overlap.right;
      } else if (overlap.right == r.right) {
        r.right = overlap.left;
      }
    }
  }
  if (IsRectEmpty(&r)) {
    SetRectEmpty(lprcDst);
    return FALSE;
  }
  *lprcDst = r;
  return TRUE;
}
