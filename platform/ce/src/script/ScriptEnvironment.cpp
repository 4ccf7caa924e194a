// Starting the script player from the program entry: VELA_SCRIPT, VELA_SHOTS, VELA_CLOCK.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include <windows.h>
#include <vela/Clock.h>
#include <vela/Script.h>

#include "ScriptDriver.h"

namespace vela::script {
namespace {

// Exit code of a run whose script could not be read or parsed.
constexpr int kScriptFaultExitCode = 2;

struct Session {
  std::thread player;
  int exitCode = 0;
  bool active = false;
};

// Never destroyed: a program that leaves without FinishFromEnvironment must not trip over a
// player thread that is still joinable while static objects go.
Session& TheSession() {
  static auto* session = new Session;
  return *session;
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

}  // namespace

// "manual" or "manual:YYYY-MM-DDTHH:MM:SS" (UTC). A fixed default start keeps pictures of clocks
// and dates the same on every run.
bool ApplyClockSetting(const std::string& setting) {
  if (setting.empty()) return true;
  if (setting.rfind("manual", 0) != 0) return false;
  SYSTEMTIME start{2026, 4, 0, 1, 0, 0, 0, 0};
  if (setting.size() > 6) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char tail = 0;
    if (setting[6] != ':' ||
        std::sscanf(setting.c_str() + 7, "%4d-%2d-%2dT%2d:%2d:%2d%c", &year, &month, &day, &hour, &minute, &second,
                    &tail) != 6) {
      return false;
    }
    start = SYSTEMTIME{static_cast<WORD>(year), static_cast<WORD>(month), 0, static_cast<WORD>(day),
                       static_cast<WORD>(hour), static_cast<WORD>(minute), static_cast<WORD>(second), 0};
    vela::clock::Milliseconds check = 0;
    if (!vela::clock::FromSystemTime(start, check)) return false;
  }
  vela::clock::UseManual(start);
  return true;
}

bool StartFromEnvironment() {
  const std::string path = Environment("VELA_SCRIPT");
  if (path.empty()) return false;
  Session& session = TheSession();
  if (session.active) return true;
  session.active = true;

  auto refuse = [&session](const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    session.exitCode = kScriptFaultExitCode;
    PostQuitMessage(kScriptFaultExitCode);
    return true;
  };

  const std::string clock = Environment("VELA_CLOCK");
  if (!ApplyClockSetting(clock)) {
    return refuse("VELA_CLOCK: '" + clock + "' is neither 'manual' nor 'manual:YYYY-MM-DDTHH:MM:SS'");
  }

  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  if (!file || !(text << file.rdbuf())) return refuse(path + ": cannot read the script");
  Script script = Parse(text.str());
  if (!script.errors.empty()) {
    std::string message;
    for (const ParseError& error : script.errors) {
      message += path + ":" + std::to_string(error.line) + ": " + error.message + "\n";
    }
    message.pop_back();
    return refuse(message);
  }

  // The application starts at the script's time: what it draws first shows that time.
  if (!script.commands.empty() && script.commands.front().op == Op::Clock) {
    vela::clock::UseManual(script.commands.front().time);
  }

  PlayerOptions options;
  options.scriptPath = path;
  options.shotFolder = Environment("VELA_SHOTS");
  if (options.shotFolder.empty()) {
    options.shotFolder = std::filesystem::path(path).parent_path().string();
    if (options.shotFolder.empty()) options.shotFolder = ".";
  }
  options.echo = Environment("VELA_SCRIPT_ECHO") == "1";

  // The player posts to this thread before the application may have touched its queue.
  MSG ignored;
  PeekMessageW(&ignored, nullptr, 0, 0, PM_NOREMOVE);
  const DWORD uiThread = GetCurrentThreadId();
  session.player = std::thread([&session, uiThread, options, script = std::move(script)] {
    session.exitCode = Play(script, uiThread, options);
  });
  return true;
}

int FinishFromEnvironment(int appExitCode) {
  Session& session = TheSession();
  if (!session.active) return appExitCode;
  // An application that ended before its script did keeps its own exit code.
  const bool interrupted = StopPlaying();
  if (session.player.joinable()) session.player.join();
  session.active = false;
  return interrupted ? appExitCode : session.exitCode;
}

}  // namespace vela::script
