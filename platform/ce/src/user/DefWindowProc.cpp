// The default window procedure, and calling a procedure through a subclassing chain.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "user/UserState.h"

using namespace vela::user;

namespace {

// WINDOWPOS flags of the window manager's own (see SetWindowPos).
constexpr UINT kNoClientSize = 0x0800;
constexpr UINT kNoClientMove = 0x1000;

LRESULT ControlColor(HDC dc, bool editLike) {
  const int background = editLike ? COLOR_WINDOW : COLOR_BTNFACE;
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(background));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

}  // namespace

LRESULT CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (lpPrevWndFunc == nullptr) {
    return 0;
  }
  return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}

LRESULT DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (BeginPaint(hWnd, &ps) != nullptr) {
        EndPaint(hWnd, &ps);
      }
      return 0;
    }
    case WM_ERASEBKGND: {
      HBRUSH brush = reinterpret_cast<HBRUSH>(GetClassLongW(hWnd, GCL_HBRBACKGROUND));
      if (brush == nullptr) {
        return 0;
      }
      RECT client;
      GetClientRect(hWnd, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
      return 1;
    }
    case WM_SETTEXT: {
      Guard g(Lock());
      Window* w = FindOrFail(hWnd);
      if (w == nullptr) {
        return FALSE;
      }
      const auto* text = reinterpret_cast<LPCWSTR>(lParam);
      w->text = text != nullptr ? text : u"";
      if ((w->style & WS_CAPTION) == WS_CAPTION && IsReallyVisible(w)) {
        w->framePending = true;
        if (w->queue) {
          Wake(*w->queue);
        }
      }
      return TRUE;
    }
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<LPWSTR>(lParam);
      if (wParam == 0 || buffer == nullptr) {
        return 0;
      }
      Guard g(Lock());
      Window* w = FindOrFail(hWnd);
      if (w == nullptr) {
        buffer[0] = 0;
        return 0;
      }
      const std::size_t n = std::min<std::size_t>(w->text.size(), wParam - 1);
      std::memcpy(buffer, w->text.data(), n * sizeof(WCHAR));
      buffer[n] = 0;
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: {
      Guard g(Lock());
      Window* w = FindOrFail(hWnd);
      return w != nullptr ? static_cast<LRESULT>(w->text.size()) : 0;
    }
    case WM_CLOSE:
      DestroyWindow(hWnd);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        SendMessageW(hWnd, WM_CLOSE, 0, 0);
      }
      return 0;
    case WM_WINDOWPOSCHANGED: {
      const auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (wp == nullptr) {
        return 0;
      }
      RECT client{};
      RECT window{};
      {
        Guard g(Lock());
        Window* w = Find(hWnd);
        if (w == nullptr) {
          return 0;
        }
        client = ClientRectInWindow(w);
        window = w->rect;
      }
      if (!(wp->flags & kNoClientMove)) {
        SendMessageW(hWnd, WM_MOVE, 0, MAKELPARAM(window.left + client.left, window.top + client.top));
      }
      if (!(wp->flags & kNoClientSize)) {
        SendMessageW(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right - client.left, client.bottom - client.top));
      }
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        SetFocus(hWnd);
      }
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == hWnd) {
        ReleaseCapture();
      }
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
      return ControlColor(reinterpret_cast<HDC>(wParam), false);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return ControlColor(reinterpret_cast<HDC>(wParam), true);
    default:
      // WM_SETFONT keeps nothing and WM_GETFONT has none: the platform's default font.
      return 0;
  }
}
