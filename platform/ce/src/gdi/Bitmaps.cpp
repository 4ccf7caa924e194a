// Bitmaps: creation, DIB sections and the scan-line copies between bitmaps and DIBs.
#include <algorithm>
#include <cstring>

#include "gdi/Dc.h"
#include "gdi/Dib.h"

using namespace vela::gdi;

namespace {

bool SizeAcceptable(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide;
}

BitmapObject* NewMono(int width, int height) {
  auto* b = new BitmapObject();
  b->surface.width = width;
  b->surface.height = height;
  b->surface.bpp = 1;
  b->surface.monoDdb = true;
  b->surface.palette = {0x000000, 0xFFFFFF};
  b->surface.Allocate();
  return b;
}

BitmapObject* NewColor(int width, int height) {
  auto* b = new BitmapObject();
  b->surface.width = width;
  b->surface.height = height;
  b->surface.bpp = 32;
  b->surface.Allocate();
  return b;
}

HBITMAP Publish(BitmapObject* b) {
  Register(b);
  return HandleOf<HBITMAP>(b);
}

// Rows of device-dependent bits handed in and out are padded to 16 bits.
int DdbStride(int width, int bpp) { return ((width * bpp + 15) / 16) * 2; }

}  // namespace

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bpp, const void* bits) {
  if (width == 0 || height == 0) return HandleOf<HBITMAP>(DefaultMemoryBitmap());
  if (!SizeAcceptable(width, height) || planes != 1) return Fail(ERROR_INVALID_PARAMETER, HBITMAP{nullptr});
  if (bpp != 1 && bpp != 2 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
    return Fail(ERROR_INVALID_PARAMETER, HBITMAP{nullptr});
  }
  GdiLock lock(GdiMutex());
  BitmapObject* b = bpp == 1 ? NewMono(width, height) : NewColor(width, height);
  if (bits && bpp != 2) {
    Surface in;
    in.width = width;
    in.height = height;
    in.bpp = static_cast<int>(bpp);
    in.strideBytes = DdbStride(width, in.bpp);
    in.bits = static_cast<std::uint8_t*>(const_cast<void*>(bits));
    if (in.bpp == 16) in.masks[0] = 0xF800, in.masks[1] = 0x07E0, in.masks[2] = 0x001F;
    if (in.bpp <= 8) in.palette = DefaultPalette(in.bpp);
    std::vector<std::uint32_t> line(static_cast<size_t>(width));
    for (int y = 0; y < height; ++y) {
      in.ReadSpan(y, 0, width, line.data());
      b->surface.WriteSpan(y, 0, width, line.data());
    }
  }
  return Publish(b);
}

HBITMAP CreateBitmapIndirect(const BITMAP* bm) {
  if (!bm) return Fail(ERROR_INVALID_PARAMETER, HBITMAP{nullptr});
  return CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, HBITMAP{nullptr});
  if (width == 0 || height == 0) return HandleOf<HBITMAP>(DefaultMemoryBitmap());
  if (!SizeAcceptable(width, height)) return Fail(ERROR_INVALID_PARAMETER, HBITMAP{nullptr});
  const bool mono = dc->memory && dc->state.bitmap->surface.monoDdb;
  return Publish(mono ? NewMono(width, height) : NewColor(width, height));
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT iUsage, void** ppvBits, HANDLE hSection,
                         DWORD dwOffset) {
  if (ppvBits) *ppvBits = nullptr;
  if (hSection) {
    ReportUnsupported("CreateDIBSection with a file mapping");
    return nullptr;
  }
  GdiLock lock(GdiMutex());
  if (hdc && !LookupDc(hdc)) return Fail(ERROR_INVALID_HANDLE, HBITMAP{nullptr});
  auto* b = new BitmapObject();
  if (!DibFormat(pbmi, iUsage, b->surface)) {
    delete b;
    return Fail(ERROR_INVALID_PARAMETER, HBITMAP{nullptr});
  }
  const Surface format = b->surface;
  b->surface.Allocate();
  // Allocate fills in default 16-bit masks; keep those read from the header.
  std::memcpy(b->surface.masks, format.masks, sizeof format.masks);
  b->dibSection = true;
  b->dibHeader = pbmi->bmiHeader;
  b->dibHeader.biSizeImage = static_cast<DWORD>(b->surface.storage.size());
  if (ppvBits) *ppvBits = b->surface.bits;
  return Publish(b);
}

