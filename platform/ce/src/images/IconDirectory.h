// The image of an RT_GROUP_ICON / RT_GROUP_CURSOR directory that best fits a size and depth.
#pragma once

#include <windows.h>

#include <cstddef>

namespace vela::images {

// The chosen entry's RT_ICON / RT_CURSOR id, or 0 when the directory is damaged or empty.
// size bounds what is read of the directory.
int BestIconId(const BYTE* directory, size_t size, bool icon, int cx, int cy, UINT flags);

// cx/cy 0 stand for the system's icon size (SM_CXICON, SM_CYICON).
void ResolveIconSize(int* cx, int* cy);

}  // namespace vela::images
