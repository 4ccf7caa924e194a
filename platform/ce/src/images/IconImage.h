// Icons and cursors of the graphics interface made from one RT_ICON / RT_CURSOR image.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "images/DibPixels.h"

namespace vela::images {

// A colour bitmap and a monochrome AND mask (or, with LR_MONOCHROME, a mask of twice the height
// holding AND over XOR) handed to CreateIconIndirect. Sets the last error and returns NULL when
// the graphics interface refuses.
HICON MakeIcon(Pixels pixels, std::vector<uint8_t> mask, bool icon, POINT hotspot, UINT flags);

// The bytes of an RT_ICON (DIB or PNG) or RT_CURSOR (hotspot, then DIB) resource, stretched to
// cx x cy (0: the image's own size). NULL with ERROR_INVALID_DATA when the bytes are damaged.
HICON IconFromImageBits(const BYTE* bits, size_t size, bool icon, int cx, int cy, UINT flags);

}  // namespace vela::images
