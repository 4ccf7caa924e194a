// Lines and outlined shapes: pens with the DC's binary raster operation, brushes inside.
#include <algorithm>
#include <cmath>
#include <vector>

#include "gdi/Dc.h"
#include "gdi/Raster.h"

using namespace vela::gdi;

namespace {

// Dash lengths (on, off, on, off ...) of the styled pens, in pixels.
const std::vector<int>& DashesOf(UINT style) {
  static const std::vector<int> kSolid{};
  static const std::vector<int> kDash{18, 6};
  static const std::vector<int> kDot{3, 3};
  static const std::vector<int> kDashDot{9, 6, 3, 6};
  static const std::vector<int> kDashDotDot{9, 3, 3, 3, 3, 3};
  switch (style & PS_STYLE_MASK) {
    case PS_DASH: return kDash;
    case PS_DOT: return kDot;
    case PS_DASHDOT: return kDashDot;
    case PS_DASHDOTDOT: return kDashDotDot;
    default: return kSolid;
  }
}

struct PenDraw {
  DcObject* dc;
  Pattern ink;
  Pattern gap;
  bool drawGaps;
  std::uint8_t rop;
  int width;
  const std::vector<int>* dashes;
  size_t dash = 0;
  int left = 0;  // pixels left in the current dash

  explicit PenDraw(DcObject* d) : dc(d) {
    const LOGPEN& pen = dc->state.pen->log;
    ink = SolidPattern(PixelFromColorRef(pen.lopnColor));
    gap = SolidPattern(PixelFromColorRef(dc->state.bkColor));
    drawGaps = dc->state.bkMode == OPAQUE;
    rop = RopFromRop2(dc->state.rop2);
    width = std::max<LONG>(pen.lopnWidth.x, 1);
    dashes = &DashesOf(pen.lopnStyle);
    if (!dashes->empty()) left = (*dashes)[0];
  }
  bool Null() const { return (dc->state.pen->log.lopnStyle & PS_STYLE_MASK) == PS_NULL; }

  // One point of a line, at surface coordinates.
  void Plot(LONG x, LONG y) {
    const Pattern* p = &ink;
    if (!dashes->empty()) {
      if (left == 0) {
        dash = (dash + 1) % dashes->size();
        left = (*dashes)[dash];
      }
      --left;
      if (dash % 2 == 1) {
        if (!drawGaps) return;
        p = &gap;
      }
    }
    const LONG half = width / 2;
    PaintRect(dc, RECT{x - half, y - half, x - half + width, y - half + width}, *p, rop);
  }

