#include "controls/ControlSupport.h"

#include "windlg.h"

namespace vela::controls {

void NotifyParent(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (parent == nullptr) return;
  WORD id = static_cast<WORD>(GetDlgCtrlID(control));
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

HBRUSH ControlColorBrush(HWND control, HDC hdc, UINT message) {
  // The defaults DefWindowProc would give, so a parent that only changes the text colour
  // still gets a sensible background.
  int face = message == WM_CTLCOLOREDIT ? COLOR_WINDOW : COLOR_BTNFACE;
  SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(hdc, GetSysColor(face));
  HBRUSH fallback = GetSysColorBrush(face);
  HWND parent = GetParent(control);
  if (parent == nullptr) return fallback;
  LRESULT result = SendMessageW(parent, message, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(control));
  HBRUSH brush = reinterpret_cast<HBRUSH>(result);
  return brush ? brush : fallback;
}

void PaintWindow(HWND hwnd, void (*paint)(HWND, HDC)) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd, &ps);
  if (hdc) paint(hwnd, hdc);
  EndPaint(hwnd, &ps);
}

void KeepFont(HWND hwnd, HFONT& slot, WPARAM wParam, LPARAM lParam) {
  slot = reinterpret_cast<HFONT>(wParam);
  if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
}

HFONT FontOrSystem(HFONT font) { return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)); }

std::u16string WindowText(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  std::u16string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, u'\0');
  int copied = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

void FillSolid(HDC hdc, const RECT& rect, int sysColor) { FillRect(hdc, &rect, GetSysColorBrush(sysColor)); }

void FrameTwoColor(HDC hdc, const RECT& r, int topLeftColor, int bottomRightColor) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  FillSolid(hdc, RECT{r.left, r.top, r.right, r.top + 1}, topLeftColor);
  FillSolid(hdc, RECT{r.left, r.top, r.left + 1, r.bottom}, topLeftColor);
  FillSolid(hdc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRightColor);
  FillSolid(hdc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRightColor);
}

POINT PointFromLParam(LPARAM lParam) {
  return POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
}

DWORD WindowStyle(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

}  // namespace vela::controls
