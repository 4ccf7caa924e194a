// The script player on the real platform: input through vela/Input.h, pictures through
// vela/Screen.h, the end through the UI thread's queue.
#include <windows.h>
#include <vela/DeviceAction.h>
#include <vela/Input.h>
#include <vela/Inspect.h>
#include <vela/Screen.h>
#include <vela/Script.h>
#include <vela/Terminal.h>

#include <thread>

#include "ScriptDriver.h"
#include "process/ProcessObject.h"
#include "script/ControlFinder.h"

namespace vela::script {
namespace {

// Idle waits are cut into slices so that an application ending on its own ends the wait too.
constexpr std::chrono::milliseconds kIdleSlice{100};
// How often the end of a started program is looked for.
constexpr std::chrono::milliseconds kProgramPoll{2};
// The exit code of a program the script's end had to stop.
constexpr DWORD kEndedByScriptExitCode = 1;

size_t ProgramsStartedSoFar() { return vela::terminal::Get().GetRecords().processStarts.size(); }

class InputDriver : public Driver {
 public:
  explicit InputDriver(DWORD uiThread) : uiThread_(uiThread), programsSeen_(ProgramsStartedSoFar()) {}

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

  bool TapControl(const Control& control, std::string* why) override {
    HWND window = FindControl(uiThread_, control, false);
    RECT rect{};
    if (window == nullptr || !GetWindowRect(window, &rect)) {
      *why = "no visible control has that " + std::string(control.by == Control::By::Id ? "id" : "caption");
      return false;
    }
    // Window rectangles are screen coordinates already.
    return Stylus(Op::Tap, static_cast<int>((rect.left + rect.right) / 2), static_cast<int>((rect.top + rect.bottom) / 2),
                  why);
  }

  bool InspectControl(const Control& control, bool anyVisibility, ControlFacts* facts, std::string* why) override {
    HWND window = FindControl(uiThread_, control, anyVisibility);
    if (window == nullptr) {
      *why = std::string(anyVisibility ? "no control" : "no visible control") + " has that " +
             (control.by == Control::By::Id ? "id" : "caption");
      return false;
    }
    const int length = GetWindowTextLengthW(window);
    facts->text.assign(static_cast<size_t>(length > 0 ? length : 0) + 1, u'\0');
    facts->text.resize(static_cast<size_t>(GetWindowTextW(window, facts->text.data(), length + 1)));
    facts->icon = vela::inspect::LastIconDrawn(window);
    facts->visible = IsWindowVisible(window) != FALSE;
    return true;
  }

  std::string DeviceAction(const std::string& words) override { return vela::device::ApplyAction(words); }

  std::vector<int> NewPrograms() override {
    const std::vector<vela::terminal::ProcessStart> starts = vela::terminal::Get().GetRecords().processStarts;
    std::vector<int> ids;
    for (size_t i = programsSeen_; i < starts.size(); ++i) ids.push_back(starts[i].processId);
    programsSeen_ = starts.size();
    return ids;
  }

  // Polled in host time: the platform's waits follow its clock, which stands still here.
  bool WaitForPrograms(const std::vector<int>& processIds, std::chrono::milliseconds timeout) override {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (int id : processIds) {
      while (vela::process::ProcessObject::FindRunning(id) != nullptr) {
        if (PlayingStopped() || std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(kProgramPoll);
      }
    }
    return true;
  }

  std::vector<int> EndPrograms(const std::vector<int>& processIds) override {
    std::vector<int> ended;
    for (int id : processIds) {
      const auto process = vela::process::ProcessObject::FindRunning(id);
      if (process && process->Terminate(kEndedByScriptExitCode)) ended.push_back(id);
    }
    return ended;
  }

 private:
  DWORD uiThread_;
  size_t programsSeen_;
};

}  // namespace

int Play(const Script& script, DWORD uiThreadId, const PlayerOptions& options) {
  InputDriver driver(uiThreadId);
  return PlayWith(script, driver, options);
}

}  // namespace vela::script
