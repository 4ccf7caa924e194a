#include "terminal/ImeNotify.h"

#include <imm.h>
#include <windows.h>

#include <mutex>
#include <vector>

#include "user/Focus.h"
#include "user/UserState.h"

namespace vela::terminal_events {
namespace {

// The focus of the thread that has the foreground window: where keys, and so the input
// method's text, go. None when that thread has no focus.
HWND FocusWindow() {
  user::Guard g(user::Lock());
  user::Window* foreground = user::Find(user::ForegroundWindow());
  if (foreground == nullptr || !foreground->queue) {
    return nullptr;
  }
  user::Window* focus = user::Find(foreground->queue->focus);
  return focus != nullptr ? focus->handle : nullptr;
}

class ImeWatch {
 public:
  void Start(const terminal::Input& input) {
    std::lock_guard lock(mutex_);
    last_ = input;
  }

  void OnChange(terminal::Change change) {
    if (change != terminal::Change::Input && change != terminal::Change::Reset) {
      return;
    }
    const terminal::Input now = terminal::Get().Get().input;
    std::vector<WPARAM> notices;
    {
      std::lock_guard lock(mutex_);
      if (change == terminal::Change::Input) {
        if (now.imeOpen != last_.imeOpen) {
          notices.push_back(IMN_SETOPENSTATUS);
        }
        if (now.conversion != last_.conversion) {
          notices.push_back(IMN_SETCONVERSIONMODE);
        }
        if (now.sentence != last_.sentence) {
          notices.push_back(IMN_SETSENTENCEMODE);
        }
      }
      last_ = now;
    }
    if (notices.empty()) {
      return;
    }
    const HWND focus = FocusWindow();
    if (focus == nullptr) {
      return;
    }
    const DWORD error = GetLastError();
    for (WPARAM notice : notices) {
      SendMessageW(focus, WM_IME_NOTIFY, notice, 0);
    }
    SetLastError(error);
  }

 private:
  std::mutex mutex_;
  terminal::Input last_;
};

ImeWatch& TheWatch() {
  // Never destroyed: the terminal's listener may still call it during the process's exit.
  static ImeWatch* watch = [] {
    auto* made = new ImeWatch;
    terminal::Get().Subscribe([made](terminal::Change change) { made->OnChange(change); });
    return made;
  }();
  return *watch;
}

}  // namespace

void ImeAtStart(const terminal::State& state) { TheWatch().Start(state.input); }

}  // namespace vela::terminal_events
