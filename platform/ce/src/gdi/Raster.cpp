#include "gdi/Raster.h"

#include <algorithm>
#include <cstring>

#include "gdi/Dc.h"

namespace vela::gdi {
namespace {

constexpr std::uint32_t kRgb = 0x00FFFFFF;

std::uint32_t RopGeneric(std::uint8_t rop, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  std::uint32_t result = 0;
  for (int i = 0; i < 8; ++i) {
    if (!((rop >> i) & 1)) continue;
    result |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return result & kRgb;
}

void FillPattern(std::uint32_t* d, const Pattern& pattern, int x, int y, int n) {
  if (pattern.solid) {
    std::fill_n(d, n, pattern.color);
    return;
  }
  const std::uint32_t* row = pattern.Row(y);
  std::uint32_t rotated[8];
  for (int i = 0; i < 8; ++i) rotated[i] = row[(x + i - pattern.originX) & 7];
  int i = 0;
  for (; i + 8 <= n; i += 8) std::memcpy(d + i, rotated, sizeof rotated);
  for (int k = 0; i < n; ++i, ++k) d[i] = rotated[k];
}

}  // namespace

Pattern SolidPattern(std::uint32_t pixel) {
  Pattern p;
  p.color = pixel;
  return p;
}

Pattern ResolveBrush(const DcObject* dc, const BrushObject* brush) {
  Pattern p;
  if (!brush || brush->style == BS_NULL) {
    p.none = true;
    return p;
  }
  if (brush->style != BS_PATTERN && brush->style != BS_DIBPATTERN && brush->style != BS_DIBPATTERNPT) {
    p.color = PixelFromColorRef(brush->color);
    return p;
  }
  p.solid = false;
  p.originX = dc->origin.x + dc->state.brushOrg.x;
  p.originY = dc->origin.y + dc->state.brushOrg.y;
  if (brush->monoPattern) {
    const std::uint32_t fore = PixelFromColorRef(dc->state.textColor);
    const std::uint32_t back = PixelFromColorRef(dc->state.bkColor);
    for (int i = 0; i < 64; ++i) p.pixels[i] = brush->pattern[static_cast<size_t>(i)] ? back : fore;
  } else {
    std::copy(brush->pattern.begin(), brush->pattern.end(), p.pixels);
  }
  return p;
}

std::uint8_t RopFromRop2(int rop2) {
  // R2_ codes are 1 + a truth table over pen (0xC) and destination (0xA).
  const int table = (rop2 - 1) & 0x0F;
  std::uint8_t rop = 0;
  for (int i = 0; i < 8; ++i) {
    const int p = (i >> 2) & 1, d = i & 1;
    if ((table >> ((p << 1) | d)) & 1) rop |= static_cast<std::uint8_t>(1 << i);
  }
  return rop;
}

void RopSpan(std::uint8_t rop, std::uint32_t* d, const std::uint32_t* s, const Pattern& pattern, int x, int y, int n) {
  switch (rop) {
    case 0xF0:  // PATCOPY
      FillPattern(d, pattern, x, y, n);
      return;
    case 0xCC:  // SRCCOPY
      std::memmove(d, s, static_cast<size_t>(n) * 4);
      return;
    case 0x00:  // BLACKNESS
      std::fill_n(d, n, 0u);
      return;
    case 0xFF:  // WHITENESS
      std::fill_n(d, n, kRgb);
      return;
    case 0x55:  // DSTINVERT
      for (int i = 0; i < n; ++i) d[i] ^= kRgb;
      return;
    case 0x88:  // SRCAND
      for (int i = 0; i < n; ++i) d[i] &= s[i];
      return;
    case 0xEE:  // SRCPAINT
      for (int i = 0; i < n; ++i) d[i] |= s[i];
      return;
    case 0x66:  // SRCINVERT
      for (int i = 0; i < n; ++i) d[i] ^= s[i];
      return;
    case 0x33:  // NOTSRCCOPY
      for (int i = 0; i < n; ++i) d[i] = ~s[i] & kRgb;
      return;
    case 0xAA:  // nothing
      return;
    default:
      break;
  }
  if (pattern.solid) {
    const std::uint32_t p = pattern.color;
    if (rop == 0x5A) {  // PATINVERT
      for (int i = 0; i < n; ++i) d[i] ^= p;
      return;
    }
    for (int i = 0; i < n; ++i) d[i] = RopGeneric(rop, p, s ? s[i] : 0, d[i]);
    return;
  }
  const std::uint32_t* row = pattern.Row(y);
  for (int i = 0; i < n; ++i) d[i] = RopGeneric(rop, row[(x + i - pattern.originX) & 7], s ? s[i] : 0, d[i]);
}

void PaintRect(DcObject* dc, const RECT& rect, const Pattern& pattern, std::uint8_t rop) {
  if (pattern.none && RopUsesPattern(rop)) return;
  if (EmptyRect(rect)) return;
  Surface& target = Target(dc);
  const Region& clip = EffectiveClip(dc);
  // Plain fills repeat every row (solid) or every eighth (pattern): later rows are copies.
  const bool copyRows = rop == 0xF0 && target.IsDirect32();
  const LONG period = pattern.solid ? 1 : 8;
  RECT touched{0, 0, 0, 0};
  for (const RECT& c : clip.Rects()) {
    if (c.top >= rect.bottom) break;
    const RECT r = IntersectRects(c, rect);
    if (EmptyRect(r)) continue;
    const int n = static_cast<int>(r.right - r.left);
    for (LONG y = r.top; y < r.bottom; ++y) {
      if (copyRows && y - r.top >= period) {
        // From the first rows, which stay in the cache.
        const LONG from = r.top + (y - r.top) % period;
        std::memcpy(target.Row32(static_cast<int>(y)) + r.left, target.Row32(static_cast<int>(from)) + r.left,
                    static_cast<size_t>(n) * 4);
        continue;
      }
      if (target.IsDirect32()) {
        RopSpan(rop, target.Row32(static_cast<int>(y)) + r.left, nullptr, pattern, static_cast<int>(r.left),
                static_cast<int>(y), n);
        continue;
      }
      SpanAccess span(target, static_cast<int>(y), static_cast<int>(r.left), n);
      RopSpan(rop, span.data(), nullptr, pattern, static_cast<int>(r.left), static_cast<int>(y), n);
    }
    touched = EmptyRect(touched) ? r
                                 : RECT{std::min(touched.left, r.left), std::min(touched.top, r.top),
                                        std::max(touched.right, r.right), std::max(touched.bottom, r.bottom)};
  }
  if (!EmptyRect(touched)) Drew(dc, touched);
}

void PaintArea(DcObject* dc, const Region& area, const Pattern& pattern, std::uint8_t rop) {
  if (area.Rects().size() == 1) return PaintRect(dc, area.Rects().front(), pattern, rop);
  Region cut = area;
  cut.Intersect(EffectiveClip(dc));
  for (const RECT& r : cut.Rects()) PaintRect(dc, r, pattern, rop);
}

}  // namespace vela::gdi
