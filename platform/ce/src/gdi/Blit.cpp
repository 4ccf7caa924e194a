#include "gdi/Blit.h"

#include <algorithm>
#include <vector>

#include "gdi/Dc.h"
#include "gdi/Raster.h"

namespace vela::gdi {
namespace {

// Destination index i of n maps to this source index of m (pixel centres, nearest neighbour).
int MapIndex(int i, int n, int m, bool mirror) {
  const int k = mirror ? n - 1 - i : i;
  return static_cast<int>((static_cast<long long>(2 * k + 1) * m) / (2LL * n));
}

}  // namespace

void Blit(DcObject* dst, int x, int y, int width, int height, const BlitSource& src, std::uint8_t rop,
          std::optional<std::uint32_t> transparent) {
  if (width == 0 || height == 0 || src.width == 0 || src.height == 0) return;
  bool mirrorX = false, mirrorY = false;
  if (width < 0) x += width, width = -width, mirrorX = !mirrorX;
  if (height < 0) y += height, height = -height, mirrorY = !mirrorY;
  int sx = src.x, sy = src.y, sw = src.width, sh = src.height;
  if (sw < 0) sx += sw, sw = -sw, mirrorX = !mirrorX;
  if (sh < 0) sy += sh, sh = -sh, mirrorY = !mirrorY;

  Surface& target = Target(dst);
  const Surface& source = *src.surface;
  const bool direct = !mirrorX && !mirrorY && sw == width && sh == height;
  const bool usesSource = RopUsesSource(rop);
  const Pattern pattern = RopUsesPattern(rop) ? ResolveBrush(dst, dst->state.brush) : Pattern{};

  // Colour translation between monochrome and colour bitmaps.
  const bool fromMono = source.monoDdb && !target.monoDdb;
  const bool toMono = target.monoDdb && !source.monoDdb;
  const std::uint32_t fore = PixelFromColorRef(dst->state.textColor);
  const std::uint32_t back = PixelFromColorRef(dst->state.bkColor);
  const std::uint32_t sourceBack = PixelFromColorRef(src.bkColor.value_or(RGB(255, 255, 255)));

  // Only where the source exists is drawn (a direct copy); scaled copies clamp to the source.
  RECT area{x, y, x + width, y + height};
  if (direct) {
    const RECT sourceArea{x - sx, y - sy, x - sx + source.width, y - sy + source.height};
    area = IntersectRects(area, sourceArea);
  }
  std::vector<int> columns;
  if (!direct) {
    columns.resize(static_cast<size_t>(width));
    for (int i = 0; i < width; ++i) columns[static_cast<size_t>(i)] = sx + MapIndex(i, width, sw, mirrorX);
  }
  std::vector<std::uint32_t> row(static_cast<size_t>(source.width));
  std::vector<std::uint32_t> line(static_cast<size_t>(width));
  const Region& clip = EffectiveClip(dst);
  const bool sameSurface = &source == &target;
  RECT touched{0, 0, 0, 0};

  for (const RECT& c : clip.Rects()) {
    const RECT r = IntersectRects(c, area);
    if (EmptyRect(r)) continue;
    const int n = static_cast<int>(r.right - r.left);
    // Overlapping copies within one surface go against the direction of the move.
    const bool upward = sameSurface && sy < y;
    for (LONG k = 0; k < r.bottom - r.top; ++k) {
      const int dy = static_cast<int>(upward ? r.bottom - 1 - k : r.top + k);
      const std::uint32_t* s = nullptr;
      if (usesSource || transparent) {
        const int rowIndex = direct ? sy + (dy - y) : sy + MapIndex(dy - y, height, sh, mirrorY);
        if (rowIndex < 0 || rowIndex >= source.height) continue;
        if (direct) {
          source.ReadSpan(rowIndex, sx + static_cast<int>(r.left) - x, n, line.data());
        } else {
          source.ReadSpan(rowIndex, 0, source.width, row.data());
          for (int i = 0; i < n; ++i) {
            const int col = columns[static_cast<size_t>(r.left - x + i)];
            line[static_cast<size_t>(i)] = (col >= 0 && col < source.width) ? row[static_cast<size_t>(col)] : 0;
          }
        }
        if (fromMono) {
          for (int i = 0; i < n; ++i) line[static_cast<size_t>(i)] = line[static_cast<size_t>(i)] ? back : fore;
        } else if (toMono) {
          for (int i = 0; i < n; ++i) {
            line[static_cast<size_t>(i)] = line[static_cast<size_t>(i)] == sourceBack ? 0xFFFFFF : 0;
          }
        }
        s = line.data();
      }
      SpanAccess span(target, dy, static_cast<int>(r.left), n);
      if (transparent) {
        std::uint32_t* d = span.data();
        for (int i = 0; i < n; ++i) {
          if (s[i] != *transparent) RopSpan(rop, d + i, s + i, pattern, static_cast<int>(r.left) + i, dy, 1);
        }
      } else {
        RopSpan(rop, span.data(), s, pattern, static_cast<int>(r.left), dy, n);
      }
    }
    touched = EmptyRect(touched) ? r
                                 : RECT{std::min(touched.left, r.left), std::min(touched.top, r.top),
                                        std::max(touched.right, r.right), std::max(touched.bottom, r.bottom)};
  }
  if (!EmptyRect(touched)) Drew(dst, touched);
}

}  // namespace vela::gdi
