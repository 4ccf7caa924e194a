#include <windows.h>

#include <gtest/gtest.h>

#include "GdiTestSupport.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;

TEST(GdiDraw, FillRectExcludesRightAndBottomAndTakesSystemColourIndices) {
  DibCanvas canvas(20, 20);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT r{2, 3, 6, 8};
  EXPECT_TRUE(FillRect(canvas.dc(), &r, red));
  EXPECT_EQ(Str(canvas.InkBox()), "{2,3,6,8}");
  EXPECT_EQ(canvas.At(2, 3), kRed);
  // A window class's (HBRUSH)(COLOR_x + 1) names a system colour.
  RECT face{10, 10, 12, 12};
  EXPECT_TRUE(FillRect(canvas.dc(), &face, reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1))));
  EXPECT_EQ(canvas.At(10, 10), 0xC0C0C0u);
  EXPECT_TRUE(FillRect(canvas.dc(), &face, reinterpret_cast<HBRUSH>(static_cast<intptr_t>((COLOR_HIGHLIGHT & 0xFF) + 1))));
  EXPECT_EQ(canvas.At(11, 11), 0x000080u);  // COLOR_HIGHLIGHT is RGB(0, 0, 128)
  EXPECT_TRUE(DeleteObject(red));
}

TEST(GdiDraw, SystemColoursHaveTheTerminalDefaultsAndFollowSetSysColors) {
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(128, 128, 128));
  EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), RGB(0, 0, 0));
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), 0x800000u);
  EXPECT_EQ(GetSysColor(COLOR_STATIC & ~SYS_COLOR_INDEX_FLAG), GetSysColor(COLOR_STATIC));
  SetLastError(0);
  EXPECT_EQ(GetSysColor(C_SYS_COLOR_TYPES), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(GetSysColorBrush(C_SYS_COLOR_TYPES | SYS_COLOR_INDEX_FLAG), nullptr);

  HBRUSH brush = GetSysColorBrush(COLOR_WINDOW);
  const INT index = COLOR_WINDOW;
  const COLORREF yellow = RGB(255, 255, 0);
  ASSERT_TRUE(SetSysColors(1, &index, &yellow));
  DibCanvas canvas(4, 4, RGB(0, 0, 0));
  RECT all{0, 0, 4, 4};
  FillRect(canvas.dc(), &all, brush);  // the same brush now paints the new colour
  EXPECT_EQ(canvas.At(0, 0), 0xFFFF00u);
  EXPECT_TRUE(DeleteObject(brush));  // system colour brushes are never freed
  const COLORREF white = RGB(255, 255, 255);
  ASSERT_TRUE(SetSysColors(1, &index, &white));
  EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
}

