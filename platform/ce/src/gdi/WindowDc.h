// The screen and the DCs that draw onto it for windows. The window manager computes where a window
// may draw (its visible region, in screen coordinates) and hands it here for GetDC, GetWindowDC
// and BeginPaint; everything drawn through the DC is clipped to that region.
#pragma once

#include <windef.h>

#include <cstdint>

#include "gdi/Region.h"

namespace vela::gdi {

// The screen's pixels: 32 bits, 0x00RRGGBB, row y at pixels + y * stride (stride in pixels).
struct ScreenSurface {
  std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
};

ScreenSurface Screen();

// A new DC for window `owner` whose logical (0,0) is at `origin` on the screen (the client or the
// window origin). Attributes start at their defaults, as for every GetDC.
HDC CreateWindowDc(HWND owner, POINT origin, const Region& visible);
// The window moved or the windows above it changed while the DC is held.
bool UpdateWindowDc(HDC dc, POINT origin, const Region& visible);
// Frees the DC and deselects its objects; false when dc is not a window DC.
bool ReleaseWindowDc(HDC dc);
// The window a DC draws for, or NULL (memory DCs, unknown handles).
HWND WindowOfDc(HDC dc);

// Tells the screen's watchers that a rectangle of the screen changed without a DC (scrolling).
void ScreenRectChanged(const RECT& rect);

}  // namespace vela::gdi
