// Finds a control the way a script names it: by caption or by control id, among the windows of
// one UI thread, top-level windows front to back, each followed by its children in order.
#pragma once

#include <windows.h>

#include <vela/Script.h>

namespace vela::script {

// The first visible match; with anyVisibility the first visible one, or else the first hidden
// one. Null when none matches. A caption matches the window text as it is, or with its
// mnemonic ampersands taken out ("&OK" is tapped as "OK").
HWND FindControl(DWORD uiThread, const Control& control, bool anyVisibility);

}  // namespace vela::script
