// The terminal's flip key: the platform posts its own input message to the foreground window.
#include <vela/Input.h>

#include "user/Focus.h"
#include "user/UserState.h"

namespace vela::input {

void PressFlipKey() {
  HWND target;
  {
    user::Guard g(user::Lock());
    user::Window* foreground = user::Find(user::ForegroundWindow());
    target = foreground != nullptr ? foreground->handle : nullptr;
  }
  if (target != nullptr) {
    PostMessageW(target, WM_FLIPKEY_INPUT, 0, 0);
  }
}

}  // namespace vela::input
