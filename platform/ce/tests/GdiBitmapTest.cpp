#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "GdiTestSupport.h"

namespace {

// BITMAPINFO with room for a colour table of 256 entries.
struct Info {
  BITMAPINFOHEADER header{};
  RGBQUAD colors[256]{};
  BITMAPINFO* get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

Info MakeInfo(int width, int height, int bpp, DWORD compression = BI_RGB) {
  Info info;
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bpp);
  info.header.biCompression = compression;
  return info;
}

TEST(GdiBitmap, DibSectionsOfEveryDepthStoreWhatIsDrawn) {
  struct Case {
    int bpp;
    DWORD compression;
    std::vector<DWORD> masks;
  };
  const Case cases[] = {{1, BI_RGB, {}},  {4, BI_RGB, {}},  {8, BI_RGB, {}},
                        {16, BI_RGB, {}}, {16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}},
                        {24, BI_RGB, {}}, {32, BI_RGB, {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bpp << " bpp, compression " << c.compression);
    for (int height : {5, -5}) {
      Info info = MakeInfo(9, height, c.bpp, c.compression);
      if (!c.masks.empty()) std::memcpy(info.colors, c.masks.data(), 12);
      if (c.bpp <= 8) {
        info.colors[0] = RGBQUAD{0, 0, 0, 0};
        info.colors[1] = RGBQUAD{255, 255, 255, 0};
        info.colors[2] = RGBQUAD{0, 0, 255, 0};  // red
      }
      void* bits = nullptr;
      HBITMAP dib = CreateDIBSection(nullptr, info.get(), DIB_RGB_COLORS, &bits, nullptr, 0);
      ASSERT_NE(dib, nullptr);
      ASSERT_NE(bits, nullptr);
      HDC dc = CreateCompatibleDC(nullptr);
      HGDIOBJ old = SelectObject(dc, dib);
      RECT all{0, 0, 9, 5};
      FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      EXPECT_EQ(SetPixel(dc, 0, 0, RGB(0, 0, 0)), RGB(0, 0, 0));
      EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
      EXPECT_EQ(GetPixel(dc, 8, 4), RGB(255, 255, 255));
      // The top-left pixel lives in the last row of a bottom-up DIB and in the first of a top-down one.
      const int stride = ((9 * c.bpp + 31) / 32) * 4;
      const auto* bytes = static_cast<const std::uint8_t*>(bits);
      const std::uint8_t* topRow = height > 0 ? bytes + 4 * stride : bytes;
      const std::uint8_t* otherRow = height > 0 ? bytes : bytes + 4 * stride;
      // The first pixel takes the high bits of a byte in the packed depths.
      const int firstPixelBits = c.bpp < 8 ? topRow[0] >> (8 - c.bpp) : topRow[0];
      EXPECT_EQ(firstPixelBits, 0) << "the black pixel is in the top row";
      EXPECT_NE(otherRow[0], 0) << "the bottom row is white";
      if (c.bpp == 4 || c.bpp == 8) {
        SetPixel(dc, 1, 1, RGB(250, 5, 5));  // nearest palette entry: red
        EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 0, 0));
      }
      SelectObject(dc, old);
      DeleteDC(dc);
      DIBSECTION ds{};
      EXPECT_EQ(GetObject(dib, sizeof ds, &ds), static_cast<int>(sizeof ds));
      EXPECT_EQ(ds.dsBm.bmBits, bits);
      EXPECT_EQ(ds.dsBm.bmWidthBytes, stride);
      EXPECT_EQ(ds.dsBmih.biHeight, height);
      EXPECT_TRUE(DeleteObject(dib));
    }
  }
}

