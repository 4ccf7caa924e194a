// Which icon resource was drawn where, so that a script can check the icon a window shows.
#pragma once

#include <windef.h>

namespace vela::gdi {

// The numbered resource an icon was made from; 0 for icons made any other way.
void SetIconResourceId(HICON icon, int resourceId);

// Called by DrawIconEx for DCs of a window.
void RecordIconDrawn(HWND window, int resourceId);

// Called when a window is destroyed, before its handle may be handed out again.
void ForgetIconsDrawnIn(HWND window);

}  // namespace vela::gdi
