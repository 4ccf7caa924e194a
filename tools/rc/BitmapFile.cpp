#include "BitmapFile.h"

#include <string_view>

#include "LittleEndian.h"

namespace vela::rc {
namespace {

constexpr size_t kFileHeaderSize = 14;  // BITMAPFILEHEADER

const char* CompressionName(uint32_t compression) {
  switch (compression) {
    case 1: return "RLE8";
    case 2: return "RLE4";
    case 3: return "BI_BITFIELDS";
    case 4: return "JPEG";
    case 5: return "PNG";
    default: return "an unknown compression";
  }
}

}  // namespace

std::vector<uint8_t> ReadBitmapFile(const std::string& bytes, const std::string& path, const SourceLocation& where) {
  const std::string_view file(bytes);
  const std::string what = "bitmap file '" + path + "' ";
  if (file.size() < kFileHeaderSize + 4 || file[0] != 'B' || file[1] != 'M') {
    throw RcError(where, what + "is no bitmap file");
  }
  const uint32_t headerSize = Get32(file, kFileHeaderSize);
  if (headerSize == 12) {
    throw RcError(where, what + "has an old OS/2 header; save it with a Windows bitmap header");
  }
  if (headerSize < 40 || kFileHeaderSize + headerSize > file.size()) {
    throw RcError(where, what + "has a bad or truncated bitmap header");
  }
  const std::string_view info = file.substr(kFileHeaderSize);
  const int32_t width = static_cast<int32_t>(Get32(info, 4));
  const int32_t height = static_cast<int32_t>(Get32(info, 8));
  const uint16_t bitCount = Get16(info, 14);
  const uint32_t compression = Get32(info, 16);
  if (width <= 0 || width > 32767 || height == 0 || height < -32767 || height > 32767) {
    throw RcError(where, what + "has a bad size " + std::to_string(width) + " x " + std::to_string(height));
  }
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    throw RcError(where, what + "has " + std::to_string(bitCount) + " bits per pixel; 1, 4, 8, 16, 24 or 32 are supported");
  }
  if (compression != 0) {
    throw RcError(where, what + "uses " + CompressionName(compression) +
                             "; only uncompressed (BI_RGB) bitmaps are supported");
  }
  uint64_t colors = Get32(info, 32);
  if (colors == 0 && bitCount <= 8) {
    colors = 1u << bitCount;
  }
  if (colors > 256) {
    throw RcError(where, what + "has a colour table of " + std::to_string(colors) + " entries");
  }
  const uint64_t table = headerSize + colors * 4;
  const uint64_t rows = static_cast<uint64_t>(height < 0 ? -static_cast<int64_t>(height) : height);
  const uint64_t pixels = ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4 * rows;
  const uint64_t bitsOffset = Get32(file, 10);
  if (kFileHeaderSize + table > file.size() || bitsOffset < kFileHeaderSize + table ||
      bitsOffset + pixels > file.size()) {
    throw RcError(where, what + "is truncated (" + std::to_string(file.size()) + " bytes)");
  }
  std::vector<uint8_t> out(file.begin() + kFileHeaderSize, file.begin() + static_cast<std::ptrdiff_t>(kFileHeaderSize + table));
  out.insert(out.end(), file.begin() + static_cast<std::ptrdiff_t>(bitsOffset),
             file.begin() + static_cast<std::ptrdiff_t>(bitsOffset + pixels));
  return out;
}

}  // namespace vela::rc
