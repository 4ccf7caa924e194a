// What the built-in controls share: notifications to the parent, colours asked of the parent,
// fonts and the simple 3-D frames of the platform's look.
#pragma once

#include <string>

#include "windows.h"

namespace vela::controls {

// WM_COMMAND with MAKEWPARAM(id, code) and the control as lParam, sent to the parent.
void NotifyParent(HWND control, WORD code);

// Asks the parent for the control's colours (WM_CTLCOLORSTATIC / BTN / EDIT) with hdc set up
// with the defaults first; returns the parent's brush, or the default brush when the parent
// leaves the message to the default handling.
HBRUSH ControlColorBrush(HWND control, HDC hdc, UINT message);

// WM_PAINT: draws with paint between BeginPaint and EndPaint.
void PaintWindow(HWND hwnd, void (*paint)(HWND, HDC));

// WM_SETFONT: keeps the font in slot and redraws when lParam asks for it.
void KeepFont(HWND hwnd, HFONT& slot, WPARAM wParam, LPARAM lParam);

// The control's font, or the system font when none was set.
HFONT FontOrSystem(HFONT font);

// The window text of hwnd.
std::u16string WindowText(HWND hwnd);

void FillSolid(HDC hdc, const RECT& rect, int sysColor);
// A one-pixel frame with separate colours for the top-left and bottom-right sides.
void FrameTwoColor(HDC hdc, const RECT& rect, int topLeftColor, int bottomRightColor);

// Pixel coordinates of a mouse message's lParam.
POINT PointFromLParam(LPARAM lParam);

// Style bits of a window.
DWORD WindowStyle(HWND hwnd);

}  // namespace vela::controls