int GetDIBits(HDC hdc, HBITMAP hbmp, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT usage) {
  GdiLock lock(GdiMutex());
  auto* b = LookupAs<BitmapObject>(hbmp, OBJ_BITMAP);
  if (!LookupDc(hdc) || !b) return Fail(ERROR_INVALID_HANDLE, 0);
  if (!info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) return Fail(ERROR_INVALID_PARAMETER, 0);
  const Surface& s = b->surface;
  BITMAPINFOHEADER& h = info->bmiHeader;
  if (!bits) {
    // Describe the bitmap; an asked-for depth keeps its value.
    if (h.biBitCount == 0) {
      h.biBitCount = static_cast<WORD>(s.bpp);
      h.biCompression = (s.bpp == 16 || (s.bpp == 32 && s.masks[0])) ? BI_BITFIELDS : BI_RGB;
    }
    h.biWidth = s.width;
    if (h.biHeight >= 0) h.biHeight = s.height;
    h.biPlanes = 1;
    h.biSizeImage = static_cast<DWORD>(Surface::DibStride(s.width, h.biBitCount) * s.height);
    return 1;
  }
  h.biWidth = s.width;
  if (h.biHeight == 0) h.biHeight = s.height;
  h.biPlanes = 1;
  if (h.biBitCount == 0) return Fail(ERROR_INVALID_PARAMETER, 0);
  if (h.biCompression == BI_BITFIELDS && h.biBitCount == 16 && h.biSize == sizeof(BITMAPINFOHEADER)) {
    // The caller's masks decide the layout; leave them.
  } else if (h.biCompression == BI_BITFIELDS && h.biSize == sizeof(BITMAPINFOHEADER)) {
    const DWORD masks[3] = {0xFF0000, 0xFF00, 0xFF};
    std::memcpy(reinterpret_cast<std::uint8_t*>(info) + h.biSize, masks, sizeof masks);
  }
  if (h.biBitCount <= 8 && h.biBitCount > 0) {
    const auto palette = s.bpp == h.biBitCount && !s.palette.empty() ? s.palette : DefaultPalette(h.biBitCount);
    h.biClrUsed = 0;
    auto* table = reinterpret_cast<RGBQUAD*>(reinterpret_cast<std::uint8_t*>(info) + h.biSize);
    for (size_t i = 0; i < (size_t{1} << h.biBitCount); ++i) {
      const std::uint32_t c = i < palette.size() ? palette[i] : 0;
      table[i] = RGBQUAD{static_cast<BYTE>(c), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c >> 16), 0};
    }
  }
  Surface out;
  if (!WrapDib(info, usage, bits, out)) return Fail(ERROR_INVALID_PARAMETER, 0);
  // Scan lines count from the bottom of a bottom-up DIB, from the top of a top-down one.
  std::vector<std::uint32_t> line(static_cast<size_t>(s.width));
  int copied = 0;
  for (UINT k = 0; k < lines; ++k) {
    const long scan = static_cast<long>(start) + k;
    if (scan >= s.height) break;
    const int y = out.bottomUp ? static_cast<int>(s.height - 1 - scan) : static_cast<int>(scan);
    s.ReadSpan(y, 0, s.width, line.data());
    // The caller's buffer holds only the lines asked for.
    Surface band = out;
    band.height = static_cast<int>(lines);
    band.bits = out.bits;
    band.WriteSpan(out.bottomUp ? static_cast<int>(lines - 1 - k) : static_cast<int>(k), 0, s.width, line.data());
    ++copied;
  }
  return copied;
}

int SetDIBits(HDC hdc, HBITMAP hbmp, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
  GdiLock lock(GdiMutex());
  auto* b = LookupAs<BitmapObject>(hbmp, OBJ_BITMAP);
  if (!b) return Fail(ERROR_INVALID_HANDLE, 0);
  if (hdc && !LookupDc(hdc)) return Fail(ERROR_INVALID_HANDLE, 0);
  Surface in;
  if (!WrapDib(info, usage, bits, in)) return Fail(ERROR_INVALID_PARAMETER, 0);
  Surface& s = b->surface;
  const int width = std::min(in.width, s.width);
  std::vector<std::uint32_t> line(static_cast<size_t>(in.width));
  Surface band = in;
  band.height = static_cast<int>(std::min<UINT>(lines, static_cast<UINT>(in.height)));
  int copied = 0;
  for (int k = 0; k < band.height; ++k) {
    const long scan = static_cast<long>(start) + k;
    if (scan >= s.height) break;
    const int y = in.bottomUp ? static_cast<int>(s.height - 1 - scan) : static_cast<int>(scan);
    band.ReadSpan(in.bottomUp ? band.height - 1 - k : k, 0, in.width, line.data());
    s.WriteSpan(y, 0, width, line.data());
    ++copied;
  }
  return copied;
}
