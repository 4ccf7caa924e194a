// The script player's sequencing: one command after the other, each checked, with waits that
// follow the platform clock.
#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>

#include <vela/Clock.h>
#include <vela/Utf.h>

#include "ScriptDriver.h"

namespace vela::script {
namespace {

constexpr int kFailedExitCode = 1;
// The resolution of the terminal's timers.
constexpr std::chrono::milliseconds kManualStep{10};

// One run at a time; Stop() may come from the UI thread while the player waits.
class RunState {
 public:
  void Begin() {
    std::lock_guard<std::mutex> guard(lock_);
    running_ = true;
    stopped_ = false;
    final_ = false;
  }
  // The run is over and about to end the application; a stop from now on comes too late to
  // matter. False when it was stopped already.
  bool EnterFinal() {
    std::lock_guard<std::mutex> guard(lock_);
    final_ = true;
    return !stopped_;
  }
  void End() {
    std::lock_guard<std::mutex> guard(lock_);
    running_ = false;
  }
  bool Stop() {
    std::lock_guard<std::mutex> guard(lock_);
    if (!running_ || final_) return false;
    stopped_ = true;
    wake_.notify_all();
    return true;
  }
  bool Stopped() {
    std::lock_guard<std::mutex> guard(lock_);
    return stopped_;
  }
  // Real-time wait; false when stopped first.
  bool Sleep(std::chrono::milliseconds duration) {
    std::unique_lock<std::mutex> guard(lock_);
    return !wake_.wait_for(guard, duration, [this] { return stopped_; });
  }

