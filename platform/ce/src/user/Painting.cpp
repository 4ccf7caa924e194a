// Update regions, WM_PAINT and the window DCs. Window DCs come from the graphics layer, clipped
// to the part of the window that is visible on the screen; the window manager's lock is never
// held while the graphics layer works.
#include <windows.h>

#include "gdi/GdiObjects.h"
#include "gdi/WindowDc.h"
#include "user/UserState.h"

using vela::gdi::Region;
using namespace vela::user;

namespace {

Region RegionOfHandle(HRGN hrgn) {
  vela::gdi::GdiLock lock(vela::gdi::GdiMutex());
  auto* r = vela::gdi::LookupAs<vela::gdi::RegionObject>(hrgn, OBJ_REGION);
  return r != nullptr ? r->region : Region{};
}

bool StoreInHandle(HRGN hrgn, const Region& region) {
  vela::gdi::GdiLock lock(vela::gdi::GdiMutex());
  auto* r = vela::gdi::LookupAs<vela::gdi::RegionObject>(hrgn, OBJ_REGION);
  if (r == nullptr) {
    return false;
  }
  r->region = region;
  return true;
}

RECT ClientBounds(const Window* w) {
  RECT c = ClientRectInWindow(w);
  return {0, 0, c.right - c.left, c.bottom - c.top};
}

// Adds to a window's own update region (client coordinates), not its children's.
void InvalidateClient(Window* w, const Region& clientRegion, bool erase) {
  if (!IsReallyVisible(w)) {
    return;  // showing it later paints it whole anyway
  }
  Region part = clientRegion;
  part.Intersect(ClientBounds(w));
  if (part.IsEmpty()) {
    return;
  }
  w->update.Union(part);
  w->erasePending = w->erasePending || erase;
  if (w->queue) {
    Wake(*w->queue);
  }
}

// A window's region argument: a rectangle, a region or (both null) the whole client area.
Region ClientArea(const Window* w, const RECT* rect, HRGN hrgn, const Region* fromHandle) {
  if (rect != nullptr) {
    return Region(*rect);
  }
  if (hrgn != nullptr && fromHandle != nullptr) {
    return *fromHandle;
  }
  return Region(ClientBounds(w));
}

void CollectPaintable(Window* w, std::vector<HWND>& out, bool children) {
  out.push_back(w->handle);
  if (children) {
    for (Window* child : w->children) {
      CollectPaintable(child, out, true);
    }
  }
}

// Paints a window of the calling thread now, as UpdateWindow does: frame, then WM_PAINT sent.
void PaintNow(HWND hwnd) {
  bool frame = false;
  bool paint = false;
  unsigned paints = 0;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (w == nullptr || !w->queue || w->queue != CurrentQueue() || !NeedsPaint(w)) {
      return;
    }
    frame = w->framePending;
    w->framePending = false;
    paint = !w->update.IsEmpty() || w->internalPaint;
    paints = w->paintCount;
  }
  if (frame) {
    DrawFrame(hwnd);
  }
  if (paint) {
    SendMessageW(hwnd, WM_PAINT, 0, 0);
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (w != nullptr && w->paintCount == paints) {
      w->update = {};
      w->erasePending = false;
      w->internalPaint = false;
    }
  }
}

void UpdateTree(HWND hwnd, bool children) {
  std::vector<HWND> list;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (w == nullptr) {
      return;
    }
    CollectPaintable(w, list, children);
  }
  for (HWND h : list) {
    PaintNow(h);
  }
}

}  // namespace

