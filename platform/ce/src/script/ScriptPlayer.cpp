// The script player's sequencing: one command after the other, each checked, with waits that
// follow the platform clock.
#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

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

const char* OpName(Op op) {
  static const char* const kNames[] = {"tap",    "down",   "move",        "up",          "key",
                                      "type",   "wait",   "idle",        "shot",        "log",
                                      "quit",   "clock",  "",            "expect text", "expect icon",
                                      "expect visible", "expect hidden"};
  return kNames[static_cast<int>(op)];
}

std::string Describe(const Command& command) {
  std::string text = OpName(command.op);
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
        if (command.control.by != Control::By::None) {
          if (!Idle()) return Fail(command, NotIdle());
          if (!driver_.TapControl(command.control, &why)) return Fail(command, why);
          return std::nullopt;
        }
        [[fallthrough]];
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
      case Op::Clock:
        StartClock(command.time);
        return std::nullopt;
      case Op::Device:
        // What the application does about a change is part of the change, as with a tap.
        if (!Idle()) return Fail(command, NotIdle());
        why = driver_.DeviceAction(command.words);
        if (!why.empty()) return Fail(command, why);
        return std::nullopt;
      case Op::ExpectText:
      case Op::ExpectIcon:
      case Op::ExpectVisible:
      case Op::ExpectHidden:
        return Expect(command);
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

  // Idle also means: programs started meanwhile have ended, and what their end brought is
  // handled, so their log lines keep one order from run to run.
  bool Idle() {
    if (State().Stopped() || !driver_.WaitIdle(kIdleTimeout)) return false;
    std::vector<int> started = driver_.NewPrograms();
    if (started.empty()) return true;
    started_.insert(started_.end(), started.begin(), started.end());
    if (!driver_.WaitForPrograms(started, kProgramTimeout)) ReportStillRunning();
    return !State().Stopped() && driver_.WaitIdle(kIdleTimeout);
  }

 public:
  // At the end of the run: a tour leaves no program behind.
  void EndPrograms() {
    // Those the last command started get their time to end by themselves too.
    std::vector<int> started = driver_.NewPrograms();
    if (!started.empty()) {
      started_.insert(started_.end(), started.begin(), started.end());
      if (!driver_.WaitForPrograms(started, kProgramTimeout)) ReportStillRunning();
    }
    if (started_.empty()) return;
    for (int id : driver_.EndPrograms(started_)) {
      std::fprintf(stderr, "script: ended program %d, which still ran at the end of the script\n", id);
    }
  }

 private:
  static void ReportStillRunning() {
    std::fprintf(stderr, "script: programs started by the application still run after %lld s; going on\n",
                 static_cast<long long>(kProgramTimeout.count() / 1000));
  }

  // The start may already be in place (set before the application started); moving the clock
  // again would only disturb the timers.
  static void StartClock(const SYSTEMTIME& time) {
    vela::clock::Milliseconds start = 0;
    vela::clock::FromSystemTime(time, start);
    if (vela::clock::IsManual() && vela::clock::UtcNow() == start) return;
    vela::clock::UseManual(time);
  }

  std::optional<int> Expect(const Command& command) {
    if (!Idle()) return Fail(command, NotIdle());
    const bool anyVisibility = command.op == Op::ExpectVisible || command.op == Op::ExpectHidden;
    Driver::ControlFacts facts;
    std::string why;
    if (!driver_.InspectControl(command.control, anyVisibility, &facts, &why)) return Unmet(command, why);
    std::string got, wanted;
    switch (command.op) {
      case Op::ExpectText:
        if (facts.text == command.text) return std::nullopt;
        got = Quote(facts.text);
        wanted = Quote(command.text);
        break;
      case Op::ExpectIcon:
        if (facts.icon == command.number) return std::nullopt;
        got = facts.icon == 0 ? "no icon from a resource" : std::to_string(facts.icon);
        wanted = std::to_string(command.number);
        break;
      default: {
        const bool wantVisible = command.op == Op::ExpectVisible;
        if (facts.visible == wantVisible) return std::nullopt;
        got = facts.visible ? "visible" : "hidden";
        wanted = wantVisible ? "visible" : "hidden";
        break;
      }
    }
    return Unmet(command, "got " + got + ", wanted " + wanted);
  }

  // FILE:LINE: expect text #1001: got "A", wanted "B"
  int Unmet(const Command& command, const std::string& what) {
    const std::string file = options_.scriptPath.empty() ? "script" : options_.scriptPath;
    const std::string head = std::string(OpName(command.op)) + " " + DescribeControl(command.control);
    std::fprintf(stderr, "%s:%d: %s: %s\n", file.c_str(), command.line, head.c_str(), what.c_str());
    return kExpectationFailedExitCode;
  }

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
  std::vector<int> started_;  // every program the application started during the run
};

}  // namespace

bool Driver::TapControl(const Control&, std::string* why) {
  *why = "this player cannot look for controls";
  return false;
}

bool Driver::InspectControl(const Control&, bool, ControlFacts*, std::string* why) {
  *why = "this player cannot look for controls";
  return false;
}

std::string Driver::DeviceAction(const std::string&) { return "this player has no terminal"; }

std::vector<int> Driver::NewPrograms() { return {}; }

bool Driver::WaitForPrograms(const std::vector<int>&, std::chrono::milliseconds) { return true; }

std::vector<int> Driver::EndPrograms(const std::vector<int>&) { return {}; }

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
  runner.EndPrograms();
  // After a stop the application is gone already: nothing to end.
  if (State().EnterFinal()) driver.Quit(exitCode);
  State().End();
  return exitCode;
}

bool StopPlaying() { return State().Stop(); }

bool PlayingStopped() { return State().Stopped(); }

}  // namespace vela::script
