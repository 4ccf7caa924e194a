// The STATIC class: text (left, centred, right, without word wrap), icons and bitmaps, the
// filled and framed rectangles, and STN_CLICKED for SS_NOTIFY.
#include "controls/ControlProcs.h"
#include "controls/ControlState.h"
#include "controls/ControlSupport.h"
#include "windlg.h"

namespace vela::controls {
namespace {

struct StaticState {
  HFONT font = nullptr;
  HICON icon = nullptr;
  HBITMAP bitmap = nullptr;
};

ControlStates<StaticState>& States() {
  static ControlStates<StaticState> states;
  return states;
}

DWORD StaticType(HWND hwnd) { return WindowStyle(hwnd) & SS_TYPEMASK; }

void PaintText(HWND hwnd, HDC hdc, const RECT& rect, const StaticState& state, DWORD style) {
  HBRUSH brush = ControlColorBrush(hwnd, hdc, WM_CTLCOLORSTATIC);
  FillRect(hdc, &rect, brush);
  std::u16string text = WindowText(hwnd);
  if (text.empty()) return;
  UINT format = DT_EXPANDTABS;
  switch (style & SS_TYPEMASK) {
    case SS_CENTER: format |= DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: format |= DT_RIGHT | DT_WORDBREAK; break;
    case SS_LEFTNOWORDWRAP:
    case SS_SIMPLE: format |= DT_LEFT | DT_SINGLELINE; break;
    default: format |= DT_LEFT | DT_WORDBREAK; break;
  }
  if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  // A single line that is centred vertically, as the platform does with SS_CENTERIMAGE text.
  if (style & SS_CENTERIMAGE) format = (format & ~static_cast<UINT>(DT_WORDBREAK)) | DT_SINGLELINE | DT_VCENTER;
  HGDIOBJ oldFont = SelectObject(hdc, FontOrSystem(state.font));
  SetBkMode(hdc, TRANSPARENT);
  if (!IsWindowEnabled(hwnd)) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
  RECT textRect = rect;
  DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &textRect, format);
  SelectObject(hdc, oldFont);
}

void PaintIcon(HWND hwnd, HDC hdc, const RECT& rect, const StaticState& state, DWORD style) {
  HBRUSH brush = ControlColorBrush(hwnd, hdc, WM_CTLCOLORSTATIC);
  FillRect(hdc, &rect, brush);
  if (state.icon == nullptr) return;
  SIZE size{};
  if (!GetIconSize(state.icon, &size)) return;
  int x = rect.left;
  int y = rect.top;
  if (style & SS_CENTERIMAGE) {
    x = rect.left + (rect.right - rect.left - size.cx) / 2;
    y = rect.top + (rect.bottom - rect.top - size.cy) / 2;
  }
  DrawIconEx(hdc, x, y, state.icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
}

void PaintBitmap(HWND hwnd, HDC hdc, const RECT& rect, const StaticState& state, DWORD style) {
  HBRUSH brush = ControlColorBrush(hwnd, hdc, WM_CTLCOLORSTATIC);
  FillRect(hdc, &rect, brush);
  if (state.bitmap == nullptr) return;
  BITMAP bm{};
  if (GetObjectW(state.bitmap, sizeof(bm), &bm) == 0) return;
  int x = rect.left;
  int y = rect.top;
  if (style & SS_CENTERIMAGE) {
    x = rect.left + (rect.right - rect.left - bm.bmWidth) / 2;
    y = rect.top + (rect.bottom - rect.top - bm.bmHeight) / 2;
  }
  HDC memory = CreateCompatibleDC(hdc);
  HGDIOBJ old = SelectObject(memory, state.bitmap);
  BitBlt(hdc, x, y, bm.bmWidth, bm.bmHeight, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void Paint(HWND hwnd, HDC hdc) {
  StaticState* state = States().get(hwnd);
  DWORD style = WindowStyle(hwnd);
  RECT rect;
  GetClientRect(hwnd, &rect);
  if (style & SS_SUNKEN) {
    FrameTwoColor(hdc, rect, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    InflateRect(&rect, -1, -1);
  }
  switch (style & SS_TYPEMASK) {
    case SS_ICON: PaintIcon(hwnd, hdc, rect, *state, style); break;
    case SS_BITMAP: PaintBitmap(hwnd, hdc, rect, *state, style); break;
    case SS_BLACKRECT: FillSolid(hdc, rect, COLOR_WINDOWFRAME); break;
    case SS_GRAYRECT: FillSolid(hdc, rect, COLOR_BTNSHADOW); break;
    case SS_WHITERECT: FillSolid(hdc, rect, COLOR_WINDOW); break;
    case SS_BLACKFRAME: FrameTwoColor(hdc, rect, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME); break;
    case SS_GRAYFRAME: FrameTwoColor(hdc, rect, COLOR_BTNSHADOW, COLOR_BTNSHADOW); break;
    case SS_WHITEFRAME: FrameTwoColor(hdc, rect, COLOR_WINDOW, COLOR_WINDOW); break;
    default: PaintText(hwnd, hdc, rect, *state, style); break;
  }
}

// An icon static takes the icon's size, as on the platform, unless it centres the image.
void FitToIcon(HWND hwnd, HICON icon) {
  SIZE size{};
  if (icon == nullptr || (WindowStyle(hwnd) & SS_CENTERIMAGE) || !GetIconSize(icon, &size)) return;
  SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The title of an SS_ICON / SS_BITMAP static names a resource of the creating module.
void LoadImageFromTitle(const CREATESTRUCTW* cs, StaticState* state) {
  DWORD type = static_cast<DWORD>(cs->style) & SS_TYPEMASK;
  if ((type != SS_ICON && type != SS_BITMAP) || cs->lpszName == nullptr) return;
  LPCWSTR name = cs->lpszName;
  // A template's ordinal title arrives as "\xFFFF" followed by the number.
  if (!IS_INTRESOURCE(name) && name[0] == 0xFFFF) name = MAKEINTRESOURCEW(name[1]);
  if (!IS_INTRESOURCE(name) && name[0] == 0) return;
  if (type == SS_ICON)
    state->icon = static_cast<HICON>(LoadImageW(cs->hInstance, name, IMAGE_ICON, 0, 0, 0));
  else
    state->bitmap = static_cast<HBITMAP>(LoadImageW(cs->hInstance, name, IMAGE_BITMAP, 0, 0, 0));
}

}  // namespace

LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      StaticState* state = States().create(hwnd);
      LoadImageFromTitle(reinterpret_cast<const CREATESTRUCTW*>(lParam), state);
      if (StaticType(hwnd) == SS_ICON) FitToIcon(hwnd, state->icon);
      return 0;
    }
    case WM_DESTROY:
      States().destroy(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      PaintWindow(hwnd, Paint);
      return 0;
    case WM_SETTEXT: {
      DWORD type = StaticType(hwnd);
      if (type == SS_ICON || type == SS_BITMAP) return TRUE;
      LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return result;
    }
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_SETFONT:
      KeepFont(hwnd, States().get(hwnd)->font, wParam, lParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(States().get(hwnd)->font);
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (WindowStyle(hwnd) & SS_NOTIFY) NotifyParent(hwnd, message == WM_LBUTTONDOWN ? STN_CLICKED : STN_DBLCLK);
      return 0;
    case STM_GETICON:
      return reinterpret_cast<LRESULT>(States().get(hwnd)->icon);
    case STM_SETICON: {
      StaticState* state = States().get(hwnd);
      HICON old = state->icon;
      state->icon = reinterpret_cast<HICON>(wParam);
      if (StaticType(hwnd) == SS_ICON) FitToIcon(hwnd, state->icon);
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETIMAGE: {
      StaticState* state = States().get(hwnd);
      if (wParam == IMAGE_ICON) return reinterpret_cast<LRESULT>(state->icon);
      if (wParam == IMAGE_BITMAP) return reinterpret_cast<LRESULT>(state->bitmap);
      return 0;
    }
    case STM_SETIMAGE: {
      StaticState* state = States().get(hwnd);
      LRESULT old = 0;
      if (wParam == IMAGE_ICON) {
        old = reinterpret_cast<LRESULT>(state->icon);
        state->icon = reinterpret_cast<HICON>(lParam);
      } else if (wParam == IMAGE_BITMAP) {
        old = reinterpret_cast<LRESULT>(state->bitmap);
        state->bitmap = reinterpret_cast<HBITMAP>(lParam);
      } else {
        return 0;
      }
      InvalidateRect(hwnd, nullptr, TRUE);
      return old;
    }
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace vela::controls
