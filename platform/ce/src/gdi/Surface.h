// Pixels of a bitmap or of the screen in one of the DIB formats. Drawing works on 32-bit
// 0x00RRGGBB spans: a 32-bit surface hands out its rows directly, the others convert a span in
// and out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vela::gdi {

struct Surface {
  int width = 0;
  int height = 0;
  int bpp = 32;  // 1, 4, 8, 16, 24 or 32
  int strideBytes = 0;
  bool bottomUp = false;
  // A monochrome device-dependent bitmap: blits to and from it translate colours through the
  // DCs' text and background colours.
  bool monoDdb = false;
  std::uint8_t* bits = nullptr;
  std::vector<std::uint8_t> storage;    // owns bits unless they belong to someone else
  std::vector<std::uint32_t> palette;   // 0x00RRGGBB, for up to 8 bpp
  std::uint32_t masks[3] = {0, 0, 0};   // red, green, blue of 16 and 32 bpp

  // Allocates zeroed bits for the format already set (width, height, bpp); DIB rows are 32-bit
  // aligned, DDB rows too (the 16-bit alignment applies only to bits handed in and out).
  void Allocate();
  static int DibStride(int width, int bpp) { return ((width * bpp + 31) / 32) * 4; }

  std::uint8_t* Row(int y) const {
    return bits + static_cast<std::size_t>(bottomUp ? height - 1 - y : y) * strideBytes;
  }
  bool IsDirect32() const { return bpp == 32 && masks[0] == 0; }
  std::uint32_t* Row32(int y) const { return reinterpret_cast<std::uint32_t*>(Row(y)); }

  void ReadSpan(int y, int x, int n, std::uint32_t* out) const;
  void WriteSpan(int y, int x, int n, const std::uint32_t* in);
  std::uint32_t Get(int x, int y) const;
  void Set(int x, int y, std::uint32_t rgb);
  // The palette index nearest to a colour.
  int NearestIndex(std::uint32_t rgb) const;
};

// A writable 32-bit view of one row span; converts in and out unless the surface is 32-bit.
class SpanAccess {
 public:
  SpanAccess(Surface& surface, int y, int x, int n);
  ~SpanAccess();
  SpanAccess(const SpanAccess&) = delete;
  SpanAccess& operator=(const SpanAccess&) = delete;
  std::uint32_t* data() { return data_; }

 private:
  Surface& surface_;
  int y_, x_, n_;
  std::uint32_t* data_;
  std::vector<std::uint32_t> temp_;
};

// COLORREF (0x00BBGGRR) and surface pixels (0x00RRGGBB).
inline std::uint32_t PixelFromColorRef(std::uint32_t c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline std::uint32_t ColorRefFromPixel(std::uint32_t p) { return PixelFromColorRef(p); }

}  // namespace vela::gdi
