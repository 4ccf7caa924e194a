#include "IconFile.h"

#include <string_view>

#include "LittleEndian.h"

namespace vela::rc {
namespace {

constexpr size_t kDirectorySize = 6;   // ICONDIR
constexpr size_t kFileEntrySize = 16;  // ICONDIRENTRY
constexpr size_t kInfoHeaderSize = 40; // BITMAPINFOHEADER
constexpr char kPngSignature[] = "\x89PNG\r\n\x1A\n";

size_t RowBytes(uint64_t width, uint32_t bitCount) { return static_cast<size_t>(((width * bitCount + 31) / 32) * 4); }

// A DIB icon image holds its header, palette, colour rows and mask rows, height counting both.
void CheckDib(std::string_view image, const std::string& problem, const SourceLocation& where, IconImage* out) {
  if (image.size() < kInfoHeaderSize || Get32(image, 0) < kInfoHeaderSize) {
    throw RcError(where, problem + "has no bitmap header");
  }
  const int32_t width = static_cast<int32_t>(Get32(image, 4));
  const int32_t height = static_cast<int32_t>(Get32(image, 8));
  const uint16_t bitCount = Get16(image, 14);
  const uint32_t compression = Get32(image, 16);
  if (width <= 0 || width > 1024 || height <= 0 || height > 2048 || height % 2 != 0) {
    throw RcError(where, problem + "has a bad size " + std::to_string(width) + " x " + std::to_string(height));
  }
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    throw RcError(where, problem + "has " + std::to_string(bitCount) + " bits per pixel");
  }
  if (compression != 0) {
    throw RcError(where, problem + "is compressed; only uncompressed (BI_RGB) images are supported");
  }
  uint64_t colors = Get32(image, 32);
  if (colors == 0 && bitCount <= 8) {
    colors = 1u << bitCount;
  }
  const uint64_t rows = static_cast<uint64_t>(height) / 2;
  const uint64_t needed = Get32(image, 0) + colors * 4 + RowBytes(static_cast<uint64_t>(width), bitCount) * rows +
                          RowBytes(static_cast<uint64_t>(width), 1) * rows;
  if (colors > 256 || needed > image.size()) {
    throw RcError(where, problem + "is truncated (" + std::to_string(image.size()) + " bytes, " +
                             std::to_string(needed) + " needed)");
  }
  if (out->planes == 0) {
    out->planes = Get16(image, 12);
  }
  if (out->bitCount == 0) {
    out->bitCount = bitCount;
  }
}

}  // namespace

std::vector<IconImage> ReadIconFile(const std::string& bytes, const std::string& path, const SourceLocation& where) {
  const std::string_view file(bytes);
  const std::string what = "icon file '" + path + "' ";
  if (file.size() < kDirectorySize || Get16(file, 0) != 0) {
    throw RcError(where, what + "is no icon file");
  }
  if (Get16(file, 2) == 2) {
    throw RcError(where, what + "is a cursor, not an icon");
  }
  if (Get16(file, 2) != 1) {
    throw RcError(where, what + "is no icon file");
  }
  const size_t count = Get16(file, 4);
  if (count == 0) {
    throw RcError(where, what + "holds no image");
  }
  if (kDirectorySize + count * kFileEntrySize > file.size()) {
    throw RcError(where, what + "is truncated: its directory of " + std::to_string(count) + " images is cut off");
  }
  std::vector<IconImage> images;
  for (size_t i = 0; i < count; ++i) {
    const size_t entry = kDirectorySize + i * kFileEntrySize;
    IconImage image;
    image.width = static_cast<uint8_t>(file[entry]);
    image.height = static_cast<uint8_t>(file[entry + 1]);
    image.colorCount = static_cast<uint8_t>(file[entry + 2]);
    image.planes = Get16(file, entry + 4);
    image.bitCount = Get16(file, entry + 6);
    const uint64_t size = Get32(file, entry + 8);
    const uint64_t offset = Get32(file, entry + 12);
    const std::string problem = what + "image " + std::to_string(i + 1) + " ";
    if (size == 0 || offset + size > file.size()) {
      throw RcError(where, problem + "is truncated: it lies beyond the end of the file");
    }
    const std::string_view data = file.substr(static_cast<size_t>(offset), static_cast<size_t>(size));
    if (data.size() >= 8 && data.substr(0, 8) == std::string_view(kPngSignature, 8)) {
      // PNG images are kept as they are; the loader decodes them.
      if (image.planes == 0) image.planes = 1;
      if (image.bitCount == 0) image.bitCount = 32;
    } else {
      CheckDib(data, problem, where, &image);
    }
    image.bytes.assign(data.begin(), data.end());
    images.push_back(std::move(image));
  }
  return images;
}

std::vector<uint8_t> GroupIconDirectory(const std::vector<IconImage>& images, uint16_t firstId) {
  std::vector<uint8_t> out;
  Append16(&out, 0);
  Append16(&out, 1);
  Append16(&out, static_cast<uint32_t>(images.size()));
  for (size_t i = 0; i < images.size(); ++i) {
    const IconImage& image = images[i];
    out.push_back(image.width);
    out.push_back(image.height);
    out.push_back(image.colorCount);
    out.push_back(0);
    Append16(&out, image.planes);
    Append16(&out, image.bitCount);
    Append32(&out, static_cast<uint32_t>(image.bytes.size()));
    Append16(&out, static_cast<uint32_t>(firstId + i));
  }
  return out;
}

}  // namespace vela::rc