  // Bresenham from (x0, y0) up to, not including, (x1, y1); surface coordinates.
  void Line(LONG x0, LONG y0, LONG x1, LONG y1) {
    if (dashes->empty() && width == 1 && (x0 == x1 || y0 == y1)) {
      // Straight lines of a plain pen are one rectangle.
      RECT r = x0 == x1 ? RECT{x0, std::min(y0, y1 + 1), x0 + 1, std::max(y0 + 1, y1)}
                        : RECT{std::min(x0, x1 + 1), y0, std::max(x0 + 1, x1), y0 + 1};
      if (x0 == x1 && y0 == y1) return;
      PaintRect(dc, r, ink, rop);
      return;
    }
    const LONG dx = std::labs(x1 - x0), dy = -std::labs(y1 - y0);
    const LONG sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    LONG err = dx + dy;
    while (x0 != x1 || y0 != y1) {
      Plot(x0, y0);
      const LONG e2 = 2 * err;
      if (e2 >= dy) err += dy, x0 += sx;
      if (e2 <= dx) err += dx, y0 += sy;
    }
  }
};

// The horizontal extent [x0, x1] of row y of a rectangle with rounded corners (cw x ch ellipses);
// x0 > x1 for an empty row.
void RowExtent(const RECT& r, LONG cw, LONG ch, LONG y, LONG& x0, LONG& x1) {
  const double rx = cw / 2.0, ry = ch / 2.0;
  double inset = 0;
  const double centre = y + 0.5;
  double ty = 0;
  if (centre < r.top + ry) ty = centre - (r.top + ry);
  else if (centre > r.bottom - ry) ty = centre - (r.bottom - ry);
  if (ty != 0 && ry > 0) {
    const double q = 1.0 - (ty / ry) * (ty / ry);
    inset = q <= 0 ? rx : rx - rx * std::sqrt(q);
  }
  const auto in = static_cast<LONG>(std::lround(inset));
  x0 = r.left + in;
  x1 = r.right - 1 - in;
}

// Fills and outlines a (rounded) shape in the logical rectangle; surface work row by row.
void Shape(DcObject* dc, RECT logical, LONG cw, LONG ch) {
  RECT r = SurfaceRect(dc, NormalizedRect(logical.left, logical.top, logical.right, logical.bottom));
  if (EmptyRect(r)) return;
  cw = std::min(cw, r.right - r.left);
  ch = std::min(ch, r.bottom - r.top);
  PenDraw pen(dc);
  const Pattern brush = ResolveBrush(dc, dc->state.brush);
  const std::uint8_t rop = RopFromRop2(dc->state.rop2);
  const bool outline = !pen.Null();
  const LONG rows = r.bottom - r.top;
  std::vector<LONG> x0(static_cast<size_t>(rows)), x1(static_cast<size_t>(rows));
  for (LONG i = 0; i < rows; ++i) RowExtent(r, cw, ch, r.top + i, x0[static_cast<size_t>(i)], x1[static_cast<size_t>(i)]);
  for (LONG i = 0; i < rows; ++i) {
    const auto k = static_cast<size_t>(i);
    const LONG y = r.top + i;
    if (x0[k] > x1[k]) continue;
    if (!outline) {
      PaintRect(dc, RECT{x0[k], y, x1[k] + 1, y + 1}, brush, rop);
      continue;
    }
    const bool edgeRow = i == 0 || i == rows - 1;
    if (edgeRow) {
      PaintRect(dc, RECT{x0[k], y, x1[k] + 1, y + 1}, pen.ink, pen.rop);
      continue;
    }
    // The outline reaches over to the outer neighbour row, so it stays connected.
    const LONG outer0 = std::max(x0[k - 1], x0[k + 1]);
    const LONG outer1 = std::min(x1[k - 1], x1[k + 1]);
    const LONG leftEnd = std::max(x0[k], outer0 - 1);
    const LONG rightStart = std::min(x1[k], outer1 + 1);
    PaintRect(dc, RECT{x0[k], y, leftEnd + 1, y + 1}, pen.ink, pen.rop);
    if (rightStart > leftEnd) PaintRect(dc, RECT{rightStart, y, x1[k] + 1, y + 1}, pen.ink, pen.rop);
    if (rightStart - leftEnd > 1) PaintRect(dc, RECT{leftEnd + 1, y, rightStart, y + 1}, brush, rop);
  }
}

}  // namespace

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, FALSE);
  if (previous) *previous = dc->state.position;
  dc->state.position = POINT{x, y};
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, FALSE);
  PenDraw pen(dc);
  if (!pen.Null()) {
    pen.Line(SurfaceX(dc, dc->state.position.x), SurfaceY(dc, dc->state.position.y), SurfaceX(dc, x), SurfaceY(dc, y));
  }
  dc->state.position = POINT{x, y};
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, FALSE);
  if (!points || count < 2) return Fail(ERROR_INVALID_PARAMETER, FALSE);
  PenDraw pen(dc);
  if (pen.Null()) return TRUE;
  for (int i = 1; i < count; ++i) {
    pen.Line(SurfaceX(dc, points[i - 1].x), SurfaceY(dc, points[i - 1].y), SurfaceX(dc, points[i].x),
             SurfaceY(dc, points[i].y));
  }
  return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, FALSE);
  const RECT r = SurfaceRect(dc, NormalizedRect(left, top, right, bottom));
  PenDraw pen(dc);
  const Pattern brush = ResolveBrush(dc, dc->state.brush);
  const std::uint8_t rop = RopFromRop2(dc->state.rop2);
  if (pen.Null()) {
    // Without an outline the platform fills one pixel less in each direction.
    PaintRect(dc, RECT{r.left, r.top, r.right - 1, r.bottom - 1}, brush, rop);
    return TRUE;
  }
  const LONG w = std::min<LONG>(pen.width, std::min(r.right - r.left, r.bottom - r.top) / 2 + 1);
  PaintRect(dc, RECT{r.left + w, r.top + w, r.right - w, r.bottom - w}, brush, rop);
  PaintRect(dc, RECT{r.left, r.top, r.right, r.top + w}, pen.ink, pen.rop);
  PaintRect(dc, RECT{r.left, std::max(r.top + w, r.bottom - w), r.right, r.bottom}, pen.ink, pen.rop);
  PaintRect(dc, RECT{r.left, r.top + w, r.left + w, r.bottom - w}, pen.ink, pen.rop);
  PaintRect(dc, RECT{std::max(r.left + w, r.right - w), r.top + w, r.right, r.bottom - w}, pen.ink, pen.rop);
  return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, FALSE);
  Shape(dc, RECT{left, top, right, bottom}, std::labs(right - left), std::labs(bottom - top));
  return TRUE;
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, FALSE);
  Shape(dc, RECT{left, top, right, bottom}, std::max(width, 0), std::max(height, 0));
  return TRUE;
}