TEST(GdiBitmap, BadDibHeadersAreRefused) {
  Info info = MakeInfo(4, 4, 7);
  void* bits = reinterpret_cast<void*>(1);
  SetLastError(0);
  EXPECT_EQ(CreateDIBSection(nullptr, info.get(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(bits, nullptr);
  info = MakeInfo(1 << 20, 1 << 20, 32);  // would be 4 TiB
  EXPECT_EQ(CreateDIBSection(nullptr, info.get(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  info = MakeInfo(4, 4, 8, BI_RLE8);
  EXPECT_EQ(CreateDIBSection(nullptr, info.get(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  EXPECT_EQ(CreateBitmap(-1, 4, 1, 32, nullptr), nullptr);
}

TEST(GdiBitmap, BitBltRoundTripThroughACompatibleBitmap) {
  DibCanvas source(16, 16);
  RECT r{4, 4, 8, 8};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(source.dc(), &r, red);
  HDC mem = CreateCompatibleDC(source.dc());
  HBITMAP bitmap = CreateCompatibleBitmap(source.dc(), 16, 16);
  HGDIOBJ old = SelectObject(mem, bitmap);
  // A bitmap is selected into one DC at a time.
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, bitmap), nullptr);
  DeleteDC(other);
  EXPECT_TRUE(BitBlt(mem, 0, 0, 16, 16, source.dc(), 0, 0, SRCCOPY));
  DibCanvas back(16, 16, RGB(0, 0, 0));
  EXPECT_TRUE(BitBlt(back.dc(), 2, 0, 16, 16, mem, 0, 0, SRCCOPY));
  EXPECT_EQ(Str(back.InkBox(0xFFFFFF)), "{0,0,10,16}");  // black columns left of the copy, then red
  EXPECT_EQ(back.At(6, 4), 0xFF0000u);
  EXPECT_EQ(back.At(5, 4), 0xFFFFFFu);
  EXPECT_EQ(back.At(1, 0), 0x000000u);  // left of the copy
  // SRCINVERT twice is the identity; SRCAND with white keeps the destination.
  EXPECT_TRUE(BitBlt(back.dc(), 2, 0, 16, 16, mem, 0, 0, SRCINVERT));
  EXPECT_EQ(back.At(6, 4), 0x000000u);
  EXPECT_TRUE(BitBlt(back.dc(), 2, 0, 16, 16, mem, 0, 0, SRCINVERT));
  EXPECT_EQ(back.At(6, 4), 0xFF0000u);
  SelectObject(mem, old);
  EXPECT_TRUE(DeleteObject(bitmap));
  DeleteDC(mem);
  DeleteObject(red);
}

TEST(GdiBitmap, MonochromeBitmapsTranslateThroughTheDcColours) {
  // 8 x 2: row 0 all set (white), row 1 all clear (black).
  const WORD rows[2] = {0x00FF, 0x0000};
  HBITMAP mono = CreateBitmap(8, 2, 1, 1, rows);
  HDC mdc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mdc, mono);
  DibCanvas canvas(8, 2);
  SetTextColor(canvas.dc(), RGB(255, 0, 0));
  SetBkColor(canvas.dc(), RGB(0, 0, 255));
  BitBlt(canvas.dc(), 0, 0, 8, 2, mdc, 0, 0, SRCCOPY);
  EXPECT_EQ(canvas.At(0, 0), 0x0000FFu);  // 1 bits take the background colour
  EXPECT_EQ(canvas.At(0, 1), 0xFF0000u);  // 0 bits the text colour

  // Colour to monochrome: the source's background colour becomes 1, anything else 0.
  DibCanvas colour(8, 2, RGB(0, 255, 0));
  SetPixel(colour.dc(), 3, 1, RGB(9, 9, 9));
  SetBkColor(colour.dc(), RGB(0, 255, 0));
  BitBlt(mdc, 0, 0, 8, 2, colour.dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(mdc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(mdc, 3, 1), RGB(0, 0, 0));
  SelectObject(mdc, old);
  DeleteDC(mdc);
  DeleteObject(mono);
}

TEST(GdiBitmap, StretchBltScalesAndMirrorsByNearestPixel) {
  DibCanvas source(2, 2);
  SetPixel(source.dc(), 0, 0, RGB(255, 0, 0));
  SetPixel(source.dc(), 1, 1, RGB(0, 0, 255));
  DibCanvas big(8, 8);
  EXPECT_TRUE(StretchBlt(big.dc(), 0, 0, 8, 8, source.dc(), 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(big.At(3, 3), 0xFF0000u);
  EXPECT_EQ(big.At(4, 4), 0x0000FFu);
  EXPECT_EQ(big.At(4, 3), 0xFFFFFFu);
  EXPECT_TRUE(StretchBlt(big.dc(), 8, 0, -8, 8, source.dc(), 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(big.At(7, 0), 0xFF0000u);  // mirrored left to right
  EXPECT_EQ(big.At(0, 7), 0x0000FFu);
}

TEST(GdiBitmap, TransparentBltLeavesTheKeyColourOut) {
  DibCanvas source(4, 4, RGB(255, 0, 255));
  SetPixel(source.dc(), 1, 1, RGB(0, 0, 0));
  DibCanvas canvas(4, 4, RGB(0, 255, 0));
  EXPECT_TRUE(TransparentImage(canvas.dc(), 0, 0, 4, 4, source.dc(), 0, 0, 4, 4, RGB(255, 0, 255)));
  EXPECT_EQ(canvas.At(0, 0), 0x00FF00u);
  EXPECT_EQ(canvas.At(1, 1), 0x000000u);
}

TEST(GdiBitmap, OverlappingBitBltWithinOneBitmapScrolls) {
  DibCanvas canvas(4, 8);
  for (int y = 0; y < 8; ++y) SetPixel(canvas.dc(), 0, y, RGB(y, 0, 0));
  EXPECT_TRUE(BitBlt(canvas.dc(), 0, 2, 4, 6, canvas.dc(), 0, 0, SRCCOPY));  // down by two
  for (int y = 2; y < 8; ++y) EXPECT_EQ(canvas.At(0, y), static_cast<std::uint32_t>((y - 2) << 16)) << y;
  EXPECT_TRUE(BitBlt(canvas.dc(), 0, 0, 4, 6, canvas.dc(), 0, 2, SRCCOPY));  // back up
  for (int y = 0; y < 6; ++y) EXPECT_EQ(canvas.At(0, y), static_cast<std::uint32_t>(y << 16)) << y;
}

TEST(GdiBitmap, GetDIBitsAndSetDIBitsRoundTrip) {
  DibCanvas canvas(3, 2);
  SetPixel(canvas.dc(), 0, 0, RGB(10, 20, 30));
  SetPixel(canvas.dc(), 2, 1, RGB(40, 50, 60));
  HBITMAP bitmap = CreateCompatibleBitmap(canvas.dc(), 3, 2);
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, bitmap);
  BitBlt(mem, 0, 0, 3, 2, canvas.dc(), 0, 0, SRCCOPY);
  SelectObject(mem, old);

  Info info = MakeInfo(0, 0, 0);
  ASSERT_TRUE(GetDIBits(mem, bitmap, 0, 0, nullptr, info.get(), DIB_RGB_COLORS));
  EXPECT_EQ(info.header.biWidth, 3);
  EXPECT_EQ(info.header.biHeight, 2);
  EXPECT_EQ(info.header.biBitCount, 32);
  info.header.biBitCount = 24;
  info.header.biCompression = BI_RGB;
  std::vector<std::uint8_t> bits(12 * 2);  // rows of 9 bytes padded to 12
  ASSERT_EQ(GetDIBits(mem, bitmap, 0, 2, bits.data(), info.get(), DIB_RGB_COLORS), 2);
  // Bottom-up: the first row in memory is the bottom one.
  EXPECT_EQ(bits[6], 60);  // blue of (2,1)
  EXPECT_EQ(bits[8], 40);  // red
  EXPECT_EQ(bits[12 + 0], 30);
  bits[12 + 0] = 99;  // blue of (0,0)
  ASSERT_EQ(SetDIBits(mem, bitmap, 0, 2, bits.data(), info.get(), DIB_RGB_COLORS), 2);
  SelectObject(mem, bitmap);
  EXPECT_EQ(GetPixel(mem, 0, 0), RGB(10, 20, 99));
  EXPECT_EQ(GetPixel(mem, 2, 1), RGB(40, 50, 60));
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bitmap);
}

TEST(GdiBitmap, StretchDIBitsDrawsABottomUpDibTheRightWayUp) {
  Info info = MakeInfo(2, 2, 24);
  const std::uint8_t bits[16] = {255, 0, 0, 0, 0, 0, 0, 0,     // bottom row: blue, black
                                 0, 0, 255, 0, 0, 0, 0, 0};    // top row: red, black
  DibCanvas canvas(4, 4);
  EXPECT_EQ(StretchDIBits(canvas.dc(), 0, 0, 4, 4, 0, 0, 2, 2, bits, info.get(), DIB_RGB_COLORS, SRCCOPY), 2);
  EXPECT_EQ(canvas.At(0, 0), 0xFF0000u);
  EXPECT_EQ(canvas.At(1, 3), 0x0000FFu);
  EXPECT_EQ(canvas.At(3, 3), 0x000000u);
}

}  // namespace
