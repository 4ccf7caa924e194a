// Raster operations on 32-bit spans: brushes resolved to an aligned 8 x 8 pattern, the
// ternary raster operations of the blits and the binary ones of pens.
#pragma once

#include <cstdint>

#include "gdi/GdiObjects.h"

namespace vela::gdi {

// A brush as it paints in one DC: solid or an 8 x 8 pattern whose (0,0) lies at surface
// (originX, originY) and repeats from there.
struct Pattern {
  bool none = false;  // BS_NULL
  bool solid = true;
  std::uint32_t color = 0;
  std::uint32_t pixels[64] = {};
  int originX = 0;
  int originY = 0;

  const std::uint32_t* Row(int y) const { return pixels + ((y - originY) & 7) * 8; }
  std::uint32_t At(int x, int y) const { return solid ? color : Row(y)[(x - originX) & 7]; }
};

Pattern ResolveBrush(const DcObject* dc, const BrushObject* brush);
Pattern SolidPattern(std::uint32_t pixel);

// The raster operation code's index byte (bits 16..23 of a ROP).
inline std::uint8_t RopIndex(DWORD rop) { return static_cast<std::uint8_t>(rop >> 16); }
inline bool RopUsesSource(std::uint8_t r) { return ((r >> 2) & 0x33) != (r & 0x33); }
inline bool RopUsesPattern(std::uint8_t r) { return ((r >> 4) & 0x0F) != (r & 0x0F); }
// The ternary operation of a binary (pen) one: pen as pattern, source unused.
std::uint8_t RopFromRop2(int rop2);

// d[0..n) = rop(pattern, s, d) for the span starting at surface (x, y); s may be null when the
// operation does not read a source.
void RopSpan(std::uint8_t rop, std::uint32_t* d, const std::uint32_t* s, const Pattern& pattern, int x, int y, int n);

// Paints every pixel of `area` (surface coordinates) of the DC's target with the pattern.
void PaintArea(DcObject* dc, const Region& area, const Pattern& pattern, std::uint8_t rop);
void PaintRect(DcObject* dc, const RECT& surfaceRect, const Pattern& pattern, std::uint8_t rop);

}  // namespace vela::gdi
