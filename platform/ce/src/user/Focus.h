// Focus bookkeeping used by placement and destruction.
#pragma once

#include <windows.h>

namespace vela::user {

// The top-level window keys go to (lock held).
HWND ForegroundWindow();
// A window of the calling thread went out of sight (lock not held).
void HandleHiddenWindow(HWND hwnd);

}  // namespace vela::user
