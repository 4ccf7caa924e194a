// CRect's set operations and operators, above all the rules for empty and overlapping operands.
#include <gtest/gtest.h>

#include <atltypes.h>

namespace {

void ExpectRect(const CRect& r, int l, int t, int rr, int b) {
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, rr);
    EXPECT_EQ(r.bottom, b);
}

TEST(RectTest, EmptinessAndContainmentUseHalfOpenEdges) {
    const CRect r(10, 20, 30, 40);
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(30, 39)));
    EXPECT_FALSE(r.PtInRect(CPoint(29, 40)));
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
    EXPECT_TRUE(CRect(9, 9, 2, 20).IsRectEmpty());  // inverted counts as empty
    EXPECT_FALSE(CRect(5, 5, 5, 9).IsRectNull());
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_EQ(r.CenterPoint(), CPoint(20, 30));
    EXPECT_EQ(r.Size(), CSize(20, 20));
}

TEST(RectTest, IntersectionOfDisjointOrEmptyRectanglesIsNull) {
    CRect r;
    EXPECT_TRUE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(5, 5, 20, 20)));
    ExpectRect(r, 5, 5, 10, 10);

    r.SetRect(1, 2, 3, 4);
    EXPECT_FALSE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(10, 0, 20, 10)));  // touching edges only
    EXPECT_TRUE(r.IsRectNull());

    r.SetRect(1, 2, 3, 4);
    EXPECT_FALSE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(5, 5, 5, 8)));
    EXPECT_TRUE(r.IsRectNull());
}

TEST(RectTest, UnionIgnoresEmptyOperands) {
    CRect r;
    EXPECT_TRUE(r.UnionRect(CRect(0, 0, 10, 10), CRect(100, 100, 100, 200)));
    ExpectRect(r, 0, 0, 10, 10);
    EXPECT_TRUE(r.UnionRect(CRect(0, 0, 10, 10), CRect(20, -5, 30, 5)));
    ExpectRect(r, 0, -5, 30, 10);
    EXPECT_FALSE(r.UnionRect(CRect(3, 3, 3, 3), CRect(7, 7, 6, 6)));
    EXPECT_TRUE(r.IsRectNull());
}

TEST(RectTest, SubtractionCutsOnlyWhenAWholeSideIsCovered) {
    CRect r;
    // Covers the right part over the full height: the rest is a rectangle.
    EXPECT_TRUE(r.SubtractRect(CRect(0, 0, 100, 50), CRect(60, -10, 200, 60)));
    ExpectRect(r, 0, 0, 60, 50);
    // Covers the top over the full width.
    EXPECT_TRUE(r.SubtractRect(CRect(0, 0, 100, 50), CRect(0, 0, 100, 20)));
    ExpectRect(r, 0, 20, 100, 50);
    // A hole in the middle: the rest is no rectangle, the first one is kept.
    EXPECT_TRUE(r.SubtractRect(CRect(0, 0, 100, 50), CRect(10, 10, 20, 20)));
    ExpectRect(r, 0, 0, 100, 50);
    // Covered completely.
    EXPECT_FALSE(r.SubtractRect(CRect(10, 10, 20, 20), CRect(0, 0, 100, 50)));
    EXPECT_TRUE(r.IsRectNull());
    // Disjoint.
    EXPECT_TRUE(r.SubtractRect(CRect(0, 0, 10, 10), CRect(50, 50, 60, 60)));
    ExpectRect(r, 0, 0, 10, 10);
}

TEST(RectTest, OperandsMayBeTheResultItself) {
    CRect r(0, 0, 10, 10);
    r &= CRect(5, 5, 20, 20);
    ExpectRect(r, 5, 5, 10, 10);
    r |= CRect(0, 0, 1, 1);
    ExpectRect(r, 0, 0, 10, 10);
    EXPECT_TRUE(r.SubtractRect(r, CRect(0, 0, 4, 10)));
    ExpectRect(r, 4, 0, 10, 10);
    EXPECT_TRUE(r.IntersectRect(r, r));
    ExpectRect(r, 4, 0, 10, 10);
}

TEST(RectTest, OperatorsOffsetInflateAndCombine) {
    const CRect r(10, 10, 20, 20);
    ExpectRect(r + CPoint(5, -5), 15, 5, 25, 15);
    ExpectRect(r - CSize(10, 10), 0, 0, 10, 10);
    const CRect border(1, 2, 3, 4);
    ExpectRect(r + &border, 9, 8, 23, 24);
    ExpectRect(r - &border, 11, 12, 17, 16);
    ExpectRect(r & CRect(15, 0, 40, 12), 15, 10, 20, 12);
    ExpectRect(r | CRect(0, 0, 1, 1), 0, 0, 20, 20);
    EXPECT_TRUE(r == CRect(10, 10, 20, 20));
    EXPECT_TRUE(r != CRect(10, 10, 20, 21));

    CRect m(r);
    m.DeflateRect(2, 3);
    ExpectRect(m, 12, 13, 18, 17);
    m.InflateRect(1, 2, 3, 4);
    ExpectRect(m, 11, 11, 21, 21);
    m.MoveToXY(0, 100);
    ExpectRect(m, 0, 100, 10, 110);
    ExpectRect(CPoint(1, 1) + static_cast<LPCRECT>(r), 11, 11, 21, 21);
    EXPECT_EQ(CPoint(7, 9) - CPoint(2, 3), CSize(5, 6));
}

TEST(RectTest, NormalizeAndCornerAliases) {
    CRect r(30, 40, 10, 20);
    r.NormalizeRect();
    ExpectRect(r, 10, 20, 30, 40);
    r.TopLeft() = CPoint(0, 1);
    r.BottomRight() += CSize(5, 5);
    ExpectRect(r, 0, 1, 35, 45);
    LPRECT raw = r;
    EXPECT_EQ(raw->right, 35);
    EXPECT_TRUE(CRect(static_cast<LPCRECT>(nullptr)).IsRectNull());
}

TEST(RectTest, PointFromMousePositionIsSigned) {
    const CPoint p(static_cast<LPARAM>(MAKELONG(static_cast<WORD>(-3), 200)));
    EXPECT_EQ(p.x, -3);
    EXPECT_EQ(p.y, 200);
}

}  // namespace