namespace vela::user {

void DrawFrame(HWND hwnd) {
  POINT origin;
  Region visible;
  RECT bounds;
  DWORD style;
  std::u16string text;
  bool active;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (w == nullptr || w->parent == nullptr) {
      return;
    }
    origin = WindowOriginOnScreen(w);
    visible = VisibleRegion(w, false, true);
    RECT c = ClientRectInWindow(w);
    OffsetRect(&c, origin.x, origin.y);
    visible.Subtract(c);
    bounds = {0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    style = w->style;
    text = w->text;
    active = w->queue && (w->queue->active == hwnd);
  }
  if (visible.IsEmpty()) {
    return;
  }
  HDC dc = vela::gdi::CreateWindowDc(hwnd, origin, visible);
  if (dc == nullptr) {
    return;
  }
  const LONG border = (style & WS_BORDER) ? 1 : 0;
  if (border != 0) {
    FrameRect(dc, &bounds, GetSysColorBrush(COLOR_WINDOWFRAME));
  }
  if ((style & WS_CAPTION) == WS_CAPTION) {
    RECT caption{border, border, bounds.right - border, border + GetSystemMetrics(SM_CYCAPTION)};
    FillRect(dc, &caption, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    SetBkMode(dc, TRANSPARENT);
    RECT textRect = caption;
    textRect.left += 3;
    DrawTextW(dc, text.c_str(), -1, &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  vela::gdi::ReleaseWindowDc(dc);
}

void PaintDesktop() {
  Region region;
  HWND desktop;
  RECT screen;
  {
    Guard g(Lock());
    Window* d = Desktop();
    if (d->update.IsEmpty()) {
      return;
    }
    region = VisibleRegion(d, true, true);
    region.Intersect(d->update);
    d->update = {};
    d->erasePending = false;
    desktop = d->handle;
    screen = d->rect;
  }
  if (region.IsEmpty()) {
    return;
  }
  HDC dc = vela::gdi::CreateWindowDc(desktop, POINT{0, 0}, region);
  if (dc != nullptr) {
    FillRect(dc, &screen, GetSysColorBrush(COLOR_BACKGROUND));
    vela::gdi::ReleaseWindowDc(dc);
  }
}

}  // namespace vela::user

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
  return RedrawWindow(hWnd, lpRect, nullptr, RDW_INVALIDATE | (bErase ? RDW_ERASE : 0u));
}

BOOL InvalidateRgn(HWND hWnd, HRGN hRgn, BOOL bErase) {
  return RedrawWindow(hWnd, nullptr, hRgn, RDW_INVALIDATE | (bErase ? RDW_ERASE : 0u));
}

BOOL ValidateRect(HWND hWnd, const RECT* lpRect) {
  return RedrawWindow(hWnd, lpRect, nullptr, RDW_VALIDATE | RDW_NOERASE | RDW_NOINTERNALPAINT);
}

BOOL ValidateRgn(HWND hWnd, HRGN hRgn) {
  return RedrawWindow(hWnd, nullptr, hRgn, RDW_VALIDATE | RDW_NOERASE | RDW_NOINTERNALPAINT);
}

BOOL RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags) {
  Region fromHandle;
  if (lprcUpdate == nullptr && hrgnUpdate != nullptr) {
    fromHandle = RegionOfHandle(hrgnUpdate);
  }
  {
    Guard g(Lock());
    Window* w = hWnd != nullptr ? FindOrFail(hWnd) : Desktop();
    if (w == nullptr) {
      return FALSE;
    }
    const Region area = ClientArea(w, lprcUpdate, hrgnUpdate, &fromHandle);
    if (hWnd == nullptr && (flags & RDW_INVALIDATE)) {
      // Everything on the screen is painted again.
      InvalidateScreenRegion(w, Region(w->rect), true);
    } else if (flags & RDW_INVALIDATE) {
      if (flags & RDW_ALLCHILDREN) {
        Region screenArea = area;
        const POINT origin = ClientOriginOnScreen(w);
        screenArea.Offset(origin.x, origin.y);
        screenArea.Intersect(VisibleRegion(w, true, false));
        InvalidateScreenRegion(w, screenArea, (flags & RDW_ERASE) != 0);
      } else {
        InvalidateClient(w, area, (flags & RDW_ERASE) != 0);
      }
      if (flags & RDW_FRAME) {
        w->framePending = w->parent != nullptr;
      }
      if ((flags & RDW_INTERNALPAINT) && IsReallyVisible(w)) {
        w->internalPaint = true;
        if (w->queue) {
          Wake(*w->queue);
        }
      }
    }
    if (flags & RDW_VALIDATE) {
      if (lprcUpdate == nullptr && hrgnUpdate == nullptr) {
        w->update = {};
      } else {
        w->update.Subtract(area);
      }
      if (flags & RDW_NOERASE) {
        w->erasePending = false;
      }
      if (flags & RDW_NOINTERNALPAINT) {
        w->internalPaint = false;
      }
      if (w->update.IsEmpty()) {
        w->erasePending = false;
      }
    }
  }
  if (hWnd == nullptr) {
    PaintDesktop();
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
    UpdateTree(hWnd != nullptr ? hWnd : GetDesktopWindow(), (flags & RDW_ALLCHILDREN) != 0 || hWnd == nullptr);
  }
  return TRUE;
}

BOOL UpdateWindow(HWND hWnd) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  UpdateTree(hWnd, true);
  return TRUE;
}

