#include "images/ResourceBitmap.h"

#include <cstring>

namespace vela::images {

HBITMAP DibSectionOf(const Pixels& pixels, bool bottomUp) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = bottomUp ? pixels.height : -pixels.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* target = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &target, nullptr, 0);
  if (!bitmap || !target) {
    return bitmap;
  }
  auto* rows = static_cast<uint32_t*>(target);
  const size_t width = static_cast<size_t>(pixels.width);
  for (int y = 0; y < pixels.height; ++y) {
    const int stored = bottomUp ? pixels.height - 1 - y : y;
    std::memcpy(rows + static_cast<size_t>(stored) * width, pixels.argb.data() + static_cast<size_t>(y) * width,
                width * sizeof(uint32_t));
  }
  return bitmap;
}

HBITMAP BitmapFromPackedDib(const BYTE* bits, size_t size, int cx, int cy, UINT flags) {
  Pixels pixels;
  if (!DecodeDib(bits, size, false, &pixels, nullptr)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  Scale(&pixels, nullptr, cx > 0 ? cx : pixels.width, cy > 0 ? cy : pixels.height);
  for (uint32_t& p : pixels.argb) {
    p &= 0x00FFFFFFu;  // device bitmaps carry no alpha
  }
  if (flags & LR_CREATEDIBSECTION) {
    return DibSectionOf(pixels, true);
  }
  // 32-bit rows are 16-bit aligned already, as CreateBitmap wants them.
  return CreateBitmap(pixels.width, pixels.height, 1, 32, pixels.argb.data());
}

}  // namespace vela::images
