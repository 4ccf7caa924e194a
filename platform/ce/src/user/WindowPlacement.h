// Z-order bookkeeping shared by creation and SetWindowPos (lock held).
#pragma once

#include "user/UserState.h"

namespace vela::user {

// Puts w (already unlinked or new) among its parent's children after `after` (HWND_TOP,
// HWND_BOTTOM, HWND_TOPMOST, HWND_NOTOPMOST or a sibling). Topmost top-level windows stay
// above the others.
void InsertInZOrder(Window* w, HWND after);

}  // namespace vela::user
