// Class look-up for window creation (lock held).
#pragma once

#include "user/UserState.h"

namespace vela::user {

// A local class of instance first, then a global class; by name (without regard to case) or atom.
std::shared_ptr<WindowClass> FindClass(LPCWSTR name, HINSTANCE instance);

}  // namespace vela::user
