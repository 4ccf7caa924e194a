#include "gdi/Dib.h"

#include <cstring>

namespace vela::gdi {

size_t DibColorTableBytes(const BITMAPINFOHEADER& h) {
  size_t bytes = 0;
  if (h.biCompression == BI_BITFIELDS && h.biSize == sizeof(BITMAPINFOHEADER)) bytes += 12;
  if (h.biBitCount <= 8) {
    const DWORD maximum = 1u << h.biBitCount;
    const DWORD used = h.biClrUsed == 0 || h.biClrUsed > maximum ? maximum : h.biClrUsed;
    bytes += used * sizeof(RGBQUAD);
  }
  return bytes;
}

bool DibFormat(const BITMAPINFO* info, UINT usage, Surface& s) {
  if (!info) return false;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER)) return false;
  if (usage != DIB_RGB_COLORS) return false;
  const LONG height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  if (h.biWidth <= 0 || height <= 0 || h.biWidth > kMaxBitmapSide || height > kMaxBitmapSide) return false;
  switch (h.biBitCount) {
    case 1: case 4: case 8: case 24:
      if (h.biCompression != BI_RGB) return false;
      break;
    case 16: case 32:
      if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) return false;
      break;
    default:
      return false;
  }
  s.width = h.biWidth;
  s.height = height;
  s.bpp = h.biBitCount;
  s.bottomUp = h.biHeight > 0;
  s.strideBytes = Surface::DibStride(s.width, s.bpp);
  s.monoDdb = false;
  const auto* after = reinterpret_cast<const std::uint8_t*>(info) + h.biSize;
  s.masks[0] = s.masks[1] = s.masks[2] = 0;
  if (h.biCompression == BI_BITFIELDS) {
    std::memcpy(s.masks, after, 12);
    if (h.biSize == sizeof(BITMAPINFOHEADER)) after += 12;
    if (s.masks[0] == 0 || s.masks[1] == 0 || s.masks[2] == 0) return false;
    if (s.bpp == 32 && s.masks[0] == 0xFF0000 && s.masks[1] == 0xFF00 && s.masks[2] == 0xFF) {
      s.masks[0] = s.masks[1] = s.masks[2] = 0;
    }
  } else if (s.bpp == 16) {
    s.masks[0] = 0x7C00;
    s.masks[1] = 0x03E0;
    s.masks[2] = 0x001F;
  }
  s.palette.clear();
  if (s.bpp <= 8) {
    const DWORD maximum = 1u << s.bpp;
    const DWORD used = h.biClrUsed == 0 || h.biClrUsed > maximum ? maximum : h.biClrUsed;
    for (DWORD i = 0; i < used; ++i) {
      RGBQUAD q;
      std::memcpy(&q, after + i * sizeof(RGBQUAD), sizeof q);
      s.palette.push_back((std::uint32_t{q.rgbRed} << 16) | (std::uint32_t{q.rgbGreen} << 8) | q.rgbBlue);
    }
  }
  return true;
}

bool WrapDib(const BITMAPINFO* info, UINT usage, const void* bits, Surface& out) {
  if (!bits || !DibFormat(info, usage, out)) return false;
  out.storage.clear();
  out.bits = static_cast<std::uint8_t*>(const_cast<void*>(bits));
  return true;
}

std::vector<std::uint32_t> DefaultPalette(int bpp) {
  if (bpp == 1) return {0x000000, 0xFFFFFF};
  static const std::uint32_t kVga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                         0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                         0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  std::vector<std::uint32_t> p(kVga, kVga + 16);
  if (bpp == 4) return p;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) p.push_back(static_cast<std::uint32_t>((r * 51) << 16 | (g * 51) << 8 | b * 51));
  while (p.size() < 256) {
    const auto grey = static_cast<std::uint32_t>((p.size() - 232) * 10 + 8);
    p.push_back(grey << 16 | grey << 8 | grey);
  }
  return p;
}

}  // namespace vela::gdi
