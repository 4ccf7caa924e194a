// The script player on the real platform: input through vela/Input.h, pictures through
// vela/Screen.h, the end through the UI thread's queue.
#include <windows.h>
#include <vela/Input.h>
#include <vela/Screen.h>
#include <vela/Script.h>

#include "ScriptDriver.h"

namespace vela::script {
namespace {

// Idle waits are cut into slices so that an application ending on its own ends the wait too.
constexpr std::chrono::milliseconds kIdleSlice{100};

class InputDriver : public Driver {
 public:
  explicit InputDriver(DWORD uiThread) : uiThread_(uiThread) {}

  bool Stylus(Op op, int x, int y, std::string* why) override {
    if (x >= vela::screen::Width() || y >= vela::screen::Height()) {
      *why = "the point lies outside the " + std::to_string(vela::screen::Width()) + " x " +
             std::to_string(vela::screen::Height()) + " screen";
      return false;
    }
    switch (op) {
      case Op::Tap: vela::input::Tap(x, y); break;
      case Op::Down: vela::input::StylusDown(x, y); break;
      case Op::Move: vela::input::StylusMove(x, y); break;
      default: vela::input::StylusUp(x, y); break;
    }
    return true;
  }

  bool Key(int virtualKey, std::string*) override {
    vela::input::KeyPress(static_cast<UINT>(virtualKey));
    return true;
  }

  bool Characters(const std::u16string& text, std::string*) override {
    vela::input::TypeText(text);
    return true;
  }

  bool WaitIdle(std::chrono::milliseconds timeout) override {
    for (std::chrono::milliseconds waited{0}; waited < timeout; waited += kIdleSlice) {
      if (PlayingStopped()) return false;
      if (vela::input::WaitUntilIdle(uiThread_, kIdleSlice)) return true;
    }
    return false;
  }

  bool Shot(const std::string& path, const std::u16string& windowText, std::string* why) override {
    if (windowText.empty()) {
      if (vela::screen::SaveScreenPng(path)) return true;
      *why = "cannot write " + path;
      return false;
    }
    HWND window = FindWindowW(nullptr, windowText.c_str());
    if (window == nullptr) {
      *why = "no top-level window has that text";
      return false;
    }
    if (vela::screen::SaveWindowPng(window, path)) return true;
    *why = "cannot write " + path;
    return false;
  }

  void Quit(int exitCode) override { PostThreadMessageW(uiThread_, WM_QUIT, static_cast<WPARAM>(exitCode), 0); }

 private:
  DWORD uiThread_;
};

}  // namespace

int Play(const Script& script, DWORD uiThreadId, const PlayerOptions& options) {
  InputDriver driver(uiThreadId);
  return PlayWith(script, driver, options);
}

}  // namespace vela::script
