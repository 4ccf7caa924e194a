// A region: a set of pixels kept as disjoint rectangles in y-x bands (sorted by top, then left;
// rectangles of one band share top and bottom, touching bands with the same spans are merged),
// so two equal sets always have the same rectangles.
#pragma once

#include <windef.h>

#include <vector>

namespace vela::gdi {

class Region {
 public:
  Region() = default;
  // An empty rectangle gives the empty region.
  explicit Region(const RECT& rect);
  Region(LONG left, LONG top, LONG right, LONG bottom);

  bool IsEmpty() const { return rects_.empty(); }
  // The smallest rectangle around the region; all zero when empty.
  RECT Bounds() const;
  const std::vector<RECT>& Rects() const { return rects_; }
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int Kind() const;

  Region& Union(const Region& other);
  Region& Intersect(const Region& other);
  Region& Subtract(const Region& other);
  Region& Xor(const Region& other);
  Region& Offset(LONG dx, LONG dy);

  Region& Union(const RECT& rect) { return Union(Region(rect)); }
  Region& Intersect(const RECT& rect);
  Region& Subtract(const RECT& rect) { return Subtract(Region(rect)); }

  bool Contains(LONG x, LONG y) const;
  // Whether any pixel of rect is in the region.
  bool Intersects(const RECT& rect) const;
  // Whether every pixel of rect is in the region.
  bool ContainsRect(const RECT& rect) const;

  friend bool operator==(const Region& a, const Region& b);

 private:
  enum class Op { Union, Intersect, Subtract, Xor };
  static Region Combine(const Region& a, const Region& b, Op op);
  std::vector<RECT> rects_;
};

}  // namespace vela::gdi
