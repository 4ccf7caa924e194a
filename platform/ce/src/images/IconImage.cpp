#include "images/IconImage.h"

#include <cstring>

#include "images/IconDirectory.h"
#include "images/ResourceBitmap.h"

namespace vela::images {
namespace {

// Monochrome bitmaps of CreateBitmap take rows padded to 16 bits, top-down, first pixel in the
// high bit.
std::vector<uint8_t> MonochromeRows(const std::vector<uint8_t>& bits, int width, int height) {
  const size_t stride = ((static_cast<size_t>(width) + 15) / 16) * 2;
  std::vector<uint8_t> rows(stride * static_cast<size_t>(height), 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (bits[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]) {
        rows[static_cast<size_t>(y) * stride + static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  return rows;
}

}  // namespace

HICON MakeIcon(Pixels pixels, std::vector<uint8_t> mask, bool icon, POINT hotspot, UINT flags) {
  if (mask.size() != pixels.argb.size()) {
    mask.assign(pixels.argb.size(), 0);
  }
  for (size_t i = 0; i < pixels.argb.size(); ++i) {
    if (pixels.hasAlpha) {
      // Fully transparent pixels leave the screen alone even where the drawing uses the mask
      // only; the others keep their alpha for drawing that blends.
      if ((pixels.argb[i] >> 24) == 0) {
        mask[i] = 1;
        pixels.argb[i] = 0;
      }
    } else {
      // No alpha: the mask alone says what is transparent, as for the platform's classic icons.
      pixels.argb[i] &= 0x00FFFFFFu;
    }
  }
  ICONINFO info{};
  info.fIcon = icon ? TRUE : FALSE;
  info.xHotspot = static_cast<DWORD>(hotspot.x);
  info.yHotspot = static_cast<DWORD>(hotspot.y);
  HBITMAP colour = nullptr;
  HBITMAP maskBitmap = nullptr;
  if (flags & LR_MONOCHROME) {
    // AND mask over XOR image in one bitmap of twice the height; light colours become white.
    std::vector<uint8_t> both = mask;
    for (uint32_t p : pixels.argb) {
      const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      both.push_back((r * 30 + g * 59 + b * 11) / 100 >= 128);
    }
    const std::vector<uint8_t> rows = MonochromeRows(both, pixels.width, pixels.height * 2);
    maskBitmap = CreateBitmap(pixels.width, pixels.height * 2, 1, 1, rows.data());
  } else {
    const std::vector<uint8_t> rows = MonochromeRows(mask, pixels.width, pixels.height);
    maskBitmap = CreateBitmap(pixels.width, pixels.height, 1, 1, rows.data());
    colour = DibSectionOf(pixels, false);
    if (!colour) {
      if (maskBitmap) DeleteObject(maskBitmap);
      return nullptr;
    }
  }
  if (!maskBitmap) {
    if (colour) DeleteObject(colour);
    return nullptr;
  }
  info.hbmMask = maskBitmap;
  info.hbmColor = colour;
  HICON result = CreateIconIndirect(&info);
  // The icon keeps copies of both bitmaps.
  DeleteObject(maskBitmap);
  if (colour) DeleteObject(colour);
  return result;
}

HICON IconFromImageBits(const BYTE* bits, size_t size, bool icon, int cx, int cy, UINT flags) {
  POINT hotspot{0, 0};
  if (!icon) {
    if (size < 4) {
      SetLastError(ERROR_INVALID_DATA);
      return nullptr;
    }
    hotspot.x = bits[0] | (bits[1] << 8);
    hotspot.y = bits[2] | (bits[3] << 8);
    bits += 4;
    size -= 4;
  }
  Pixels pixels;
  std::vector<uint8_t> mask;
  const bool decoded = IsPng(bits, size) ? DecodePng(bits, size, &pixels, &mask)
                                         : DecodeDib(bits, size, true, &pixels, &mask);
  if (!decoded) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  const int width = cx > 0 ? cx : pixels.width;
  const int height = cy > 0 ? cy : pixels.height;
  if (width != pixels.width || height != pixels.height) {
    hotspot.x = hotspot.x * width / pixels.width;
    hotspot.y = hotspot.y * height / pixels.height;
    Scale(&pixels, &mask, width, height);
  }
  return MakeIcon(std::move(pixels), std::move(mask), icon, hotspot, flags);
}

}  // namespace vela::images

HICON CreateIconFromResourceEx(BYTE* presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer, int cxDesired,
                               int cyDesired, UINT Flags) {
  if (!presbits || dwResSize == 0 || (dwVer != 0x00030000 && dwVer != 0x00020000) || cxDesired < 0 ||
      cyDesired < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (Flags & LR_DEFAULTSIZE) {
    vela::images::ResolveIconSize(&cxDesired, &cyDesired);
  }
  return vela::images::IconFromImageBits(presbits, dwResSize, fIcon != FALSE, cxDesired, cyDesired, Flags);
}

HICON CreateIconFromResource(BYTE* presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer) {
  return CreateIconFromResourceEx(presbits, dwResSize, fIcon, dwVer, 0, 0, LR_DEFAULTSIZE | LR_DEFAULTCOLOR);
}
