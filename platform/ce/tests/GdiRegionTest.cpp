#include <windows.h>

#include <gtest/gtest.h>

#include "GdiTestSupport.h"
#include "gdi/Region.h"

namespace {

using vela::gdi::Region;

std::string Rects(const Region& r) {
  std::string s;
  for (const RECT& rect : r.Rects()) s += Str(rect);
  return s;
}

TEST(GdiRegion, UnionOfOverlappingRectanglesIsBandedAndDisjoint) {
  Region r(0, 0, 10, 10);
  r.Union(Region(5, 5, 15, 15));
  EXPECT_EQ(Rects(r), "{0,0,10,5}{0,5,15,10}{5,10,15,15}");
  EXPECT_EQ(Str(r.Bounds()), "{0,0,15,15}");
  EXPECT_EQ(r.Kind(), COMPLEXREGION);
}

TEST(GdiRegion, SameSetGivesSameRectanglesWhateverTheOrder) {
  Region a(0, 0, 10, 10);
  a.Union(Region(10, 0, 20, 10));  // touching: merges into one
  EXPECT_EQ(Rects(a), "{0,0,20,10}");
  Region b(10, 0, 20, 5);
  b.Union(Region(0, 0, 10, 10)).Union(Region(10, 5, 20, 10));
  EXPECT_TRUE(a == b);
  EXPECT_EQ(a.Kind(), SIMPLEREGION);
}

TEST(GdiRegion, SubtractingTheMiddleLeavesAFrame) {
  Region frame(0, 0, 10, 10);
  frame.Subtract(Region(2, 2, 8, 8));
  EXPECT_EQ(Rects(frame), "{0,0,10,2}{0,2,2,8}{8,2,10,8}{0,8,10,10}");
  EXPECT_FALSE(frame.Contains(5, 5));
  EXPECT_TRUE(frame.Contains(1, 5));
  EXPECT_FALSE(frame.Contains(10, 5));  // right edge excluded
  EXPECT_TRUE(frame.Intersects(RECT{7, 7, 9, 9}));
  EXPECT_FALSE(frame.Intersects(RECT{3, 3, 7, 7}));
  EXPECT_FALSE(frame.ContainsRect(RECT{0, 0, 10, 10}));
  EXPECT_TRUE(frame.ContainsRect(RECT{0, 0, 10, 2}));
  frame.Union(Region(2, 2, 8, 8));
  EXPECT_EQ(Rects(frame), "{0,0,10,10}");
}

TEST(GdiRegion, IntersectXorOffsetAndEmptyCases) {
  Region r(0, 0, 10, 10);
  r.Intersect(Region(20, 20, 30, 30));
  EXPECT_TRUE(r.IsEmpty());
  EXPECT_EQ(r.Kind(), NULLREGION);
  EXPECT_TRUE(Region(RECT{5, 5, 5, 9}).IsEmpty());
  Region x(0, 0, 10, 10);
  x.Xor(Region(5, 0, 15, 10));
  EXPECT_EQ(Rects(x), "{0,0,5,10}{10,0,15,10}");
  x.Offset(-5, 3);
  EXPECT_EQ(Rects(x), "{-5,3,0,13}{5,3,10,13}");
}

TEST(GdiRegion, ApiRegionsCombineAndReportTheirKind) {
  HRGN a = CreateRectRgn(0, 0, 10, 10);
  HRGN b = CreateRectRgn(10, 10, 0, 0);  // corners given the other way round
  HRGN c = CreateRectRgn(0, 0, 1, 1);
  ASSERT_TRUE(a && b && c);
  EXPECT_TRUE(EqualRgn(a, b));
  EXPECT_EQ(CombineRgn(c, a, nullptr, RGN_COPY), SIMPLEREGION);
  HRGN hole = CreateRectRgn(3, 3, 6, 6);
  EXPECT_EQ(CombineRgn(c, a, hole, RGN_DIFF), COMPLEXREGION);
  EXPECT_FALSE(PtInRegion(c, 4, 4));
  EXPECT_TRUE(PtInRegion(c, 2, 4));
  RECT box;
  EXPECT_EQ(GetRgnBox(c, &box), COMPLEXREGION);
  EXPECT_EQ(Str(box), "{0,0,10,10}");
  EXPECT_EQ(CombineRgn(c, hole, a, RGN_DIFF), NULLREGION);
  EXPECT_EQ(OffsetRgn(a, 5, 5), SIMPLEREGION);
  RECT probe{0, 0, 5, 5};
  EXPECT_FALSE(RectInRegion(a, &probe));
  SetLastError(0);
  EXPECT_EQ(CombineRgn(c, a, b, 99), ERROR);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  for (HRGN h : {a, b, c, hole}) EXPECT_TRUE(DeleteObject(h));
  SetLastError(0);
  EXPECT_FALSE(PtInRegion(a, 0, 0));  // deleted
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