BOOL GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase) {
  bool erase = false;
  bool nonEmpty;
  {
    Guard g(Lock());
    Window* w = FindOrFail(hWnd);
    if (w == nullptr) {
      return FALSE;
    }
    nonEmpty = !w->update.IsEmpty();
    if (lpRect != nullptr) {
      *lpRect = w->update.Bounds();
    }
    erase = bErase && nonEmpty && w->erasePending;
  }
  if (erase) {
    HDC dc = GetDC(hWnd);
    {
      Guard g(Lock());
      if (Window* w = Find(hWnd)) {
        w->erasePending = false;
      }
    }
    SendMessageW(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(hWnd, dc);
  }
  return nonEmpty;
}

int GetUpdateRgn(HWND hWnd, HRGN hRgn, BOOL bErase) {
  Region update;
  {
    Guard g(Lock());
    Window* w = FindOrFail(hWnd);
    if (w == nullptr) {
      return ERROR;
    }
    update = w->update;
  }
  if (!StoreInHandle(hRgn, update)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return ERROR;
  }
  if (bErase) {
    GetUpdateRect(hWnd, nullptr, TRUE);
  }
  return update.Kind();
}

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
  bool frame;
  {
    Guard g(Lock());
    Window* w = FindOrFail(hWnd);
    if (w == nullptr) {
      return nullptr;
    }
    if (lpPaint == nullptr) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    frame = w->framePending;
    w->framePending = false;
  }
  if (frame) {
    DrawFrame(hWnd);
  }
  Region update;
  Region visible;
  POINT origin;
  bool erase;
  RECT client;
  {
    Guard g(Lock());
    Window* w = FindOrFail(hWnd);
    if (w == nullptr) {
      return nullptr;
    }
    update = w->update;
    w->update = {};
    erase = w->erasePending;
    w->erasePending = false;
    w->internalPaint = false;
    ++w->paintCount;
    origin = ClientOriginOnScreen(w);
    visible = VisibleRegion(w, true, true);
    client = ClientBounds(w);
  }
  Region onScreen = update;
  onScreen.Offset(origin.x, origin.y);
  visible.Intersect(onScreen);
  HDC dc = vela::gdi::CreateWindowDc(hWnd, origin, visible);
  *lpPaint = {};
  lpPaint->hdc = dc;
  RECT paint = update.Bounds();
  IntersectRect(&lpPaint->rcPaint, &paint, &client);
  lpPaint->fErase = FALSE;
  if (erase && dc != nullptr) {
    // The procedure erases in WM_ERASEBKGND; if it does not, the painter must (fErase).
    lpPaint->fErase = SendMessageW(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
  }
  return dc;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
  if (lpPaint == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  (void)hWnd;
  if (lpPaint->hdc != nullptr) {
    vela::gdi::ReleaseWindowDc(lpPaint->hdc);
  }
  return TRUE;
}

namespace {

// A DC on the screen for the client area or the whole window; no window means the screen DC,
// which draws over everything.
HDC WindowDcFor(HWND hWnd, bool client) {
  POINT origin;
  Region visible;
  HWND owner;
  {
    Guard g(Lock());
    Window* w = hWnd != nullptr ? FindOrFail(hWnd) : Desktop();
    if (w == nullptr) {
      return nullptr;
    }
    origin = client ? ClientOriginOnScreen(w) : WindowOriginOnScreen(w);
    visible = hWnd != nullptr ? VisibleRegion(w, client, true) : Region(w->rect);
    owner = w->handle;
  }
  return vela::gdi::CreateWindowDc(owner, origin, visible);
}

}  // namespace

HDC GetDC(HWND hWnd) { return WindowDcFor(hWnd, true); }

HDC GetWindowDC(HWND hWnd) { return WindowDcFor(hWnd, false); }

int ReleaseDC(HWND hWnd, HDC hDC) {
  (void)hWnd;
  return vela::gdi::ReleaseWindowDc(hDC) ? 1 : 0;
}
