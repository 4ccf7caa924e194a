// The DIB and PNG decoding under the image loaders: pixels of each depth and orientation, and
// refusal of damaged or truncated bytes without reading past them.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "images/DibPixels.h"

namespace {

using vela::images::DecodeDib;
using vela::images::DecodePng;
using vela::images::Pixels;

std::vector<uint8_t> ReadImage(const std::string& name, size_t skip = 0) {
  std::ifstream in(std::string(VELA_TEST_DATA) + "/images/" + name, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(skip, bytes.size())));
  return bytes;
}

// A BITMAPINFOHEADER followed by table and rows.
std::vector<uint8_t> Dib(int32_t width, int32_t height, uint16_t bits, uint32_t colorsUsed,
                         const std::vector<uint8_t>& rest, uint32_t compression = 0) {
  // Reserved whole first: GCC 12 at -O2 misreads a growing insert as an overrun otherwise.
  std::vector<uint8_t> out;
  out.reserve(40 + rest.size());
  out.resize(40, 0);
  auto put = [&out](size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
  };
  put(0, 40, 4);
  put(4, static_cast<uint32_t>(width), 4);
  put(8, static_cast<uint32_t>(height), 4);
  put(12, 1, 2);
  put(14, bits, 2);
  put(16, compression, 4);
  put(32, colorsUsed, 4);
  out.insert(out.end(), rest.begin(), rest.end());
  return out;
}

TEST(ImageDecode, BitmapsOfEachDepthDecodeToTheSamePicture) {
  for (const char* name : {"four.bmp", "eight.bmp", "rgb24.bmp"}) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> dib = ReadImage(name, 14);
    Pixels pixels;
    ASSERT_TRUE(DecodeDib(dib.data(), dib.size(), false, &pixels, nullptr));
    ASSERT_EQ(5, pixels.width);
    ASSERT_EQ(3, pixels.height);
    EXPECT_EQ(0xFFFF0000u, pixels.argb[0]);
    EXPECT_EQ(0xFF00FF00u, pixels.argb[4]);
    EXPECT_EQ(0xFF0000FFu, pixels.argb[2 * 5 + 4]);
    EXPECT_FALSE(pixels.hasAlpha);
    // Any shorter copy is refused (ASan would see a read past the end).
    for (size_t cut = 0; cut < dib.size(); ++cut) {
      std::vector<uint8_t> shorter(dib.begin(), dib.begin() + static_cast<std::ptrdiff_t>(cut));
      ASSERT_FALSE(DecodeDib(shorter.data(), shorter.size(), false, &pixels, nullptr)) << cut;
    }
  }
}

TEST(ImageDecode, IconImagesSplitIntoColoursAndMask) {
  const std::vector<uint8_t> ico = ReadImage("app.ico");
  const std::vector<uint8_t> small(ico.begin() + 38, ico.begin() + 38 + 296);
  Pixels pixels;
  std::vector<uint8_t> mask;
  ASSERT_TRUE(DecodeDib(small.data(), small.size(), true, &pixels, &mask));
  EXPECT_EQ(16, pixels.width);
  EXPECT_EQ(16, pixels.height);
  EXPECT_EQ(0xFFFF0000u, pixels.argb[15 * 16 + 0]);
  EXPECT_EQ(0xFF0000FFu, pixels.argb[15]);
  EXPECT_EQ(1, mask[0]);
  EXPECT_EQ(1, mask[7 * 16 + 7]);
  EXPECT_EQ(0, mask[8 * 16 + 7]);
  EXPECT_EQ(0, mask[7 * 16 + 8]);
  // The mask rows are part of the image: without them it is refused.
  EXPECT_FALSE(DecodeDib(small.data(), small.size() - 1, true, &pixels, &mask));
  // An icon header counts both parts, so an odd height is damaged.
  std::vector<uint8_t> odd = small;
  odd[8] = 31;
  EXPECT_FALSE(DecodeDib(odd.data(), odd.size(), true, &pixels, &mask));
}

