// LoadImage, LoadIcon, LoadBitmap, LookupIconIdFromDirectoryEx and CreateIconFromResourceEx on
// the test executable's own resources (data/resources/PlatformTests.rc, images made by
// data/images/make_images.py), checked by the pixels the loaded images draw.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "../tests/data/resources/PlatformTestsResource.h"
#include "GdiTestSupport.h"

namespace {

constexpr DWORD kMarker = 0xDEADBEEF;
constexpr COLORREF kFill = RGB(0x10, 0x20, 0x30);
// Pixels of the canvas are 0x00RRGGBB.
constexpr uint32_t kBackground = 0x102030, kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;
constexpr uint32_t kYellow = 0xFFFF00, kWhite = 0xFFFFFF;

HINSTANCE Self() { return GetModuleHandleW(nullptr); }

SIZE SizeOf(HICON icon) {
  SIZE size{0, 0};
  EXPECT_TRUE(GetIconSize(icon, &size));
  return size;
}

// Pixels of a bitmap, top-down, 0x00RRGGBB.
std::vector<uint32_t> PixelsOf(HBITMAP bitmap, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> raw(static_cast<size_t>(width * height));
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(height, GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), raw.data(), &info, DIB_RGB_COLORS));
  ReleaseDC(nullptr, screen);
  for (uint32_t& p : raw) p &= 0xFFFFFF;
  return raw;
}

