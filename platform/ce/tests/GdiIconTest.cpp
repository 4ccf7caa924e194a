#include <windows.h>

#include <gtest/gtest.h>

#include "GdiTestSupport.h"

namespace {

// A 4 x 4 icon: the left half opaque red, the right half transparent except (3,0), which
// inverts the screen (mask 1, colour white).
HICON MakeIcon() {
  HBITMAP color = CreateBitmap(4, 4, 1, 32, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, color);
  PatBlt(dc, 0, 0, 4, 4, BLACKNESS);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT left{0, 0, 2, 4};
  FillRect(dc, &left, red);
  SetPixel(dc, 3, 0, RGB(255, 255, 255));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(red);
  const WORD maskRows[4] = {0x0030, 0x0030, 0x0030, 0x0030};  // bits 2..3 of each row's first byte
  HBITMAP mask = CreateBitmap(4, 4, 1, 1, maskRows);
  ICONINFO info{TRUE, 0, 0, mask, color};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);  // the icon keeps its own copies
  DeleteObject(color);
  return icon;
}

TEST(GdiIcon, MaskKeepsTheBackgroundAndXorInverts) {
  HICON icon = MakeIcon();
  ASSERT_NE(icon, nullptr);
  DibCanvas canvas(8, 8, RGB(0, 255, 0));
  EXPECT_TRUE(DrawIconEx(canvas.dc(), 2, 2, icon, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(canvas.At(2, 2), 0xFF0000u);  // opaque
  EXPECT_EQ(canvas.At(4, 3), 0x00FF00u);  // transparent
  EXPECT_EQ(canvas.At(5, 2), 0xFF00FFu);  // green inverted
  EXPECT_EQ(canvas.At(1, 1), 0x00FF00u);  // outside
  EXPECT_EQ(Str(canvas.InkBox(0x00FF00)), "{2,2,6,6}");
  DestroyIcon(icon);
}

TEST(GdiIcon, MaskAndImageHalvesAndScaledDrawing) {
  HICON icon = MakeIcon();
  DibCanvas maskOnly(4, 4, RGB(0, 0, 255));
  DrawIconEx(maskOnly.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_MASK);
  EXPECT_EQ(maskOnly.At(0, 0), 0x000000u);
  EXPECT_EQ(maskOnly.At(3, 3), 0x0000FFu);
  DibCanvas imageOnly(4, 4, RGB(0, 0, 255));
  DrawIconEx(imageOnly.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_IMAGE);
  EXPECT_EQ(imageOnly.At(3, 3), 0x000000u);
  EXPECT_EQ(imageOnly.At(0, 0), 0xFF0000u);

  DibCanvas big(16, 16, RGB(0, 255, 0));
  EXPECT_TRUE(DrawIconEx(big.dc(), 0, 0, icon, 8, 8, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(big.At(3, 7), 0xFF0000u);
  EXPECT_EQ(big.At(5, 7), 0x00FF00u);
  EXPECT_EQ(big.At(7, 1), 0xFF00FFu);
  EXPECT_EQ(Str(big.InkBox(0x00FF00)), "{0,0,8,8}");
  // DI_DEFAULTSIZE with no size: the system's 32 x 32.
  DibCanvas large(40, 40, RGB(0, 255, 0));
  EXPECT_TRUE(DrawIconEx(large.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE));
  EXPECT_EQ(Str(large.InkBox(0x00FF00)), "{0,0,32,32}");
  // A flicker-free brush is painted under the icon.
  DibCanvas brushed(4, 4, RGB(0, 255, 0));
  EXPECT_TRUE(DrawIconEx(brushed.dc(), 0, 0, icon, 0, 0, 0, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), DI_NORMAL));
  EXPECT_EQ(brushed.At(2, 2), 0x000000u);
  DestroyIcon(icon);
}

TEST(GdiIcon, GetIconInfoHandsOutCopiesAndDestroyedIconsFail) {
  HICON icon = MakeIcon();
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  EXPECT_TRUE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 2u);
  BITMAP bm{};
  ASSERT_TRUE(GetObject(info.hbmMask, sizeof bm, &bm));
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(bm.bmWidth, 4);
  HICON again = CreateIconIndirect(&info);
  DibCanvas canvas(4, 4, RGB(0, 255, 0));
  DrawIconEx(canvas.dc(), 0, 0, again, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(canvas.At(0, 0), 0xFF0000u);
  EXPECT_EQ(canvas.At(3, 0), 0xFF00FFu);
  EXPECT_TRUE(DeleteObject(info.hbmMask));
  EXPECT_TRUE(DeleteObject(info.hbmColor));
  SIZE size{};
  EXPECT_TRUE(GetIconSize(icon, &size));
  EXPECT_EQ(size.cx, 4);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_TRUE(DestroyIcon(again));
  SetLastError(0);
  EXPECT_FALSE(DrawIconEx(canvas.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(DestroyIcon(icon));
}

TEST(GdiIcon, MonochromeIconHasAndOverXorInOneBitmap) {
  // 2 x 2: AND rows then XOR rows. Pixel (0,0): AND 0, XOR 1 -> white; (1,0): AND 1, XOR 1 -> inverted.
  const WORD rows[4] = {0x0040, 0x00C0, 0x00C0, 0x0000};
  HBITMAP mask = CreateBitmap(2, 4, 1, 1, rows);
  ICONINFO info{TRUE, 0, 0, mask, nullptr};
  HICON icon = CreateIconIndirect(&info);
  ASSERT_NE(icon, nullptr);
  DibCanvas canvas(2, 2, RGB(0, 0, 255));
  DrawIconEx(canvas.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(canvas.At(0, 0), 0xFFFFFFu);
  EXPECT_EQ(canvas.At(1, 0), 0xFFFF00u);
  EXPECT_EQ(canvas.At(0, 1), 0x0000FFu);
  DestroyIcon(icon);
  DeleteObject(mask);
}

}  // namespace
