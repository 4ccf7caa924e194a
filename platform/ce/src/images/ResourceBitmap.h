// Bitmaps of the graphics interface made from an RT_BITMAP resource (a packed DIB).
#pragma once

#include <windows.h>

#include <cstddef>

#include "images/DibPixels.h"

namespace vela::images {

// A bitmap at the screen's depth (LR_CREATEDIBSECTION: a 32-bit DIB section), stretched to
// cx x cy when they are not 0. NULL with ERROR_INVALID_DATA when the bytes are damaged.
// A 32-bit DIB section holding pixels (alpha bytes as they are), stored bottom-up as a loaded
// bitmap is, or top-down.
HBITMAP DibSectionOf(const Pixels& pixels, bool bottomUp);

HBITMAP BitmapFromPackedDib(const BYTE* bits, size_t size, int cx, int cy, UINT flags);

}  // namespace vela::images
