// Device-independent bitmaps as callers hand them in: BITMAPINFO + bits, read as surfaces.
#pragma once

#include "gdi/Surface.h"

#include <wingdi.h>

namespace vela::gdi {

// Largest bitmap side accepted; beyond it creation fails instead of exhausting memory.
constexpr int kMaxBitmapSide = 16384;

// Reads the format of a BITMAPINFO (header, masks, colour table) into `format` (no bits).
// False for what the platform rejects or this stand-in does not draw (compressed DIBs, colour
// tables of palette indices).
bool DibFormat(const BITMAPINFO* info, UINT usage, Surface& format);
// A surface over the caller's bits, in the format of info; false as DibFormat.
bool WrapDib(const BITMAPINFO* info, UINT usage, const void* bits, Surface& out);
// Bytes of the colour table and masks that follow the header.
size_t DibColorTableBytes(const BITMAPINFOHEADER& header);
// A standard palette for a depth of up to 8 bits when a bitmap has none.
std::vector<std::uint32_t> DefaultPalette(int bpp);

}  // namespace vela::gdi
