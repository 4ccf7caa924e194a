// Position, size, z-order and visibility: SetWindowPos and what builds on it.
#include <windows.h>

#include <algorithm>

#include "user/Focus.h"
#include "user/UserState.h"
#include "user/WindowPlacement.h"

namespace vela::user {

void InsertInZOrder(Window* w, HWND after) {
  auto& list = w->parent->children;
  std::erase(list, w);
  const bool topLevel = IsTopLevel(w);
  if (after == HWND_TOPMOST) {
    w->exStyle |= WS_EX_TOPMOST;
    after = HWND_TOP;
  } else if (after == HWND_NOTOPMOST) {
    w->exStyle &= ~WS_EX_TOPMOST;
    after = HWND_TOP;
  }
  const bool topmost = topLevel && (w->exStyle & WS_EX_TOPMOST);
  // The band a window may live in: topmost windows above all others.
  auto bandBegin = list.begin();
  auto bandEnd = list.end();
  if (topLevel) {
    auto firstNormal = std::find_if(list.begin(), list.end(), [](Window* s) { return !(s->exStyle & WS_EX_TOPMOST); });
    if (topmost) {
      bandEnd = firstNormal;
    } else {
      bandBegin = firstNormal;
    }
  }
  if (after == HWND_TOP) {
    list.insert(bandBegin, w);
  } else if (after == HWND_BOTTOM) {
    list.insert(bandEnd, w);
  } else {
    Window* sibling = Find(after);
    auto it = std::find(bandBegin, bandEnd, sibling);
    list.insert(it == bandEnd ? bandBegin : it + 1, w);
  }
}

}  // namespace vela::user

using namespace vela::user;

namespace {

// WINDOWPOS flags of the platform's own: the client area kept its size / its place
// (DefWindowProc then sends no WM_SIZE / WM_MOVE).
constexpr UINT kNoClientSize = 0x0800;
constexpr UINT kNoClientMove = 0x1000;

}  // namespace



BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
  WINDOWPOS wp{hWnd, hWndInsertAfter, X, Y, cx, cy, uFlags};
  {
    Guard g(Lock());
    Window* w = FindOrFail(hWnd);
    if (w == nullptr) {
      return FALSE;
    }
    if (w == Desktop()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    if (uFlags & SWP_NOMOVE) {
      wp.x = w->rect.left;
      wp.y = w->rect.top;
    }
    if (uFlags & SWP_NOSIZE) {
      wp.cx = w->rect.right - w->rect.left;
      wp.cy = w->rect.bottom - w->rect.top;
    }
    if ((uFlags & SWP_SHOWWINDOW) && (w->style & WS_VISIBLE)) {
      wp.flags &= ~SWP_SHOWWINDOW;
    }
    if ((uFlags & SWP_HIDEWINDOW) && !(w->style & WS_VISIBLE)) {
      wp.flags &= ~SWP_HIDEWINDOW;
    }
  }
  if (!(uFlags & SWP_NOSENDCHANGING)) {
    SendMessageW(hWnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
  }

  bool activate = false;
  bool hidden = false;
  {
    Guard g(Lock());
    Window* w = Find(hWnd);
    if (w == nullptr) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    const RECT oldRect = w->rect;
    const RECT oldClient = ClientRectInWindow(w);
    const bool wasVisible = IsReallyVisible(w);
    const vela::gdi::Region oldArea = VisibleRegion(w, false, false);

    RECT newRect = oldRect;
    if (!(wp.flags & SWP_NOMOVE)) {
      newRect.left = wp.x;
      newRect.top = wp.y;
    }
    const LONG width = (wp.flags & SWP_NOSIZE) ? oldRect.right - oldRect.left : std::max(wp.cx, 0);
    const LONG height = (wp.flags & SWP_NOSIZE) ? oldRect.bottom - oldRect.top : std::max(wp.cy, 0);
    newRect.right = newRect.left + width;
    newRect.bottom = newRect.top + height;
    w->rect = newRect;

    bool restacked = false;
    if (!(wp.flags & SWP_NOZORDER)) {
      auto& list = w->parent->children;
      const auto before = std::find(list.begin(), list.end(), w) - list.begin();
      InsertInZOrder(w, wp.hwndInsertAfter);
      restacked = (std::find(list.begin(), list.end(), w) - list.begin()) != before;
    }
    if (wp.flags & SWP_SHOWWINDOW) {
      w->style |= WS_VISIBLE;
    }
    if (wp.flags & SWP_HIDEWINDOW) {
      w->style &= ~WS_VISIBLE;
    }
    const bool nowVisible = IsReallyVisible(w);
    const RECT newClient = ClientRectInWindow(w);
    const bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
    const bool sized = (newRect.right - newRect.left) != (oldRect.right - oldRect.left) ||
                       (newRect.bottom - newRect.top) != (oldRect.bottom - oldRect.top);
    if ((newClient.right - newClient.left) == (oldClient.right - oldClient.left) &&
        (newClient.bottom - newClient.top) == (oldClient.bottom - oldClient.top)) {
      wp.flags |= kNoClientSize;
    }
    if (!moved && newClient.left == oldClient.left && newClient.top == oldClient.top) {
      wp.flags |= kNoClientMove;
    }

    const vela::gdi::Region newArea = VisibleRegion(w, false, false);
    if (!(wp.flags & SWP_NOREDRAW)) {
      vela::gdi::Region uncovered = oldArea;
      uncovered.Subtract(newArea);
      ExposeBelow(w, uncovered);
      if (nowVisible) {
        if (moved || sized || !wasVisible) {
          InvalidateScreenRegion(w, newArea, true);
        } else if (restacked) {
          vela::gdi::Region gained = newArea;
          gained.Subtract(oldArea);
          InvalidateScreenRegion(w, gained, true);
        }
      }
    }
    activate = !(wp.flags & SWP_NOACTIVATE) && IsTopLevel(w) && nowVisible &&
               !(w->exStyle & WS_EX_NOACTIVATE) && !(w->style & WS_CHILD) && w->queue == CurrentQueue();
    hidden = wasVisible && !nowVisible;
  }
  if (activate) {
    SetActiveWindow(hWnd);
  }
  if (hidden) {
    HandleHiddenWindow(hWnd);
  }
  SendMessageW(hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  PaintDesktop();
  return TRUE;
}

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
  return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight,
                      SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0u : static_cast<UINT>(SWP_NOREDRAW)));
}

