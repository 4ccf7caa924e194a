// The system colours and their brushes.
#pragma once

#include "gdi/GdiObjects.h"

namespace vela::gdi {

// The index without SYS_COLOR_INDEX_FLAG, or -1 when it is not a system colour.
int SysColorIndex(int index);
// The brush a handle stands for: a live brush, or (HBRUSH)(COLOR_x + 1) as a window class uses.
BrushObject* BrushForFill(HBRUSH h);

}  // namespace vela::gdi
