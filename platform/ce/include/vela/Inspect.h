// What a test or a script may ask about the windows on the screen beyond the platform's own
// functions: facts the platform keeps only for looking at a run from outside.
#pragma once

#include <windef.h>

namespace vela::inspect {

// The resource id of the icon last drawn into the window (DrawIconEx or DrawIcon through one of
// its DCs), or 0 when none was drawn or the last one did not come from a numbered icon
// resource. The record goes with the window when it is destroyed.
int LastIconDrawn(HWND window);

}  // namespace vela::inspect
