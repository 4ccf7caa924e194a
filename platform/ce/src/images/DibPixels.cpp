#include "images/DibPixels.h"

#include <cstring>

namespace vela::images {
namespace {

constexpr uint32_t kInfoHeaderSize = 40;
constexpr int kMaxSide = 16384;

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Read32(const uint8_t* p) { return Read16(p) | (static_cast<uint32_t>(Read16(p + 2)) << 16); }

size_t RowBytes(int width, int bitCount) {
  return ((static_cast<size_t>(width) * static_cast<size_t>(bitCount) + 31) / 32) * 4;
}

uint32_t PixelAt(const uint8_t* row, int x, int bitCount, const uint32_t* table, size_t tableSize) {
  size_t index = 0;
  switch (bitCount) {
    case 1:
      index = (row[x / 8] >> (7 - x % 8)) & 1;
      break;
    case 4:
      index = (row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF;
      break;
    case 8:
      index = row[x];
      break;
    case 16: {
      const uint16_t v = Read16(row + 2 * x);
      const uint32_t r = (v >> 10) & 0x1F, g = (v >> 5) & 0x1F, b = v & 0x1F;
      return 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 3 | g >> 2) << 8) | (b << 3 | b >> 2);
    }
    case 24: {
      const uint8_t* p = row + 3 * x;
      return 0xFF000000u | (static_cast<uint32_t>(p[2]) << 16) | (p[1] << 8) | p[0];
    }
    default:
      return Read32(row + 4 * x);
  }
  // An index beyond a short colour table is black, as the platform draws it.
  return index < tableSize ? table[index] : 0xFF000000u;
}

}  // namespace

bool DecodeDib(const uint8_t* data, size_t size, bool iconImage, Pixels* out, std::vector<uint8_t>* mask) {
  if (!data || size < kInfoHeaderSize) {
    return false;
  }
  const uint32_t headerSize = Read32(data);
  const int32_t width = static_cast<int32_t>(Read32(data + 4));
  int32_t height = static_cast<int32_t>(Read32(data + 8));
  const int bitCount = Read16(data + 14);
  const uint32_t compression = Read32(data + 16);
  uint32_t colors = Read32(data + 32);
  if (headerSize < kInfoHeaderSize || headerSize > size || compression != 0 || width <= 0 || width > kMaxSide ||
      height == 0 || height < -kMaxSide || height > kMaxSide) {
    return false;
  }
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    return false;
  }
  if (bitCount <= 8 && colors == 0) {
    colors = 1u << bitCount;
  }
  if (bitCount > 8) {
    colors = 0;  // a table beside true colours only hints at a palette; the pixels do not use it
    if (Read32(data + 32) > 256) return false;
  }
  if (colors > 256) {
    return false;
  }
  const bool topDown = height < 0;
  if (topDown) {
    height = -height;
  }
  if (iconImage) {
    if (topDown || height % 2 != 0) {
      return false;
    }
    height /= 2;
  }
  const size_t tableAt = headerSize;
  const size_t tableBytes = static_cast<size_t>(bitCount <= 8 ? colors : Read32(data + 32)) * 4;
  const size_t rowBytes = RowBytes(width, bitCount);
  const size_t maskRowBytes = RowBytes(width, 1);
  const size_t rowsAt = tableAt + tableBytes;
  const size_t rowsBytes = rowBytes * static_cast<size_t>(height);
  const size_t maskAt = rowsAt + rowsBytes;
  if (rowsAt > size || rowsBytes > size - rowsAt ||
      (iconImage && maskRowBytes * static_cast<size_t>(height) > size - maskAt)) {
    return false;
  }
  uint32_t table[256];
  for (uint32_t i = 0; i < colors; ++i) {
    const uint8_t* q = data + tableAt + 4 * i;
    table[i] = 0xFF000000u | (static_cast<uint32_t>(q[2]) << 16) | (q[1] << 8) | q[0];
  }
  out->width = width;
  out->height = height;
  out->argb.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  out->hasAlpha = false;
  for (int y = 0; y < height; ++y) {
    const int stored = topDown ? y : height - 1 - y;
    const uint8_t* row = data + rowsAt + rowBytes * static_cast<size_t>(stored);
    uint32_t* target = out->argb.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
    for (int x = 0; x < width; ++x) {
      target[x] = PixelAt(row, x, bitCount, table, colors);
      out->hasAlpha = out->hasAlpha || (bitCount == 32 && (target[x] >> 24) != 0);
    }
  }
  if (bitCount == 32 && !out->hasAlpha) {
    // Without alpha a 32-bit DIB is opaque.
    for (uint32_t& p : out->argb) p |= 0xFF000000u;
  }
  if (iconImage && mask) {
    mask->assign(out->argb.size(), 0);
    for (int y = 0; y < height; ++y) {
      const uint8_t* row = data + maskAt + maskRowBytes * static_cast<size_t>(height - 1 - y);
      for (int x = 0; x < width; ++x) {
        (*mask)[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
            (row[x / 8] >> (7 - x % 8)) & 1;
      }
    }
  }
  return true;
}

void Scale(Pixels* pixels, std::vector<uint8_t>* mask, int width, int height) {
  if (width <= 0 || height <= 0 || (width == pixels->width && height == pixels->height)) {
    return;
  }
  std::vector<uint32_t> argb(static_cast<size_t>(width) * static_cast<size_t>(height));
  std::vector<uint8_t> scaledMask(mask ? argb.size() : 0);
  for (int y = 0; y < height; ++y) {
    const size_t sy = static_cast<size_t>(y) * static_cast<size_t>(pixels->height) / static_cast<size_t>(height);
    for (int x = 0; x < width; ++x) {
      const size_t sx = static_cast<size_t>(x) * static_cast<size_t>(pixels->width) / static_cast<size_t>(width);
      const size_t from = sy * static_cast<size_t>(pixels->width) + sx;
      const size_t to = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
      argb[to] = pixels->argb[from];
      if (mask && !mask->empty()) {
        scaledMask[to] = (*mask)[from];
      }
    }
  }
  pixels->argb = std::move(argb);
  pixels->width = width;
  pixels->height = height;
  if (mask && !mask->empty()) {
    *mask = std::move(scaledMask);
  }
}

}  // namespace vela::images
