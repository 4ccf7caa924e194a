// Decoding of the packed DIBs that bitmap and icon resources hold, into 32-bit pixels the image
// loaders hand to the graphics interface. Works on the resource's bytes and their length only,
// and refuses anything that would read past them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vela::images {

// Pixels top-down, 0xAARRGGBB. hasAlpha: a 32-bit source with any non-zero alpha byte.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;
  bool hasAlpha = false;
};

// A packed DIB: BITMAPINFOHEADER (or a later, larger header), colour table, rows; uncompressed
// 1, 4, 8, 16 (5-5-5), 24 or 32 bits per pixel, bottom-up or top-down. For an icon image the
// header's height counts the colour rows and the mask rows together: pass iconImage, and
// *mask receives the AND mask (1 = transparent, top-down, one byte per pixel).
bool DecodeDib(const uint8_t* data, size_t size, bool iconImage, Pixels* out, std::vector<uint8_t>* mask);

// A PNG image (icon entries may hold one); the mask is made from the alpha channel.
bool DecodePng(const uint8_t* data, size_t size, Pixels* out, std::vector<uint8_t>* mask);
bool IsPng(const uint8_t* data, size_t size);

// Nearest-neighbour scaling of pixels and mask to width x height.
void Scale(Pixels* pixels, std::vector<uint8_t>* mask, int width, int height);

}  // namespace vela::images
