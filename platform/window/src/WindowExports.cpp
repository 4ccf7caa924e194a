// The module's two entry points, found by name through GetProcAddress.
#include <vela/WindowFrontEnd.h>

#include <cstdio>
#include <string>

#include "FrontEnd.h"
#include "WindowSettings.h"

#define VELA_WINDOW_API extern "C" __attribute__((visibility("default")))

namespace {

vela::window::FrontEnd& TheFrontEnd() {
  static vela::window::FrontEnd frontEnd;
  return frontEnd;
}

}  // namespace

VELA_WINDOW_API int VelaWindowStart(DWORD uiThreadId) {
  std::string error;
  const auto settings = vela::window::SettingsFromEnvironment(&error);
  if (settings) error = TheFrontEnd().Start(*settings, uiThreadId);
  if (error.empty()) return 0;
  std::fprintf(stderr, "VELA_FRONTEND=window: %s\n", error.c_str());
  return 1;
}

VELA_WINDOW_API void VelaWindowStop(void) { TheFrontEnd().Stop(); }
