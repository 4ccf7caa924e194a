// What the program entry starts around an application, as the environment asks.
#include <vela/Simulator.h>

#include <windows.h>
#include <vela/Screen.h>
#include <vela/Script.h>
#include <vela/SimControl.h>
#include <vela/WindowFrontEnd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vela::sim {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

struct Window {
  HMODULE module = nullptr;
  VelaWindowStopProc stop = nullptr;
};

Window& TheWindow() {
  static Window window;
  return window;
}

bool StartWindow() {
  Window& window = TheWindow();
  window.module = LoadLibraryW(u"VelaWindow.dll");
  // Through a plain function pointer: the exports have their own signatures.
  const auto find = [&window](LPCWSTR name) {
    return window.module ? reinterpret_cast<void (*)()>(GetProcAddress(window.module, name)) : nullptr;
  };
  auto start = reinterpret_cast<VelaWindowStartProc>(find(u"VelaWindowStart"));
  window.stop = reinterpret_cast<VelaWindowStopProc>(find(u"VelaWindowStop"));
  if (!start || !window.stop) {
    std::fprintf(stderr, "VELA_FRONTEND=window: the desktop window's module (VelaWindow) cannot be loaded\n");
    return false;
  }
  // The window posts to this thread before the application may have touched its queue.
  MSG ignored;
  PeekMessageW(&ignored, nullptr, 0, 0, PM_NOREMOVE);
  if (start(GetCurrentThreadId()) != 0) {
    window.stop = nullptr;
    return false;
  }
  return true;
}

}  // namespace

bool StartFromEnvironment() {
  const bool scripted = script::StartFromEnvironment();
  if (!scripted) {
    // A program started by a scripted one keeps the clock it was handed.
    const std::string clock = Environment("VELA_CLOCK");
    if (!script::ApplyClockSetting(clock)) {
      std::fprintf(stderr, "VELA_CLOCK: '%s' is neither 'manual' nor 'manual:YYYY-MM-DDTHH:MM:SS'\n", clock.c_str());
      return false;
    }
  }
  const std::string frontEnd = Environment("VELA_FRONTEND");
  if (frontEnd == "window") {
    if (scripted) {
      std::fprintf(stderr, "VELA_FRONTEND=window: a script plays headless; leave one of them out\n");
      return false;
    }
    if (!StartWindow()) return false;
  } else if (!frontEnd.empty() && frontEnd != "headless") {
    std::fprintf(stderr, "VELA_FRONTEND: '%s' is neither 'window' nor 'headless'\n", frontEnd.c_str());
    return false;
  }
  // Without it the program still runs; only other shells cannot reach its terminal.
  StartListener();
  return true;
}

int FinishFromEnvironment(int appExitCode) {
  StopListener();
  const int exitCode = script::FinishFromEnvironment(appExitCode);
  const std::string finalShot = Environment("VELA_FINAL_SHOT");
  int result = exitCode;
  if (!finalShot.empty() && !screen::SaveScreenPng(finalShot)) {
    std::fprintf(stderr, "VELA_FINAL_SHOT: cannot write '%s'\n", finalShot.c_str());
    if (result == 0) result = 1;
  }
  Window& window = TheWindow();
  if (window.stop) {
    window.stop();
    window.stop = nullptr;
  }
  return result;
}

}  // namespace vela::sim
