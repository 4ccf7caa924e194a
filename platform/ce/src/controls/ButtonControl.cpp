// The BUTTON class: push, default push, owner-drawn, check box, radio button and group box.
// Pressing follows the platform: the stylus going down captures and pushes, moving out
// releases the pushed look, lifting inside clicks. State changes draw at once, as the
// platform does, so an owner sees WM_DRAWITEM inside BM_SETSTATE and WM_SETFOCUS.
#include "controls/ControlProcs.h"
#include "controls/ControlState.h"
#include "controls/ControlSupport.h"
#include "windlg.h"

namespace vela::controls {
namespace {

struct ButtonState {
  UINT check = BST_UNCHECKED;
  bool pushed = false;
  bool focused = false;
  bool tracking = false;  // stylus or space went down on the button and is not yet up
  HFONT font = nullptr;
  HANDLE image = nullptr;
};

ControlStates<ButtonState>& States() {
  static ControlStates<ButtonState> states;
  return states;
}

DWORD ButtonType(HWND hwnd) { return WindowStyle(hwnd) & BS_TYPEMASK; }

bool IsPushType(DWORD type) { return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON; }
bool IsCheckType(DWORD type) {
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}
bool IsRadioType(DWORD type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }

void DrawOwner(HWND hwnd, HDC hdc, const ButtonState& state, UINT action) {
  HWND parent = GetParent(hwnd);
  if (parent == nullptr) return;
  ControlColorBrush(hwnd, hdc, WM_CTLCOLORBTN);
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_BUTTON;
  dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
  dis.itemAction = action;
  dis.itemState = (state.focused ? ODS_FOCUS : 0) | (state.pushed ? ODS_SELECTED : 0) |
                  (IsWindowEnabled(hwnd) ? 0 : ODS_DISABLED);
  dis.hwndItem = hwnd;
  dis.hDC = hdc;
  GetClientRect(hwnd, &dis.rcItem);
  SendMessageW(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

void DrawLabel(HWND hwnd, HDC hdc, RECT rect, UINT format, const ButtonState& state) {
  std::u16string text = WindowText(hwnd);
  if (text.empty()) return;
  HGDIOBJ oldFont = SelectObject(hdc, FontOrSystem(state.font));
  SetBkMode(hdc, TRANSPARENT);
  if (!IsWindowEnabled(hwnd)) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
  DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  SelectObject(hdc, oldFont);
}

// BS_ICON / BS_BITMAP buttons show their BM_SETIMAGE picture centred instead of the text.
bool DrawImage(HWND hwnd, HDC hdc, const RECT& rect, const ButtonState& state) {
  DWORD style = WindowStyle(hwnd);
  if (state.image == nullptr || !(style & (BS_ICON | BS_BITMAP))) return false;
  int cx = rect.left + (rect.right - rect.left) / 2;
  int cy = rect.top + (rect.bottom - rect.top) / 2;
  if (style & BS_ICON) {
    SIZE size{};
    auto icon = static_cast<HICON>(state.image);
    if (!GetIconSize(icon, &size)) return false;
    DrawIconEx(hdc, cx - size.cx / 2, cy - size.cy / 2, icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
    return true;
  }
  BITMAP bm{};
  auto bitmap = static_cast<HBITMAP>(state.image);
  if (GetObjectW(bitmap, sizeof(bm), &bm) == 0) return false;
  HDC memory = CreateCompatibleDC(hdc);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(hdc, cx - bm.bmWidth / 2, cy - bm.bmHeight / 2, bm.bmWidth, bm.bmHeight, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  return true;
}

void DrawPush(HWND hwnd, HDC hdc, const ButtonState& state, DWORD type) {
  RECT rect;
  GetClientRect(hwnd, &rect);
  HBRUSH face = ControlColorBrush(hwnd, hdc, WM_CTLCOLORBTN);
  SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
  FillRect(hdc, &rect, face);
  // The default button carries a second black line around the usual frame.
  if (type == BS_DEFPUSHBUTTON) {
    FrameTwoColor(hdc, rect, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
    InflateRect(&rect, -1, -1);
  }
  FrameTwoColor(hdc, rect, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
  InflateRect(&rect, -1, -1);
  if (state.pushed) {
    FrameTwoColor(hdc, rect, COLOR_BTNSHADOW, COLOR_BTNFACE);
  } else {
    FrameTwoColor(hdc, rect, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
  }
  RECT textRect = rect;
  if (state.pushed) OffsetRect(&textRect, 1, 1);
  if (!DrawImage(hwnd, hdc, textRect, state)) DrawLabel(hwnd, hdc, textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE, state);
  if (state.focused) {
    RECT focus = rect;
    InflateRect(&focus, -2, -2);
    DrawFocusRect(hdc, &focus);
  }
}

void DrawCheckOrRadio(HWND hwnd, HDC hdc, const ButtonState& state, DWORD type) {
  RECT rect;
  GetClientRect(hwnd, &rect);
  HBRUSH back = ControlColorBrush(hwnd, hdc, WM_CTLCOLORSTATIC);
  FillRect(hdc, &rect, back);
  const int box = 12;
  int top = rect.top + (rect.bottom - rect.top - box) / 2;
  bool leftText = (WindowStyle(hwnd) & BS_LEFTTEXT) != 0;
  int left = leftText ? rect.right - box : rect.left;
  RECT mark{left, top, left + box, top + box};
  FillSolid(hdc, mark, state.pushed ? COLOR_BTNFACE : COLOR_WINDOW);
  FrameTwoColor(hdc, mark, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
  if (state.check != BST_UNCHECKED) {
    RECT inner = mark;
    InflateRect(&inner, -3, -3);
    int color = state.check == BST_INDETERMINATE ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT;
    if (IsRadioType(type)) InflateRect(&inner, -1, -1);
    FillSolid(hdc, inner, color);
  }
  RECT textRect = rect;
  if (leftText)
    textRect.right = mark.left - 3;
  else
    textRect.left = mark.right + 3;
  DrawLabel(hwnd, hdc, textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE, state);
  if (state.focused) {
    RECT focus = textRect;
    InflateRect(&focus, 1, 0);
    DrawFocusRect(hdc, &focus);
  }
}

void DrawGroup(HWND hwnd, HDC hdc, const ButtonState& state) {
  RECT rect;
  GetClientRect(hwnd, &rect);
  HGDIOBJ oldFont = SelectObject(hdc, FontOrSystem(state.font));
  TEXTMETRICW tm{};
  GetTextMetricsW(hdc, &tm);
  SelectObject(hdc, oldFont);
  // The box sits below the controls it frames; its inside shows the parent's background.
  HBRUSH back = ControlColorBrush(hwnd, hdc, WM_CTLCOLORSTATIC);
  FillRect(hdc, &rect, back);
  RECT frame = rect;
  frame.top += tm.tmHeight / 2;
  FrameTwoColor(hdc, frame, COLOR_BTNSHADOW, COLOR_BTNSHADOW);
  std::u16string text = WindowText(hwnd);
  if (text.empty()) return;
  oldFont = SelectObject(hdc, FontOrSystem(state.font));
  SIZE extent{};
  GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(hdc, oldFont);
  RECT label{rect.left + 6, rect.top, rect.left + 10 + extent.cx, rect.top + tm.tmHeight};
  FillRect(hdc, &label, back);
  label.left += 2;
  DrawLabel(hwnd, hdc, label, DT_LEFT | DT_TOP | DT_SINGLELINE, state);
}

void Paint(HWND hwnd, HDC hdc, UINT action) {
  ButtonState* state = States().get(hwnd);
  DWORD type = ButtonType(hwnd);
  if (type == BS_OWNERDRAW) {
    DrawOwner(hwnd, hdc, *state, action);
  } else if (type == BS_GROUPBOX) {
    if (action == ODA_DRAWENTIRE) DrawGroup(hwnd, hdc, *state);
  } else if (IsCheckType(type) || IsRadioType(type)) {
    DrawCheckOrRadio(hwnd, hdc, *state, type);
  } else {
    DrawPush(hwnd, hdc, *state, type);
  }
}

// Draws now, through a DC of the window, as the platform does on state changes.
void PaintNow(HWND hwnd, UINT action) {
  if (!IsWindowVisible(hwnd)) return;
  HDC hdc = GetDC(hwnd);
  if (hdc == nullptr) return;
  Paint(hwnd, hdc, action);
  ReleaseDC(hwnd, hdc);
}

void SetPushed(HWND hwnd, bool pushed) { SendMessageW(hwnd, BM_SETSTATE, pushed ? TRUE : FALSE, 0); }

void BeginTracking(HWND hwnd, ButtonState* state) {
  state->tracking = true;
  SetPushed(hwnd, true);
}

// The stylus or the space key came up: a click when the button was still pushed and the
// point is inside (always for a key).
void EndTracking(HWND hwnd, bool inside) {
  ButtonState* state = States().get(hwnd);
  if (!state->tracking) return;
  state->tracking = false;
  if (!state->pushed) {
    if (GetCapture() == hwnd) ReleaseCapture();
    return;
  }
  SetPushed(hwnd, false);
  if (GetCapture() == hwnd) ReleaseCapture();
  if (!inside || !IsWindow(hwnd)) return;
  DWORD type = ButtonType(hwnd);
  if (type == BS_AUTOCHECKBOX) {
    SendMessageW(hwnd, BM_SETCHECK, state->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
  } else if (type == BS_AUTO3STATE) {
    SendMessageW(hwnd, BM_SETCHECK, state->check == BST_INDETERMINATE ? BST_UNCHECKED : state->check + 1, 0);
  } else if (type == BS_AUTORADIOBUTTON) {
    SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
  }
  NotifyParent(hwnd, BN_CLICKED);
}

// An auto radio button that becomes checked unchecks the other auto radio buttons of its group.
void UncheckGroupSiblings(HWND hwnd) {
  HWND parent = GetParent(hwnd);
  if (parent == nullptr) return;
  HWND item = hwnd;
  while ((item = GetNextDlgGroupItem(parent, item, FALSE)) != nullptr && item != hwnd) {
    if (ButtonType(item) == BS_AUTORADIOBUTTON && (WindowStyle(item) & WS_CHILD)) {
      WCHAR cls[16] = {};
      GetClassNameW(item, cls, 16);
      if (std::u16string_view(cls) == u"BUTTON" || std::u16string_view(cls) == u"Button")
        SendMessageW(item, BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
}

UINT DialogCode(HWND hwnd) {
  DWORD type = ButtonType(hwnd);
  switch (type) {
    case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_PUSHBUTTON:
    case BS_OWNERDRAW: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX: return DLGC_STATIC;
    default: return DLGC_BUTTON;
  }
}

}  // namespace

LRESULT CALLBACK ButtonWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      States().create(hwnd);
      return 0;
    }
    case WM_DESTROY:
      States().destroy(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      PaintWindow(hwnd, [](HWND h, HDC dc) { Paint(h, dc, ODA_DRAWENTIRE); });
      return 0;
    case WM_ENABLE:
    case WM_SETTEXT: {
      LRESULT result = message == WM_SETTEXT ? DefWindowProcW(hwnd, message, wParam, lParam) : 0;
      InvalidateRect(hwnd, nullptr, TRUE);
      return message == WM_SETTEXT ? result : 0;
    }
    case WM_SETFONT:
      KeepFont(hwnd, States().get(hwnd)->font, wParam, lParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(States().get(hwnd)->font);
    case WM_GETDLGCODE:
      return DialogCode(hwnd);
    case WM_LBUTTONDBLCLK: {
      DWORD type = ButtonType(hwnd);
      if ((WindowStyle(hwnd) & BS_NOTIFY) || type == BS_RADIOBUTTON || type == BS_USERBUTTON || type == BS_OWNERDRAW) {
        NotifyParent(hwnd, BN_DOUBLECLICKED);
        return 0;
      }
      [[fallthrough]];
    }
    case WM_LBUTTONDOWN: {
      if (ButtonType(hwnd) == BS_GROUPBOX) return 0;
      SetCapture(hwnd);
      if (GetFocus() != hwnd) SetFocus(hwnd);
      if (!IsWindow(hwnd)) return 0;
      BeginTracking(hwnd, States().get(hwnd));
      return 0;
    }
    case WM_MOUSEMOVE: {
      ButtonState* state = States().get(hwnd);
      if (state->tracking && (wParam & MK_LBUTTON) && GetCapture() == hwnd) {
        RECT rect;
        GetClientRect(hwnd, &rect);
        bool inside = PtInRect(&rect, PointFromLParam(lParam)) != FALSE;
        if (inside != state->pushed) SetPushed(hwnd, inside);
      }
      return 0;
    }
    case WM_LBUTTONUP: {
      RECT rect;
      GetClientRect(hwnd, &rect);
      EndTracking(hwnd, PtInRect(&rect, PointFromLParam(lParam)) != FALSE);
      return 0;
    }
    case WM_CAPTURECHANGED: {
      ButtonState* state = States().get(hwnd);
      if (state->tracking && reinterpret_cast<HWND>(lParam) != hwnd) {
        state->tracking = false;
        if (state->pushed) SetPushed(hwnd, false);
      }
      return 0;
    }
    case WM_KEYDOWN: {
      ButtonState* state = States().get(hwnd);
      if (wParam == VK_SPACE && !state->tracking && ButtonType(hwnd) != BS_GROUPBOX) {
        SetCapture(hwnd);
        BeginTracking(hwnd, state);
        return 0;
      }
      // Enter clicks a focused push button outside a dialog's keyboard handling.
      if (wParam == VK_RETURN && (IsPushType(ButtonType(hwnd)) || ButtonType(hwnd) == BS_OWNERDRAW)) {
        NotifyParent(hwnd, BN_CLICKED);
        return 0;
      }
      return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    case WM_KEYUP:
      if (wParam == VK_SPACE) {
        EndTracking(hwnd, true);
        return 0;
      }
      return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_SETFOCUS: {
      ButtonState* state = States().get(hwnd);
      state->focused = true;
      PaintNow(hwnd, ODA_FOCUS);
      if (WindowStyle(hwnd) & BS_NOTIFY) NotifyParent(hwnd, BN_SETFOCUS);
      return 0;
    }
    case WM_KILLFOCUS: {
      ButtonState* state = States().get(hwnd);
      state->focused = false;
      if (state->tracking && GetCapture() == hwnd) ReleaseCapture();
      PaintNow(hwnd, ODA_FOCUS);
      if (WindowStyle(hwnd) & BS_NOTIFY) NotifyParent(hwnd, BN_KILLFOCUS);
      return 0;
    }
    case BM_GETCHECK:
      return States().get(hwnd)->check;
    case BM_SETCHECK: {
      ButtonState* state = States().get(hwnd);
      DWORD type = ButtonType(hwnd);
      UINT check = static_cast<UINT>(wParam) & 3;
      if (!(type == BS_3STATE || type == BS_AUTO3STATE) && check == BST_INDETERMINATE) check = BST_CHECKED;
      if (!IsCheckType(type) && !IsRadioType(type)) return 0;
      if (state->check != check) {
        state->check = check;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      if (type == BS_AUTORADIOBUTTON && check == BST_CHECKED) UncheckGroupSiblings(hwnd);
      // A checked radio button is the group's tab stop.
      if (IsRadioType(type)) {
        LONG_PTR style = GetWindowLongW(hwnd, GWL_STYLE);
        LONG_PTR updated = check == BST_CHECKED ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
        if (updated != style) SetWindowLongW(hwnd, GWL_STYLE, updated);
      }
      return 0;
    }
    case BM_GETSTATE: {
      ButtonState* state = States().get(hwnd);
      return state->check | (state->pushed ? BST_PUSHED : 0) | (state->focused ? BST_FOCUS : 0);
    }
    case BM_SETSTATE: {
      ButtonState* state = States().get(hwnd);
      bool pushed = wParam != 0;
      if (state->pushed == pushed) return 0;
      state->pushed = pushed;
      PaintNow(hwnd, ODA_SELECT);
      return 0;
    }
    case BM_SETSTYLE: {
      LONG_PTR style = GetWindowLongW(hwnd, GWL_STYLE);
      LONG_PTR updated = (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | static_cast<LONG_PTR>(wParam & BS_TYPEMASK);
      if (updated != style) SetWindowLongW(hwnd, GWL_STYLE, updated);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    }
    case BM_CLICK: {
      // As a tap in the middle of the button.
      RECT rect;
      GetClientRect(hwnd, &rect);
      LPARAM at = MAKELPARAM((rect.right) / 2, (rect.bottom) / 2);
      SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
      SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
      return 0;
    }
    case BM_GETIMAGE:
      return reinterpret_cast<LRESULT>(States().get(hwnd)->image);
    case BM_SETIMAGE: {
      ButtonState* state = States().get(hwnd);
      HANDLE old = state->image;
      state->image = reinterpret_cast<HANDLE>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace vela::controls
