// Gives the simulated terminal what it cannot have below the platform: its starting-state file
// \Windows\Terminal.ini, the debug channel, the platform clock for automatic wake-ups, and the
// platform's listeners that turn its changes into notifications, started with its state.
#include <vela/Clock.h>
#include <vela/Terminal.h>
#include <vela/TerminalFileSystem.h>

#include <fstream>
#include <sstream>

#include "debug/DebugChannel.h"
#include "devicechange/StorageVolumes.h"
#include "notify/WakeupNotifications.h"
#include "terminal/ImeNotify.h"

namespace {

class PlatformClockWakeTimer : public vela::terminal::WakeTimer {
 public:
  void Start(std::chrono::milliseconds after) override {
    deadline_ = vela::clock::Tick() + static_cast<std::uint64_t>(after.count());
  }
  void Wait() override { alarm_.WaitUntil(deadline_); }
  void Cancel() override { alarm_.Interrupt(); }

 private:
  vela::clock::Alarm alarm_;
  std::uint64_t deadline_ = 0;
};

std::optional<std::string> ReadStartingState() {
  std::ifstream file(vela::HostPathFromTerminal(u"\\Windows\\Terminal.ini"), std::ios::binary);
  if (!file) {
    return std::nullopt;
  }
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

[[maybe_unused]] const bool g_hooksInstalled = [] {
  vela::terminal::SetPlatformHooks({
      .readStartingState = ReadStartingState,
      .debug = [](std::string_view line) { vela::debug::WriteDebugChannel(std::string(line) + "\n"); },
      .makeWakeTimer = [] { return std::unique_ptr<vela::terminal::WakeTimer>(new PlatformClockWakeTimer); },
      .started =
          [](const vela::terminal::State& state) {
            vela::devicechange::VolumesAtStart(state);
            vela::terminal_events::ImeAtStart(state);
            vela::notify::WatchWakeups();
          },
  });
  return true;
}();

}  // namespace
