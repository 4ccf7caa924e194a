// Copying pixels between surfaces with scaling, raster operations, colour translation of
// monochrome bitmaps and an optional transparent colour.
#pragma once

#include <optional>

#include "gdi/GdiObjects.h"

namespace vela::gdi {

struct BlitSource {
  const Surface* surface = nullptr;
  // Source rectangle in surface coordinates; a negative size mirrors.
  int x = 0, y = 0, width = 0, height = 0;
  // The source DC's background colour (COLORREF), for colour to monochrome copies.
  std::optional<COLORREF> bkColor;
};

// Copies src into the destination DC's surface rectangle (x, y, width, height; negative sizes
// mirror) through the DC's clip. `transparent` (0x00RRGGBB) leaves those source pixels out.
void Blit(DcObject* dst, int x, int y, int width, int height, const BlitSource& src, std::uint8_t rop,
          std::optional<std::uint32_t> transparent = std::nullopt);

}  // namespace vela::gdi
