// BitBlt and its relatives.
#include "gdi/Blit.h"
#include "gdi/Dc.h"
#include "gdi/Dib.h"
#include "gdi/Raster.h"

using namespace vela::gdi;

namespace {

BOOL StretchBetweenDcs(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                       int wSrc, int hSrc, DWORD rop, std::optional<std::uint32_t> transparent) {
  GdiLock lock(GdiMutex());
  DcObject* dst = LookupDc(hdcDest);
  if (!dst) return Fail(ERROR_INVALID_HANDLE, FALSE);
  const std::uint8_t index = RopIndex(rop);
  BlitSource src;
  if (RopUsesSource(index) || transparent) {
    DcObject* from = LookupDc(hdcSrc);
    if (!from) return Fail(ERROR_INVALID_HANDLE, FALSE);
    src.surface = &Target(from);
    src.x = SurfaceX(from, xSrc);
    src.y = SurfaceY(from, ySrc);
    src.bkColor = from->state.bkColor;
    // Only what the source DC may show is read: a window DC's clip bounds its source too.
  } else {
    src.surface = &Target(dst);
  }
  src.width = wSrc;
  src.height = hSrc;
  Blit(dst, SurfaceX(dst, xDest), SurfaceY(dst, yDest), wDest, hDest, src, index, transparent);
  return TRUE;
}

}  // namespace

BOOL BitBlt(HDC hdcDest, int x, int y, int width, int height, HDC hdcSrc, int xSrc, int ySrc, DWORD rop) {
  return StretchBetweenDcs(hdcDest, x, y, width, height, hdcSrc, xSrc, ySrc, width, height, rop, std::nullopt);
}

BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
                int hSrc, DWORD rop) {
  return StretchBetweenDcs(hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, wSrc, hSrc, rop, std::nullopt);
}

BOOL TransparentBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                    int wSrc, int hSrc, UINT transparent) {
  if (wDest < 0 || hDest < 0 || wSrc < 0 || hSrc < 0) return Fail(ERROR_INVALID_PARAMETER, FALSE);
  return StretchBetweenDcs(hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, wSrc, hSrc, SRCCOPY,
                           PixelFromColorRef(transparent));
}

int StretchDIBits(HDC hdc, int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc, int wSrc, int hSrc,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
  GdiLock lock(GdiMutex());
  DcObject* dst = LookupDc(hdc);
  if (!dst) return Fail(ERROR_INVALID_HANDLE, 0);
  Surface in;
  if (!WrapDib(info, usage, bits, in)) return Fail(ERROR_INVALID_PARAMETER, 0);
  // DIB source coordinates count from the bottom-left of a bottom-up DIB.
  BlitSource src;
  src.surface = &in;
  src.x = xSrc;
  src.y = in.bottomUp ? in.height - ySrc - hSrc : ySrc;
  src.width = wSrc;
  src.height = hSrc;
  Blit(dst, SurfaceX(dst, xDest), SurfaceY(dst, yDest), wDest, hDest, src, RopIndex(rop));
  return hSrc < 0 ? -hSrc : hSrc;
}

int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT scanLines, const void* bits, const BITMAPINFO* info, UINT usage) {
  if (startScan != 0) {
    ReportUnsupported("SetDIBitsToDevice in bands");
    return 0;
  }
  const LONG dibHeight = info ? (info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight) : 0;
  if (static_cast<LONG>(scanLines) < dibHeight) {
    ReportUnsupported("SetDIBitsToDevice with part of the scan lines");
    return 0;
  }
  const int drawn = StretchDIBits(hdc, xDest, yDest, static_cast<int>(width), static_cast<int>(height), xSrc, ySrc,
                                  static_cast<int>(width), static_cast<int>(height), bits, info, usage, SRCCOPY);
  return drawn ? static_cast<int>(dibHeight) : 0;
}