TEST(ImageLoad, IconSizesChooseTheBestImageAndDrawThroughTheirMask) {
  // 16 x 16: red left, blue right, top-left 8 x 8 transparent.
  HICON small = static_cast<HICON>(LoadImageW(Self(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, 0));
  ASSERT_NE(nullptr, small);
  EXPECT_EQ(16, SizeOf(small).cx);
  {
    DibCanvas canvas(40, 40, kFill);
    ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, small, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(kBackground, canvas.At(2, 2));
    EXPECT_EQ(kRed, canvas.At(2, 12));
    EXPECT_EQ(kBlue, canvas.At(12, 2));
    EXPECT_EQ(kBackground, canvas.At(20, 20));
  }
  DestroyIcon(small);

  // 0 x 0 is the system's icon size: the 32 x 32 image, green left, yellow right.
  HICON large = static_cast<HICON>(LoadImageW(Self(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 0, 0, 0));
  ASSERT_NE(nullptr, large);
  EXPECT_EQ(32, SizeOf(large).cx);
  EXPECT_EQ(32, SizeOf(large).cy);
  {
    DibCanvas canvas(40, 40, kFill);
    ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, large, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(kBackground, canvas.At(4, 4));
    EXPECT_EQ(kGreen, canvas.At(4, 20));
    EXPECT_EQ(kYellow, canvas.At(20, 4));
  }
  DestroyIcon(large);

  // 20 x 20 is closer to 16 than to 32: the small image, stretched.
  HICON between = static_cast<HICON>(LoadImageW(Self(), u"appicon", IMAGE_ICON, 20, 20, 0));
  ASSERT_NE(nullptr, between);
  EXPECT_EQ(20, SizeOf(between).cx);
  {
    DibCanvas canvas(40, 40, kFill);
    ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, between, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(kRed, canvas.At(1, 18));
    EXPECT_EQ(kBlue, canvas.At(18, 1));
  }
  DestroyIcon(between);
}

TEST(ImageLoad, LoadIconIsSharedAtTheSystemSize) {
  HICON first = LoadIconW(Self(), MAKEINTRESOURCEW(IDI_APP));
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(first, LoadIconW(Self(), MAKEINTRESOURCEW(IDI_APP)));
  EXPECT_EQ(first, static_cast<HICON>(LoadImageW(Self(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 0, 0,
                                                 LR_SHARED | LR_DEFAULTSIZE)));
  EXPECT_EQ(32, SizeOf(first).cx);
  // Another size is another shared image.
  HICON small = static_cast<HICON>(LoadImageW(Self(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, LR_SHARED));
  EXPECT_NE(first, small);
  // An application that destroys a shared icon after all gets a working one the next time.
  DestroyIcon(small);
  HICON again = static_cast<HICON>(LoadImageW(Self(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, LR_SHARED));
  ASSERT_NE(nullptr, again);
  EXPECT_EQ(16, SizeOf(again).cx);

  HICON system = LoadIconW(nullptr, IDI_APPLICATION);
  ASSERT_NE(nullptr, system);
  EXPECT_EQ(32, SizeOf(system).cx);
}

TEST(ImageLoad, AlphaAndPngIconsAreTransparentWhereTheirAlphaIsZero) {
  HICON alpha = static_cast<HICON>(LoadImageW(Self(), MAKEINTRESOURCEW(IDI_ALPHA), IMAGE_ICON, 8, 8, 0));
  ASSERT_NE(nullptr, alpha);
  HICON png = static_cast<HICON>(LoadImageW(Self(), MAKEINTRESOURCEW(IDI_PNG), IMAGE_ICON, 4, 4, 0));
  ASSERT_NE(nullptr, png);
  DibCanvas canvas(20, 20, kFill);
  ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, alpha, 0, 0, 0, nullptr, DI_NORMAL));
  ASSERT_TRUE(DrawIconEx(canvas.dc(), 10, 10, png, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(kWhite, canvas.At(1, 1));
  EXPECT_EQ(kBackground, canvas.At(6, 1));
  EXPECT_EQ(kRed, canvas.At(11, 11));
  EXPECT_EQ(kBackground, canvas.At(11, 13));
  DestroyIcon(alpha);
  DestroyIcon(png);
}

TEST(ImageLoad, AnIconTakesTheImageCompiledWithItsGroup) {
  // SecondScript.rc numbers its 8 x 8 white image 1, as PlatformTests.rc numbers the red and
  // blue 16 x 16 one; the Japanese one would win a plain look-up by language.
  HICON icon = static_cast<HICON>(LoadImageW(Self(), MAKEINTRESOURCEW(IDI_SECOND_SCRIPT), IMAGE_ICON, 8, 8, 0));
  ASSERT_NE(nullptr, icon);
  DibCanvas canvas(8, 8, kFill);
  ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(kWhite, canvas.At(1, 6));
  EXPECT_EQ(kBackground, canvas.At(6, 6));
  DestroyIcon(icon);
}

TEST(ImageLoad, BitmapsOfEachDepthGiveTheSamePixels) {
  for (int id : {IDB_FOUR, IDB_EIGHT, IDB_RGB24}) {
    SCOPED_TRACE(id);
    HBITMAP bitmap = LoadBitmapW(Self(), MAKEINTRESOURCEW(id));
    ASSERT_NE(nullptr, bitmap);
    BITMAP info{};
    ASSERT_EQ(static_cast<int>(sizeof info), GetObjectW(bitmap, sizeof info, &info));
    EXPECT_EQ(5, info.bmWidth);
    EXPECT_EQ(3, info.bmHeight);
    const std::vector<uint32_t> pixels = PixelsOf(bitmap, 5, 3);
    // Red where x < 2, green on the top row, blue elsewhere; rows were stored bottom-up.
    EXPECT_EQ(kRed, pixels[0]);
    EXPECT_EQ(kRed, pixels[2 * 5 + 1]);
    EXPECT_EQ(kGreen, pixels[4]);
    EXPECT_EQ(kBlue, pixels[1 * 5 + 2]);
    EXPECT_EQ(kBlue, pixels[2 * 5 + 4]);
    DeleteObject(bitmap);
  }
  // A DIB section stretched to 10 x 6 keeps the picture.
  HBITMAP stretched = static_cast<HBITMAP>(
      LoadImageW(Self(), MAKEINTRESOURCEW(IDB_RGB24), IMAGE_BITMAP, 10, 6, LR_CREATEDIBSECTION));
  ASSERT_NE(nullptr, stretched);
  DIBSECTION section{};
  ASSERT_EQ(static_cast<int>(sizeof section), GetObjectW(stretched, sizeof section, &section));
  EXPECT_EQ(10, section.dsBm.bmWidth);
  const std::vector<uint32_t> pixels = PixelsOf(stretched, 10, 6);
  EXPECT_EQ(kRed, pixels[3]);
  EXPECT_EQ(kGreen, pixels[9]);
  EXPECT_EQ(kBlue, pixels[5 * 10 + 9]);
  DeleteObject(stretched);
}

TEST(ImageLoad, MissingAndUnsupportedRequestsFailWithThePlatformsCodes) {
  SetLastError(kMarker);
  EXPECT_EQ(nullptr, LoadImageW(Self(), MAKEINTRESOURCEW(999), IMAGE_ICON, 0, 0, 0));
  EXPECT_EQ(static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND), GetLastError());
  SetLastError(kMarker);
  EXPECT_EQ(nullptr, LoadBitmapW(Self(), u"NOSUCHBITMAP"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND), GetLastError());
  SetLastError(kMarker);
  EXPECT_EQ(nullptr, LoadImageW(Self(), MAKEINTRESOURCEW(1), IMAGE_CURSOR, 0, 0, 0));
  EXPECT_EQ(static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND), GetLastError());
  SetLastError(kMarker);
  EXPECT_EQ(nullptr, LoadIconW(nullptr, MAKEINTRESOURCEW(5)));
  EXPECT_EQ(static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND), GetLastError());
  SetLastError(kMarker);
  EXPECT_EQ(nullptr, LoadImageW(Self(), u"app.ico", IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
  EXPECT_EQ(static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED), GetLastError());
  SetLastError(kMarker);
  EXPECT_EQ(nullptr, LoadImageW(Self(), MAKEINTRESOURCEW(IDI_APP), 7, 0, 0, 0));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

// The group and image resources, read as an application does.
std::vector<BYTE> Resource(LPCWSTR name, LPCWSTR type) {
  HRSRC found = FindResourceW(Self(), name, type);
  if (!found) return {};
  const BYTE* bytes = static_cast<const BYTE*>(LockResource(LoadResource(Self(), found)));
  return std::vector<BYTE>(bytes, bytes + SizeofResource(Self(), found));
}

TEST(ImageLoad, LookupIconIdPrefersSizeThenDepth) {
  std::vector<BYTE> group = Resource(MAKEINTRESOURCEW(IDI_APP), RT_GROUP_ICON);
  ASSERT_EQ(6u + 2 * 14, group.size());
  const int smallId = group[6 + 12];
  const int largeId = group[6 + 14 + 12];
  EXPECT_EQ(smallId, LookupIconIdFromDirectoryEx(group.data(), TRUE, 16, 16, 0));
  EXPECT_EQ(largeId, LookupIconIdFromDirectoryEx(group.data(), TRUE, 30, 30, 0));
  EXPECT_EQ(largeId, LookupIconIdFromDirectory(group.data(), TRUE));
  EXPECT_EQ(smallId, LookupIconIdFromDirectoryEx(group.data(), TRUE, 8, 8, 0));
  EXPECT_EQ(0, LookupIconIdFromDirectoryEx(group.data(), FALSE, 16, 16, 0));  // not a cursor group

  // Two 16 x 16 entries, 4 and 32 bits: the screen's depth wins, LR_MONOCHROME takes the fewest.
  const BYTE depths[6 + 2 * 14] = {0, 0, 1, 0, 2, 0,
                                   16, 16, 16, 0, 1, 0, 4, 0, 0, 1, 0, 0, 7, 0,
                                   16, 16, 0, 0, 1, 0, 32, 0, 0, 4, 0, 0, 9, 0};
  std::vector<BYTE> copy(std::begin(depths), std::end(depths));
  EXPECT_EQ(9, LookupIconIdFromDirectoryEx(copy.data(), TRUE, 16, 16, LR_DEFAULTCOLOR));
  EXPECT_EQ(7, LookupIconIdFromDirectoryEx(copy.data(), TRUE, 16, 16, LR_MONOCHROME));
}

TEST(ImageLoad, CreateIconFromResourceChecksItsInput) {
  std::vector<BYTE> image = Resource(MAKEINTRESOURCEW(2), RT_ICON);
  ASSERT_FALSE(image.empty());
  HICON icon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE, 0x00030000, 0, 0,
                                        LR_DEFAULTCOLOR);
  ASSERT_NE(nullptr, icon);
  EXPECT_EQ(32, SizeOf(icon).cx);
  DestroyIcon(icon);

  SetLastError(kMarker);
  EXPECT_EQ(nullptr, CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE, 0x00010000, 0,
                                              0, 0));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
  // Cut anywhere, the image is refused rather than read beyond its end.
  for (size_t cut : {size_t{1}, size_t{39}, size_t{40}, size_t{104}, image.size() / 2, image.size() - 1}) {
    SCOPED_TRACE(cut);
    SetLastError(kMarker);
    EXPECT_EQ(nullptr, CreateIconFromResourceEx(image.data(), static_cast<DWORD>(cut), TRUE, 0x00030000, 0, 0, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
  }
}

}  // namespace