BOOL BringWindowToTop(HWND hWnd) { return SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
  bool wasVisible;
  bool child;
  {
    Guard g(Lock());
    Window* w = FindOrFail(hWnd);
    if (w == nullptr) {
      return FALSE;
    }
    wasVisible = (w->style & WS_VISIBLE) != 0;
    child = (w->style & WS_CHILD) != 0;
  }
  UINT flags = SWP_NOSIZE | SWP_NOMOVE;
  bool show = true;
  switch (nCmdShow) {
    case SW_HIDE:
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      // The platform has no minimized state to show; a minimized window is out of sight.
      show = false;
      flags |= SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOACTIVATE;
      break;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
      flags |= SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER;
      break;
    default:
      flags |= SWP_SHOWWINDOW;
      if (child) {
        flags |= SWP_NOACTIVATE | SWP_NOZORDER;
      }
      break;
  }
  if (show == wasVisible) {
    if (show && !(flags & SWP_NOACTIVATE)) {
      SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    }
    return wasVisible;
  }
  SendMessageW(hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
  SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, flags);
  return wasVisible;
}

BOOL IsWindowVisible(HWND hWnd) {
  Guard g(Lock());
  Window* w = Find(hWnd);
  return w != nullptr && IsReallyVisible(w);
}

// ---- Coordinates -----------------------------------------------------------------------------

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
  Guard g(Lock());
  Window* w = FindOrFail(hWnd);
  if (w == nullptr) {
    return FALSE;
  }
  if (lpRect == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  RECT c = ClientRectInWindow(w);
  *lpRect = {0, 0, c.right - c.left, c.bottom - c.top};
  return TRUE;
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
  Guard g(Lock());
  Window* w = FindOrFail(hWnd);
  if (w == nullptr) {
    return FALSE;
  }
  if (lpRect == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *lpRect = WindowRectOnScreen(w);
  return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
  Guard g(Lock());
  Window* w = FindOrFail(hWnd);
  if (w == nullptr || lpPoint == nullptr) {
    return FALSE;
  }
  POINT o = ClientOriginOnScreen(w);
  lpPoint->x += o.x;
  lpPoint->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
  Guard g(Lock());
  Window* w = FindOrFail(hWnd);
  if (w == nullptr || lpPoint == nullptr) {
    return FALSE;
  }
  POINT o = ClientOriginOnScreen(w);
  lpPoint->x -= o.x;
  lpPoint->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints) {
  Guard g(Lock());
  POINT from{0, 0};
  POINT to{0, 0};
  if (hWndFrom != nullptr) {
    Window* w = FindOrFail(hWndFrom);
    if (w == nullptr) {
      return 0;
    }
    from = ClientOriginOnScreen(w);
  }
  if (hWndTo != nullptr) {
    Window* w = FindOrFail(hWndTo);
    if (w == nullptr) {
      return 0;
    }
    to = ClientOriginOnScreen(w);
  }
  const LONG dx = from.x - to.x;
  const LONG dy = from.y - to.y;
  for (UINT i = 0; i < cPoints && lpPoints != nullptr; ++i) {
    lpPoints[i].x += dx;
    lpPoints[i].y += dy;
  }
  SetLastError(ERROR_SUCCESS);  // a zero result is then told apart from a failure
  return static_cast<int>(static_cast<WORD>(dx) | (static_cast<DWORD>(static_cast<WORD>(dy)) << 16));
}

namespace {

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// The deepest visible window at a screen point; disabled children leave the point to their parent.
Window* HitTest(Window* w, POINT screen) {
  for (Window* child : w->children) {
    if (!(child->style & WS_VISIBLE) || !Contains(WindowRectOnScreen(child), screen)) {
      continue;
    }
    if (child->style & WS_DISABLED) {
      // A disabled top-level window still takes the point (its input is just not delivered).
      return IsTopLevel(child) ? child : w;
    }
    POINT origin = ClientOriginOnScreen(child);
    RECT c = ClientRectInWindow(child);
    RECT client{origin.x, origin.y, origin.x + (c.right - c.left), origin.y + (c.bottom - c.top)};
    if (!Contains(client, screen)) {
      return child;
    }
    return HitTest(child, screen);
  }
  return w;
}

}  // namespace

namespace vela::user {

Window* WindowAtScreenPoint(POINT screen) {
  Window* w = HitTest(Desktop(), screen);
  return w;
}

}  // namespace vela::user

HWND WindowFromPoint(POINT Point) {
  Guard g(Lock());
  Window* w = WindowAtScreenPoint(Point);
  return w != nullptr ? w->handle : nullptr;
}

HWND ChildWindowFromPoint(HWND hWndParent, POINT Point) {
  Guard g(Lock());
  Window* parent = FindOrFail(hWndParent);
  if (parent == nullptr) {
    return nullptr;
  }
  RECT c = ClientRectInWindow(parent);
  RECT client{0, 0, c.right - c.left, c.bottom - c.top};
  if (!Contains(client, Point)) {
    return nullptr;
  }
  // Hidden and disabled children count too.
  for (Window* child : parent->children) {
    if (Contains(child->rect, Point)) {
      return child->handle;
    }
  }
  return hWndParent;
}

BOOL AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle) {
  if (lpRect == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const LONG border = (dwStyle & WS_BORDER) ? 1 : 0;
  const LONG caption = ((dwStyle & WS_CAPTION) == WS_CAPTION) ? GetSystemMetrics(SM_CYCAPTION) : 0;
  lpRect->left -= border;
  lpRect->right += border;
  lpRect->top -= border + caption;
  lpRect->bottom += border;
  return TRUE;
}

// ---- The window tree -----------------------------------------------------------------------

HWND GetDesktopWindow() {
  Guard g(Lock());
  return Desktop()->handle;
}

HWND GetParent(HWND hWnd) {
  Guard g(Lock());
  Window* w = FindOrFail(hWnd);
  if (w == nullptr) {
    return nullptr;
  }
  if (w->style & WS_CHILD) {
    return w->parent != nullptr ? w->parent->handle : nullptr;
  }
  if ((w->style & WS_POPUP) && w->owner != nullptr) {
    return w->owner->handle;
  }
  return nullptr;
}

HWND SetParent(HWND hWndChild, HWND hWndNewParent) {
  HWND old;
  {
    Guard g(Lock());
    Window* w = FindOrFail(hWndChild);
    if (w == nullptr) {
      return nullptr;
    }
    Window* parent = hWndNewParent != nullptr ? FindOrFail(hWndNewParent) : Desktop();
    if (parent == nullptr || w == Desktop()) {
      return nullptr;
    }
    for (Window* p = parent; p != nullptr; p = p->parent) {
      if (p == w) {
        SetLastError(ERROR_INVALID_PARAMETER);  // would make a window its own ancestor
        return nullptr;
      }
    }
    old = w->parent->handle;
    ExposeBelow(w, VisibleRegion(w, false, false));
    std::erase(w->parent->children, w);
    w->parent = parent;
    InsertInZOrder(w, HWND_TOP);
    InvalidateScreenRegion(w, VisibleRegion(w, false, false), true);
  }
  PaintDesktop();
  return old;
}

BOOL IsChild(HWND hWndParent, HWND hWnd) {
  Guard g(Lock());
  Window* parent = Find(hWndParent);
  Window* w = Find(hWnd);
  if (parent == nullptr || w == nullptr) {
    return FALSE;
  }
  for (Window* p = w; (p->style & WS_CHILD) && p->parent != nullptr; p = p->parent) {
    if (p->parent == parent) {
      return TRUE;
    }
  }
  return FALSE;
}

HWND GetWindow(HWND hWnd, UINT uCmd) {
  Guard g(Lock());
  Window* w = FindOrFail(hWnd);
  if (w == nullptr) {
    return nullptr;
  }
  auto siblingList = [&]() -> const std::vector<Window*>* { return w->parent ? &w->parent->children : nullptr; };
  switch (uCmd) {
    case GW_CHILD:
      return w->children.empty() ? nullptr : w->children.front()->handle;
    case GW_OWNER:
      return w->owner != nullptr ? w->owner->handle : nullptr;
    case GW_HWNDFIRST:
    case GW_HWNDLAST:
    case GW_HWNDNEXT:
    case GW_HWNDPREV: {
      const auto* list = siblingList();
      if (list == nullptr) {
        return nullptr;
      }
      if (uCmd == GW_HWNDFIRST) {
        return list->front()->handle;
      }
      if (uCmd == GW_HWNDLAST) {
        return list->back()->handle;
      }
      auto it = std::find(list->begin(), list->end(), w);
      if (uCmd == GW_HWNDNEXT) {
        return (it + 1) != list->end() ? (*(it + 1))->handle : nullptr;
      }
      return it != list->begin() ? (*(it - 1))->handle : nullptr;
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

HWND GetTopWindow(HWND hWnd) {
  Guard g(Lock());
  Window* w = hWnd != nullptr ? FindOrFail(hWnd) : Desktop();
  if (w == nullptr || w->children.empty()) {
    return nullptr;
  }
  return w->children.front()->handle;
}

namespace {

void CollectDescendants(Window* w, std::vector<HWND>& out) {
  for (Window* child : w->children) {
    out.push_back(child->handle);
    CollectDescendants(child, out);
  }
}

}  // namespace

BOOL EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam) {
  std::vector<HWND> list;
  {
    Guard g(Lock());
    Window* parent = hWndParent != nullptr ? FindOrFail(hWndParent) : Desktop();
    if (parent == nullptr || lpEnumFunc == nullptr) {
      return FALSE;
    }
    CollectDescendants(parent, list);
  }
  // Windows destroyed by an earlier callback are skipped.
  for (HWND h : list) {
    if (IsWindow(h) && !lpEnumFunc(h, lParam)) {
      return FALSE;
    }
  }
  return TRUE;
}

BOOL EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam) {
  std::vector<HWND> list;
  {
    Guard g(Lock());
    if (lpEnumFunc == nullptr) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    for (Window* w : Desktop()->children) {
      list.push_back(w->handle);
    }
  }
  for (HWND h : list) {
    if (IsWindow(h) && !lpEnumFunc(h, lParam)) {
      return FALSE;
    }
  }
  return TRUE;
}

HWND FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName) {
  Guard g(Lock());
  for (Window* w : Desktop()->children) {
    if (lpClassName != nullptr) {
      if (IS_INTRESOURCE(lpClassName) ? w->cls->atom != static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(lpClassName))
                                      : _wcsicmp(w->cls->name.c_str(), lpClassName) != 0) {
        continue;
      }
    }
    if (lpWindowName != nullptr && w->text != lpWindowName) {
      continue;
    }
    return w->handle;
  }
  SetLastError(ERROR_FILE_NOT_FOUND);
  return nullptr;
}

DWORD GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId) {
  Guard g(Lock());
  Window* w = FindOrFail(hWnd);
  if (w == nullptr) {
    return 0;
  }
  if (lpdwProcessId != nullptr) {
    *lpdwProcessId = GetCurrentProcessId();
  }
  return w->threadId;
}

int GetDlgCtrlID(HWND hWnd) {
  Guard g(Lock());
  Window* w = FindOrFail(hWnd);
  if (w == nullptr) {
    return 0;
  }
  return (w->style & WS_CHILD) ? static_cast<int>(w->id) : 0;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
  Guard g(Lock());
  Window* w = FindOrFail(hDlg);
  if (w == nullptr) {
    return nullptr;
  }
  for (Window* child : w->children) {
    if (static_cast<int>(child->id) == nIDDlgItem) {
      return child->handle;
    }
  }
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}
