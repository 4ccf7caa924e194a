// PNG-compressed icon images, read with libpng's simplified interface from memory.
#include <png.h>

#include <cstring>

#include "images/DibPixels.h"

namespace vela::images {

bool IsPng(const uint8_t* data, size_t size) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return data && size >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

bool DecodePng(const uint8_t* data, size_t size, Pixels* out, std::vector<uint8_t>* mask) {
  if (!IsPng(data, size)) {
    return false;
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) {
    return false;
  }
  if (image.width == 0 || image.height == 0 || image.width > 1024 || image.height > 1024) {
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB
  std::vector<uint32_t> argb(static_cast<size_t>(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, argb.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  out->width = static_cast<int>(image.width);
  out->height = static_cast<int>(image.height);
  out->argb = std::move(argb);
  out->hasAlpha = true;
  if (mask) {
    mask->assign(out->argb.size(), 0);
    for (size_t i = 0; i < out->argb.size(); ++i) {
      (*mask)[i] = (out->argb[i] >> 24) == 0;
    }
  }
  return true;
}

}  // namespace vela::images