TEST(GdiDraw, PatternBrushFollowsTheBrushOrigin) {
  // An 8 x 8 pattern with a single black pixel at (0,0).
  HBITMAP pattern = CreateBitmap(8, 8, 1, 32, nullptr);
  HDC pdc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(pdc, pattern);
  RECT all{0, 0, 8, 8};
  FillRect(pdc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetPixel(pdc, 0, 0, RGB(0, 0, 0));
  SelectObject(pdc, old);
  DeleteDC(pdc);
  HBRUSH brush = CreatePatternBrush(pattern);
  ASSERT_NE(brush, nullptr);
  EXPECT_TRUE(DeleteObject(pattern));  // the brush has its own copy

  DibCanvas canvas(24, 24);
  RECT r{3, 3, 24, 24};
  FillRect(canvas.dc(), &r, brush);
  // The pattern is anchored at the DC's origin, not at the rectangle.
  EXPECT_EQ(canvas.At(8, 8), kBlack);
  EXPECT_EQ(canvas.At(16, 16), kBlack);
  EXPECT_EQ(canvas.At(3, 3), kWhite);
  POINT previous{-1, -1};
  EXPECT_TRUE(SetBrushOrgEx(canvas.dc(), 3, 5, &previous));
  EXPECT_EQ(previous.x, 0);
  FillRect(canvas.dc(), &r, brush);
  EXPECT_EQ(canvas.At(11, 13), kBlack);
  EXPECT_EQ(canvas.At(19, 21), kBlack);
  EXPECT_EQ(canvas.At(8, 8), kWhite);
  DeleteObject(brush);
}

TEST(GdiDraw, MonochromePatternTakesTheTextAndBackgroundColours) {
  // Rows are little-endian words: the first byte is the low one.
  const WORD rows[8] = {0x00AA, 0x0055, 0x00AA, 0x0055, 0x00AA, 0x0055, 0x00AA, 0x0055};  // checkerboard
  HBITMAP mono = CreateBitmap(8, 8, 1, 1, rows);
  HBRUSH brush = CreatePatternBrush(mono);
  DibCanvas canvas(8, 8);
  SetTextColor(canvas.dc(), RGB(255, 0, 0));
  SetBkColor(canvas.dc(), RGB(0, 0, 255));
  RECT r{0, 0, 8, 8};
  FillRect(canvas.dc(), &r, brush);
  EXPECT_EQ(canvas.At(0, 0), kBlue);  // set bits take the background colour
  EXPECT_EQ(canvas.At(1, 0), kRed);
  EXPECT_EQ(canvas.At(0, 1), kRed);
  DeleteObject(brush);
  DeleteObject(mono);
}

TEST(GdiDraw, ClipRectanglesAndRegionsLimitDrawing) {
  DibCanvas canvas(20, 20);
  EXPECT_EQ(IntersectClipRect(canvas.dc(), 2, 2, 12, 12), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(canvas.dc(), 4, 4, 8, 8), COMPLEXREGION);
  RECT box;
  EXPECT_EQ(GetClipBox(canvas.dc(), &box), COMPLEXREGION);
  EXPECT_EQ(Str(box), "{2,2,12,12}");
  RECT all{0, 0, 20, 20};
  FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(Str(canvas.InkBox()), "{2,2,12,12}");
  EXPECT_EQ(canvas.At(5, 5), kWhite);
  EXPECT_EQ(canvas.At(3, 5), kBlack);

  // SaveDC keeps the clip; RestoreDC brings it back after SelectClipRgn replaced it.
  const int level = SaveDC(canvas.dc());
  EXPECT_EQ(level, 1);
  HRGN rgn = CreateRectRgn(15, 15, 18, 18);
  EXPECT_EQ(SelectClipRgn(canvas.dc(), rgn), SIMPLEREGION);
  EXPECT_TRUE(DeleteObject(rgn));  // the DC keeps a copy
  EXPECT_EQ(GetClipBox(canvas.dc(), &box), SIMPLEREGION);
  EXPECT_EQ(Str(box), "{15,15,18,18}");
  EXPECT_TRUE(RestoreDC(canvas.dc(), -1));
  EXPECT_EQ(GetClipBox(canvas.dc(), &box), COMPLEXREGION);
  EXPECT_FALSE(RestoreDC(canvas.dc(), -1));  // nothing left to restore
  EXPECT_EQ(SelectClipRgn(canvas.dc(), nullptr), SIMPLEREGION);
  EXPECT_EQ(GetClipBox(canvas.dc(), &box), SIMPLEREGION);
  EXPECT_EQ(Str(box), "{0,0,20,20}");
}

TEST(GdiDraw, ViewportOriginMovesDrawingButNotTheDeviceClip) {
  DibCanvas canvas(20, 20);
  IntersectClipRect(canvas.dc(), 0, 0, 10, 10);  // device coordinates at this point
  SetViewportOrgEx(canvas.dc(), 5, 5, nullptr);
  RECT r{0, 0, 10, 10};
  FillRect(canvas.dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(Str(canvas.InkBox()), "{5,5,10,10}");
  RECT box;
  GetClipBox(canvas.dc(), &box);
  EXPECT_EQ(Str(box), "{-5,-5,5,5}");  // logical coordinates
}

TEST(GdiDraw, LinesLeaveOutTheirLastPixel) {
  DibCanvas canvas(20, 20);
  MoveToEx(canvas.dc(), 2, 2, nullptr);
  LineTo(canvas.dc(), 10, 2);
  EXPECT_EQ(Str(canvas.InkBox()), "{2,2,10,3}");
  LineTo(canvas.dc(), 10, 10);  // from the new current position
  EXPECT_EQ(Str(canvas.InkBox()), "{2,2,11,10}");
  POINT at;
  MoveToEx(canvas.dc(), 0, 0, &at);
  EXPECT_EQ(at.x, 10);
  EXPECT_EQ(at.y, 10);

  DibCanvas diagonal(10, 10);
  HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(diagonal.dc(), red);
  EXPECT_EQ(GetCurrentObject(diagonal.dc(), OBJ_PEN), red);
  MoveToEx(diagonal.dc(), 0, 0, nullptr);
  LineTo(diagonal.dc(), 5, 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(diagonal.At(i, i), kRed) << i;
  EXPECT_EQ(diagonal.At(5, 5), kWhite);
  EXPECT_FALSE(DeleteObject(red));  // still selected
  SelectObject(diagonal.dc(), old);
  EXPECT_TRUE(DeleteObject(red));
}

TEST(GdiDraw, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  DibCanvas canvas(20, 20);
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  SelectObject(canvas.dc(), blue);
  Rectangle(canvas.dc(), 2, 2, 8, 6);
  EXPECT_EQ(Str(canvas.InkBox()), "{2,2,8,6}");
  EXPECT_EQ(canvas.At(2, 2), kBlack);
  EXPECT_EQ(canvas.At(7, 5), kBlack);
  EXPECT_EQ(canvas.At(3, 3), kBlue);
  EXPECT_EQ(canvas.At(6, 4), kBlue);
  // With no pen the platform fills one pixel less each way.
  DibCanvas bare(20, 20);
  SelectObject(bare.dc(), blue);
  SelectObject(bare.dc(), GetStockObject(NULL_PEN));
  Rectangle(bare.dc(), 2, 2, 8, 6);
  EXPECT_EQ(Str(bare.InkBox()), "{2,2,7,5}");
  SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
  SelectObject(bare.dc(), GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(DeleteObject(blue));
}

TEST(GdiDraw, EllipseStaysInsideItsBoxAndIsSymmetric) {
  DibCanvas canvas(30, 30);
  SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
  Ellipse(canvas.dc(), 5, 5, 25, 15);
  EXPECT_EQ(Str(canvas.InkBox()), "{5,5,25,15}");
  for (int y = 5; y < 15; ++y) {
    for (int x = 5; x < 25; ++x) {
      EXPECT_EQ(canvas.At(x, y), canvas.At(29 - x, y)) << x << "," << y;
      EXPECT_EQ(canvas.At(x, y), canvas.At(x, 19 - y)) << x << "," << y;
    }
  }
  EXPECT_EQ(canvas.At(5, 5), kWhite);  // corners stay out
  EXPECT_EQ(canvas.At(15, 10), kBlack);
}

TEST(GdiDraw, PatBltAndInvertRectCombineWithTheDestination) {
  DibCanvas canvas(10, 10);
  EXPECT_TRUE(PatBlt(canvas.dc(), 0, 0, 4, 4, BLACKNESS));
  EXPECT_TRUE(PatBlt(canvas.dc(), 2, 2, 4, 4, DSTINVERT));
  EXPECT_EQ(canvas.At(1, 1), kBlack);
  EXPECT_EQ(canvas.At(3, 3), kWhite);  // inverted black
  EXPECT_EQ(canvas.At(5, 5), kBlack);  // inverted white
  RECT r{0, 0, 10, 10};
  EXPECT_TRUE(InvertRect(canvas.dc(), &r));
  EXPECT_EQ(canvas.At(1, 1), kWhite);
  // Negative sizes count back from the corner.
  EXPECT_TRUE(PatBlt(canvas.dc(), 10, 10, -2, -2, BLACKNESS));
  EXPECT_EQ(canvas.At(9, 9), kBlack);
  EXPECT_EQ(canvas.At(8, 8), kBlack);
  SetLastError(0);
  EXPECT_FALSE(PatBlt(canvas.dc(), 0, 0, 1, 1, SRCCOPY));  // needs a source
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(GdiDraw, DrawEdgeUsesTheButtonColoursAndAdjusts) {
  DibCanvas canvas(10, 10);
  RECT r{0, 0, 10, 10};
  EXPECT_TRUE(DrawEdge(canvas.dc(), &r, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE));
  EXPECT_EQ(Str(r), "{2,2,8,8}");
  EXPECT_EQ(canvas.At(0, 5), 0xC0C0C0u);  // 3-D light
  EXPECT_EQ(canvas.At(9, 5), 0x000000u);  // dark shadow
  EXPECT_EQ(canvas.At(1, 5), 0xFFFFFFu);  // highlight
  EXPECT_EQ(canvas.At(8, 5), 0x808080u);  // shadow
  EXPECT_EQ(canvas.At(5, 5), 0xC0C0C0u);  // face
}

TEST(GdiDraw, StockAndSelectedObjectsSurviveDeleteObject) {
  HGDIOBJ white = GetStockObject(WHITE_BRUSH);
  EXPECT_TRUE(DeleteObject(white));
  EXPECT_EQ(GetObjectType(white), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_GUI_FONT)), static_cast<DWORD>(OBJ_FONT));
  EXPECT_EQ(GetStockObject(99), nullptr);

  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_EQ(SelectObject(dc, brush), white);  // a new DC starts with the white brush
  SaveDC(dc);
  SelectObject(dc, white);
  EXPECT_FALSE(DeleteObject(brush));  // the saved state still holds it
  RestoreDC(dc, 1);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
  LOGBRUSH lb{};
  EXPECT_EQ(GetObject(brush, sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbColor, RGB(1, 2, 3));
  SelectObject(dc, white);
  EXPECT_TRUE(DeleteObject(brush));
  SetLastError(0);
  EXPECT_EQ(SelectObject(dc, brush), nullptr);  // gone
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(dc));
}

TEST(GdiDraw, DeviceCapsDescribeTheScreen) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 240);
  EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 320);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
  EXPECT_TRUE(GetDeviceCaps(dc, RASTERCAPS) & RC_STRETCHBLT);
  DeleteDC(dc);
}

}  // namespace
