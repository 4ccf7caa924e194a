// Rectangles filled with brushes: FillRect, FrameRect, InvertRect, PatBlt, FillRgn, focus
// rectangles, 3-D edges and single pixels.
#include "gdi/Dc.h"
#include "gdi/Raster.h"
#include "gdi/SysColors.h"

using namespace vela::gdi;

namespace {

void PaintLogical(DcObject* dc, const RECT& logical, const Pattern& pattern, std::uint8_t rop) {
  PaintRect(dc, SurfaceRect(dc, logical), pattern, rop);
}

// The frame of a rectangle, `width` pixels thick, as four rectangles.
void PaintFrame(DcObject* dc, const RECT& r, const Pattern& pattern, std::uint8_t rop) {
  if (EmptyRect(r)) return;
  PaintLogical(dc, RECT{r.left, r.top, r.right, r.top + 1}, pattern, rop);
  if (r.bottom - r.top > 1) PaintLogical(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, pattern, rop);
  if (r.bottom - r.top > 2) {
    PaintLogical(dc, RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1}, pattern, rop);
    if (r.right - r.left > 1) PaintLogical(dc, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}, pattern, rop);
  }
}

}  // namespace

int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hDC);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, 0);
  BrushObject* brush = BrushForFill(hbr);
  if (!brush) return Fail(ERROR_INVALID_HANDLE, 0);
  if (!lprc) return Fail(ERROR_INVALID_PARAMETER, 0);
  PaintLogical(dc, *lprc, ResolveBrush(dc, brush), 0xF0);
  return 1;
}

int FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hDC);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, 0);
  BrushObject* brush = BrushForFill(hbr);
  if (!brush) return Fail(ERROR_INVALID_HANDLE, 0);
  if (!lprc) return Fail(ERROR_INVALID_PARAMETER, 0);
  PaintFrame(dc, *lprc, ResolveBrush(dc, brush), 0xF0);
  return 1;
}

BOOL InvertRect(HDC hDC, const RECT* lprc) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hDC);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, FALSE);
  if (!lprc) return Fail(ERROR_INVALID_PARAMETER, FALSE);
  PaintLogical(dc, *lprc, Pattern{}, 0x55);
  return TRUE;
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, FALSE);
  const std::uint8_t index = RopIndex(rop);
  if (RopUsesSource(index)) return Fail(ERROR_INVALID_PARAMETER, FALSE);
  PaintLogical(dc, NormalizedRect(x, y, x + width, y + height), ResolveBrush(dc, dc->state.brush), index);
  return TRUE;
}

BOOL FillRgn(HDC hdc, HRGN hrgn, HBRUSH hbr) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  auto* region = LookupAs<RegionObject>(hrgn, OBJ_REGION);
  BrushObject* brush = BrushForFill(hbr);
  if (!dc || !region || !brush) return Fail(ERROR_INVALID_HANDLE, FALSE);
  Region area = region->region;
  area.Offset(SurfaceX(dc, 0), SurfaceY(dc, 0));
  PaintArea(dc, area, ResolveBrush(dc, brush), 0xF0);
  return TRUE;
}

BOOL DrawFocusRect(HDC hDC, const RECT* lprc) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hDC);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, FALSE);
  if (!lprc) return Fail(ERROR_INVALID_PARAMETER, FALSE);
  Pattern dots;
  dots.solid = false;
  for (int i = 0; i < 64; ++i) dots.pixels[i] = ((i / 8 + i % 8) % 2 == 0) ? 0xFFFFFFu & 0x00FFFFFF : 0;
  dots.originX = SurfaceX(dc, lprc->left);
  dots.originY = SurfaceY(dc, lprc->top);
  PaintFrame(dc, *lprc, dots, 0x5A);
  return TRUE;
}

BOOL DrawEdge(HDC hdc, LPRECT qrc, UINT edge, UINT flags) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, FALSE);
  if (!qrc) return Fail(ERROR_INVALID_PARAMETER, FALSE);
  auto colour = [](int index) { return SolidPattern(PixelFromColorRef(GetSysColor(index))); };
  RECT r = *qrc;
  // Outer ring first, then the inner one inside it.
  for (int ring = 0; ring < 2; ++ring) {
    const UINT raised = ring == 0 ? BDR_RAISEDOUTER : BDR_RAISEDINNER;
    const UINT sunken = ring == 0 ? BDR_SUNKENOUTER : BDR_SUNKENINNER;
    if (!(edge & (raised | sunken))) continue;
    int lt, rb;
    if (flags & BF_MONO) {
      lt = rb = ring == 0 ? COLOR_WINDOWFRAME : COLOR_WINDOW;
    } else if (flags & BF_FLAT) {
      lt = rb = ring == 0 ? COLOR_BTNSHADOW : COLOR_BTNFACE;
    } else if (ring == 0) {
      lt = (edge & raised) ? COLOR_3DLIGHT : COLOR_BTNSHADOW;
      rb = (edge & raised) ? COLOR_3DDKSHADOW : COLOR_BTNHIGHLIGHT;
    } else {
      lt = (edge & raised) ? COLOR_BTNHIGHLIGHT : COLOR_3DDKSHADOW;
      rb = (edge & raised) ? COLOR_BTNSHADOW : COLOR_3DLIGHT;
    }
    if (EmptyRect(r)) break;
    if (flags & BF_TOP) PaintLogical(dc, RECT{r.left, r.top, r.right, r.top + 1}, colour(lt), 0xF0);
    if (flags & BF_LEFT) PaintLogical(dc, RECT{r.left, r.top, r.left + 1, r.bottom}, colour(lt), 0xF0);
    if (flags & BF_RIGHT) PaintLogical(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, colour(rb), 0xF0);
    if (flags & BF_BOTTOM) PaintLogical(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, colour(rb), 0xF0);
    if (flags & BF_LEFT) ++r.left;
    if (flags & BF_TOP) ++r.top;
    if (flags & BF_RIGHT) --r.right;
    if (flags & BF_BOTTOM) --r.bottom;
  }
  if ((flags & BF_MIDDLE) && !EmptyRect(r)) {
    PaintLogical(dc, r, colour((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE), 0xF0);
  }
  if (flags & BF_ADJUST) *qrc = r;
  return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, COLORREF{CLR_INVALID});
  const LONG sx = SurfaceX(dc, x), sy = SurfaceY(dc, y);
  if (!EffectiveClip(dc).Contains(sx, sy)) return CLR_INVALID;
  Surface& target = Target(dc);
  target.Set(static_cast<int>(sx), static_cast<int>(sy), PixelFromColorRef(color));
  Drew(dc, RECT{sx, sy, sx + 1, sy + 1});
  return ColorRefFromPixel(target.Get(static_cast<int>(sx), static_cast<int>(sy)));
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, COLORREF{CLR_INVALID});
  const LONG sx = SurfaceX(dc, x), sy = SurfaceY(dc, y);
  if (!EffectiveClip(dc).Contains(sx, sy)) return CLR_INVALID;
  return ColorRefFromPixel(Target(dc).Get(static_cast<int>(sx), static_cast<int>(sy)));
}
