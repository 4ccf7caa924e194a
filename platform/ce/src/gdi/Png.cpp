// PNG files of screen images with libpng: 8-bit RGB, no time or text chunks, fixed compression,
// so the same picture always gives the same bytes.
#include <png.h>

#include <cstdio>
#include <memory>

#include <vela/Screen.h>

namespace vela::screen {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// libpng reports errors by longjmp: these keep nothing live across setjmp but their arguments.
bool Write(png_structp png, png_infop info, std::FILE* file, const Image& image, png_byte* row) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_init_io(png, file);
  png_set_compression_level(png, 6);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const std::uint32_t p = image.At(x, y);
      row[static_cast<size_t>(x) * 3] = static_cast<png_byte>(p >> 16);
      row[static_cast<size_t>(x) * 3 + 1] = static_cast<png_byte>(p >> 8);
      row[static_cast<size_t>(x) * 3 + 2] = static_cast<png_byte>(p);
    }
    png_write_row(png, row);
  }
  png_write_end(png, nullptr);
  return true;
}

bool Read(png_structp png, png_infop info, std::FILE* file, Image& image, std::vector<png_byte>& row) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_init_io(png, file);
  png_read_info(png, info);
  // Everything becomes 8-bit RGB without alpha.
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_strip_alpha(png);
  png_set_gray_to_rgb(png);
  png_read_update_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (width == 0 || height == 0 || width > 16384 || height > 16384 || png_get_rowbytes(png, info) != width * 3) {
    return false;
  }
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.pixels.resize(static_cast<size_t>(width) * height);
  row.resize(static_cast<size_t>(width) * 3);
  for (png_uint_32 y = 0; y < height; ++y) {
    png_read_row(png, row.data(), nullptr);
    for (png_uint_32 x = 0; x < width; ++x) {
      image.pixels[static_cast<size_t>(y) * width + x] =
          (std::uint32_t{row[x * 3]} << 16) | (std::uint32_t{row[x * 3 + 1]} << 8) | row[x * 3 + 2];
    }
  }
  return true;
}

}  // namespace

bool SavePng(const Image& image, const std::string& path) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) {
    return false;
  }
  const std::string temp = path + ".part";
  File file(std::fopen(temp.c_str(), "wb"));
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  std::vector<png_byte> row(static_cast<size_t>(image.width) * 3);
  bool ok = Write(png, info, file.get(), image, row.data());
  png_destroy_write_struct(&png, &info);
  ok = std::fflush(file.get()) == 0 && ok;
  file.reset();
  // A picture appears whole or not at all.
  if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

std::optional<Image> LoadPng(const std::string& path) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return std::nullopt;
  }
  Image image;
  std::vector<png_byte> row;
  const bool ok = Read(png, info, file.get(), image, row);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) return std::nullopt;
  return image;
}

}  // namespace vela::screen
