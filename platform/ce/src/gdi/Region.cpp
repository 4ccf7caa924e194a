#include "gdi/Region.h"

#include <wingdi.h>

#include <algorithm>
#include <limits>

namespace vela::gdi {
namespace {

constexpr LONG kOpen = std::numeric_limits<LONG>::max();  // a span not closed yet

bool IsEmptyRect(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

struct Span {
  LONG left;
  LONG right;
  friend bool operator==(const Span&, const Span&) = default;
};

// The x-spans of the region's band that covers [y0, y1); rects are banded, so a rect either
// covers the whole band or none of it.
void SpansOfBand(const std::vector<RECT>& rects, LONG y0, std::vector<Span>& out) {
  out.clear();
  for (const RECT& r : rects) {
    if (r.top > y0) break;
    if (r.bottom > y0) out.push_back({r.left, r.right});
  }
}

}  // namespace

Region::Region(const RECT& rect) {
  if (!IsEmptyRect(rect)) rects_.push_back(rect);
}

Region::Region(LONG left, LONG top, LONG right, LONG bottom) : Region(RECT{left, top, right, bottom}) {}

RECT Region::Bounds() const {
  if (rects_.empty()) return RECT{0, 0, 0, 0};
  RECT b = rects_.front();
  for (const RECT& r : rects_) {
    b.left = std::min(b.left, r.left);
    b.right = std::max(b.right, r.right);
    b.bottom = std::max(b.bottom, r.bottom);
  }
  return b;
}

int Region::Kind() const {
  if (rects_.empty()) return NULLREGION;
  return rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

Region Region::Combine(const Region& a, const Region& b, Op op) {
  std::vector<LONG> ys;
  ys.reserve((a.rects_.size() + b.rects_.size()) * 2);
  for (const auto* region : {&a, &b}) {
    for (const RECT& r : region->rects_) {
      ys.push_back(r.top);
      ys.push_back(r.bottom);
    }
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  Region result;
  std::vector<Span> spansA, spansB, spans, previous;
  size_t previousStart = 0;
  LONG previousBottom = 0;
  struct Edge {
    LONG x;
    int which;  // 0: a, 1: b
    bool opens;
  };
  std::vector<Edge> edges;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    const LONG y0 = ys[i], y1 = ys[i + 1];
    SpansOfBand(a.rects_, y0, spansA);
    SpansOfBand(b.rects_, y0, spansB);
    edges.clear();
    for (const Span& s : spansA) edges.push_back({s.left, 0, true}), edges.push_back({s.right, 0, false});
    for (const Span& s : spansB) edges.push_back({s.left, 1, true}), edges.push_back({s.right, 1, false});
    std::sort(edges.begin(), edges.end(), [](const Edge& l, const Edge& r) { return l.x < r.x; });
    spans.clear();
    bool in[2] = {false, false};
    auto inside = [&] {
      switch (op) {
        case Op::Union: return in[0] || in[1];
        case Op::Intersect: return in[0] && in[1];
        case Op::Subtract: return in[0] && !in[1];
        case Op::Xor: return in[0] != in[1];
      }
      return false;
    };
    for (size_t e = 0; e < edges.size();) {
      const LONG x = edges[e].x;
      const bool before = inside();
      while (e < edges.size() && edges[e].x == x) {
        in[edges[e].which] = edges[e].opens;
        ++e;
      }
      const bool after = inside();
      if (!before && after) {
        if (!spans.empty() && spans.back().right == x) {
          spans.back().right = kOpen;  // reopened at the same x: continue the span
        } else {
          spans.push_back({x, kOpen});
        }
      } else if (before && !after) {
        spans.back().right = x;
      }
    }
    if (spans.empty()) {
      previous.clear();
      continue;
    }
    if (spans == previous && previousBottom == y0) {
      for (size_t k = previousStart; k < result.rects_.size(); ++k) result.rects_[k].bottom = y1;
    } else {
      previousStart = result.rects_.size();
      for (const Span& s : spans) result.rects_.push_back(RECT{s.left, y0, s.right, y1});
      previous = spans;
    }
    previousBottom = y1;
  }
  return result;
}

Region& Region::Union(const Region& other) {
  if (other.rects_.empty()) return *this;
  if (rects_.empty()) return *this = other;
  return *this = Combine(*this, other, Op::Union);
}

Region& Region::Intersect(const Region& other) {
  if (rects_.empty()) return *this;
  if (other.rects_.size() == 1) return Intersect(other.rects_.front());
  return *this = Combine(*this, other, Op::Intersect);
}

Region& Region::Intersect(const RECT& rect) {
  if (rects_.size() == 1) {
    RECT& r = rects_.front();
    r = RECT{std::max(r.left, rect.left), std::max(r.top, rect.top), std::min(r.right, rect.right),
             std::min(r.bottom, rect.bottom)};
    if (IsEmptyRect(r)) rects_.clear();
    return *this;
  }
  if (rects_.empty()) return *this;
  const RECT b = Bounds();
  if (rect.left <= b.left && rect.top <= b.top && rect.right >= b.right && rect.bottom >= b.bottom) return *this;
  return *this = Combine(*this, Region(rect), Op::Intersect);
}

Region& Region::Subtract(const Region& other) {
  if (rects_.empty() || other.rects_.empty()) return *this;
  return *this = Combine(*this, other, Op::Subtract);
}

Region& Region::Xor(const Region& other) { return *this = Combine(*this, other, Op::Xor); }

Region& Region::Offset(LONG dx, LONG dy) {
  for (RECT& r : rects_) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
  }
  return *this;
}

bool Region::Contains(LONG x, LONG y) const {
  for (const RECT& r : rects_) {
    if (r.top > y) break;
    if (y < r.bottom && x >= r.left && x < r.right) return true;
  }
  return false;
}

bool Region::Intersects(const RECT& rect) const {
  if (IsEmptyRect(rect)) return false;
  for (const RECT& r : rects_) {
    if (r.top >= rect.bottom) break;
    if (r.bottom > rect.top && r.left < rect.right && r.right > rect.left) return true;
  }
  return false;
}

bool Region::ContainsRect(const RECT& rect) const {
  if (IsEmptyRect(rect)) return false;
  Region rest(rect);
  rest.Subtract(*this);
  return rest.IsEmpty();
}

bool operator==(const Region& a, const Region& b) {
  return std::equal(a.rects_.begin(), a.rects_.end(), b.rects_.begin(), b.rects_.end(),
                    [](const RECT& l, const RECT& r) {
                      return l.left == r.left && l.top == r.top && l.right == r.right && l.bottom == r.bottom;
                    });
}

}  // namespace vela::gdi