 private:
  std::mutex lock_;
  std::condition_variable wake_;
  bool running_ = false;
  bool stopped_ = false;
  bool final_ = false;
};

RunState& State() {
  static RunState state;
  return state;
}

std::string FormatTime(const SYSTEMTIME& time) {
  char text[48];
  std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour,
                time.wMinute, time.wSecond);
  return text;
}

// As a script would write it.
std::string Quote(const std::u16string& text) {
  std::string quoted = "\"";
  for (char c : Utf16ToUtf8(text)) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string DescribeControl(const Control& control) {
  if (control.by == Control::By::Id) return "#" + std::to_string(control.id);
  return Quote(control.caption);
}

std::string Describe(const Command& command) {
  static const char* const kNames[] = {"tap",    "down",   "move",        "up",          "key",
                                      "type",   "wait",   "idle",        "shot",        "log",
                                      "quit",   "clock",  "",            "expect text", "expect icon",
                                      "expect visible", "expect hidden"};
  std::string text = kNames[static_cast<int>(command.op)];
  switch (command.op) {
    case Op::Tap:
      if (command.control.by != Control::By::None) {
        text += " " + DescribeControl(command.control);
        break;
      }
      [[fallthrough]];
    case Op::Down:
    case Op::Move:
    case Op::Up:
      text += " " + std::to_string(command.x) + " " + std::to_string(command.y);
      break;
    case Op::Device:
      text = command.words;
      break;
    case Op::Clock:
      text += " " + FormatTime(command.time);
      break;
    case Op::ExpectText:
      text += " " + DescribeControl(command.control) + " " + Quote(command.text);
      break;
    case Op::ExpectIcon:
      text += " " + DescribeControl(command.control) + " " + std::to_string(command.number);
      break;
    case Op::ExpectVisible:
    case Op::ExpectHidden:
      text += " " + DescribeControl(command.control);
      break;
    case Op::Key:
    case Op::Wait:
    case Op::Quit:
      text += " " + std::to_string(command.number);
      break;
    case Op::Shot:
      text += " " + command.file;
      if (!command.text.empty()) text += " " + Utf16ToUtf8(command.text);
      break;
    case Op::Type:
    case Op::Log:
      text += " " + Utf16ToUtf8(command.text);
      break;
    case Op::Idle:
      break;
  }
  return text;
}

std::string ShotPath(const std::string& folder, const std::string& file) {
  std::filesystem::path path(file);
  if (path.is_relative() && !folder.empty()) path = std::filesystem::path(folder) / path;
  return path.string();
}

class Runner {
 public:
  Runner(Driver& driver, const PlayerOptions& options) : driver_(driver), options_(options) {}

  // nullopt: go on with the next command.
  std::optional<int> Run(const Command& command) {
    if (options_.echo) std::fprintf(stderr, "script: line %d: %s\n", command.line, Describe(command).c_str());
    std::string why;
    switch (command.op) {
      case Op::Tap:
      case Op::Down:
      case Op::Move:
      case Op::Up:
        if (!driver_.Stylus(command.op, command.x, command.y, &why)) return Fail(command, why);
        return std::nullopt;
      case Op::Key:
        if (!driver_.Key(command.number, &why)) return Fail(command, why);
        return std::nullopt;
      case Op::Type:
        if (!driver_.Characters(command.text, &why)) return Fail(command, why);
        return std::nullopt;
      case Op::Wait:
        return Wait(command);
      case Op::Idle:
        if (!Idle()) return Fail(command, NotIdle());
        return std::nullopt;
      case Op::Shot: {
        if (!Idle()) return Fail(command, NotIdle());
        const std::string path = ShotPath(options_.shotFolder, command.file);
        std::error_code ignored;
        const auto parent = std::filesystem::path(path).parent_path();
        if (!parent.empty()) std::filesystem::create_directories(parent, ignored);
        if (!driver_.Shot(path, command.text, &why)) return Fail(command, why);
        return std::nullopt;
      }
      case Op::Log:
        std::fprintf(stderr, "%s\n", Utf16ToUtf8(command.text).c_str());
        return std::nullopt;
      case Op::Quit:
        return command.number;
      default:
        return Fail(command, "not played yet");
    }
    return std::nullopt;
  }

 private:
  // On a manual clock the player moves the clock itself, in small steps, and lets the
  // application handle what fell due after each: it sees time pass as an idle application on
  // the terminal does (a one-second timer ticks three times in `wait 3000`, not once).
  std::optional<int> Wait(const Command& command) {
    const std::chrono::milliseconds duration(command.number);
    if (vela::clock::IsManual()) {
      std::chrono::milliseconds remaining = duration;
      do {
        const auto step = std::min(remaining, kManualStep);
        vela::clock::Advance(step);
        remaining -= step;
        if (!Idle()) return Fail(command, NotIdle());
      } while (remaining.count() > 0);
      return std::nullopt;
    }
    State().Sleep(duration);
    return std::nullopt;
  }

  bool Idle() { return !State().Stopped() && driver_.WaitIdle(kIdleTimeout); }

  static std::string NotIdle() {
    if (State().Stopped()) return "the application ended";
    return "the application did not become idle within " + std::to_string(kIdleTimeout.count() / 1000) + " s";
  }

  int Fail(const Command& command, const std::string& why) {
    std::fprintf(stderr, "script: line %d: %s failed: %s\n", command.line, Describe(command).c_str(),
                 why.empty() ? "refused" : why.c_str());
    return kFailedExitCode;
  }

  Driver& driver_;
  const PlayerOptions& options_;
};

}  // namespace

int PlayWith(const Script& script, Driver& driver, const PlayerOptions& options) {
  State().Begin();
  Runner runner(driver, options);
  int exitCode = 0;
  if (!State().Stopped() && !driver.WaitIdle(kIdleTimeout)) {
    std::fprintf(stderr, "script: the application did not become idle within %lld s after its start\n",
                 static_cast<long long>(kIdleTimeout.count() / 1000));
    exitCode = kFailedExitCode;
  }
  for (const Command& command : script.commands) {
    if (exitCode != 0) break;
    if (State().Stopped()) break;
    if (std::optional<int> end = runner.Run(command)) {
      exitCode = *end;
      break;
    }
  }
  // After a stop the application is gone already: nothing to end.
  if (State().EnterFinal()) driver.Quit(exitCode);
  State().End();
  return exitCode;
}

bool StopPlaying() { return State().Stop(); }

bool PlayingStopped() { return State().Stopped(); }

}  // namespace vela::script