TEST(ImageDecode, OrientationTablesAndSixteenBits) {
  // 1 x 2 at 24 bits, top-down: the first stored row is the top one.
  const std::vector<uint8_t> topDown = Dib(1, -2, 24, 0, {0, 0, 255, 0, 0, 255, 0, 0});
  Pixels pixels;
  ASSERT_TRUE(DecodeDib(topDown.data(), topDown.size(), false, &pixels, nullptr));
  EXPECT_EQ(0xFFFF0000u, pixels.argb[0]);
  EXPECT_EQ(0xFF00FF00u, pixels.argb[1]);

  // A 2-entry table with a pixel of index 5: black, as the platform draws it.
  const std::vector<uint8_t> shortTable = Dib(2, 1, 4, 2, {255, 255, 255, 0, 0, 0, 255, 0, 0x15, 0, 0, 0});
  ASSERT_TRUE(DecodeDib(shortTable.data(), shortTable.size(), false, &pixels, nullptr));
  EXPECT_EQ(0xFFFF0000u, pixels.argb[0]);
  EXPECT_EQ(0xFF000000u, pixels.argb[1]);

  // 5-5-5: full red and full blue.
  const std::vector<uint8_t> sixteen = Dib(2, 1, 16, 0, {0x00, 0x7C, 0x1F, 0x00});
  ASSERT_TRUE(DecodeDib(sixteen.data(), sixteen.size(), false, &pixels, nullptr));
  EXPECT_EQ(0xFFFF0000u, pixels.argb[0]);
  EXPECT_EQ(0xFF0000FFu, pixels.argb[1]);

  // 32 bits with alpha keep it; without any alpha they are opaque.
  const std::vector<uint8_t> alpha = Dib(2, 1, 32, 0, {1, 2, 3, 0x80, 4, 5, 6, 0});
  ASSERT_TRUE(DecodeDib(alpha.data(), alpha.size(), false, &pixels, nullptr));
  EXPECT_TRUE(pixels.hasAlpha);
  EXPECT_EQ(0x80030201u, pixels.argb[0]);
  const std::vector<uint8_t> opaque = Dib(1, 1, 32, 0, {1, 2, 3, 0});
  ASSERT_TRUE(DecodeDib(opaque.data(), opaque.size(), false, &pixels, nullptr));
  EXPECT_FALSE(pixels.hasAlpha);
  EXPECT_EQ(0xFF030201u, pixels.argb[0]);
}

TEST(ImageDecode, DamagedHeadersAreRefused) {
  const std::vector<uint8_t> row = {0, 0, 0, 0};
  const std::vector<std::vector<uint8_t>> damaged = {
      Dib(1, 1, 24, 0, row, 1),             // RLE8
      Dib(1, 1, 2, 0, row),                 // 2 bits per pixel
      Dib(0, 1, 24, 0, row),                // no width
      Dib(1, 0, 24, 0, row),                // no height
      Dib(0x7FFFFFFF, 1, 24, 0, row),       // rows that would overflow
      Dib(1, 1, 8, 100000, row),            // a table larger than 256 entries
      Dib(1, 1, 24, 0x40000000, row),       // a table beside true colours that overflows
  };
  for (size_t i = 0; i < damaged.size(); ++i) {
    Pixels pixels;
    EXPECT_FALSE(DecodeDib(damaged[i].data(), damaged[i].size(), false, &pixels, nullptr)) << i;
  }
}

TEST(ImageDecode, PngIconImagesAndScaling) {
  const std::vector<uint8_t> png = ReadImage("png.ico", 22);
  Pixels pixels;
  std::vector<uint8_t> mask;
  ASSERT_TRUE(vela::images::IsPng(png.data(), png.size()));
  ASSERT_TRUE(DecodePng(png.data(), png.size(), &pixels, &mask));
  EXPECT_EQ(4, pixels.width);
  EXPECT_EQ(0xFFFF0000u, pixels.argb[0]);
  EXPECT_EQ(0, mask[0]);
  EXPECT_EQ(1, mask[3 * 4 + 3]);
  std::vector<uint8_t> broken = png;
  broken.resize(broken.size() - 20);
  EXPECT_FALSE(DecodePng(broken.data(), broken.size(), &pixels, &mask));

  // 4 x 4 to 2 x 8: every other column, each row twice.
  ASSERT_TRUE(DecodePng(png.data(), png.size(), &pixels, &mask));
  vela::images::Scale(&pixels, &mask, 2, 8);
  ASSERT_EQ(16u, pixels.argb.size());
  EXPECT_EQ(0xFFFF0000u, pixels.argb[3 * 2 + 1]);
  EXPECT_EQ(0, mask[3 * 2 + 1]);
  EXPECT_EQ(1, mask[4 * 2]);
}

}  // namespace
