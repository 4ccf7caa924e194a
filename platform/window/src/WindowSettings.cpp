#include "WindowSettings.h"

#include <windows.h>
#include <vela/Utf.h>

#include <cstdlib>

#include "Scaler.h"

namespace vela::window {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string ProgramName() {
  WCHAR path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::u16string name(path, length);
  const size_t slash = name.find_last_of(u"\\/");
  if (slash != std::u16string::npos) name.erase(0, slash + 1);
  return vela::Utf16ToUtf8(name);
}

}  // namespace

std::optional<int> ParseZoom(const std::string& text) {
  if (text.size() != 1 || text[0] < '0' + kMinZoom || text[0] > '0' + kMaxZoom) return std::nullopt;
  return text[0] - '0';
}

std::optional<WindowSettings> SettingsFromEnvironment(std::string* error) {
  WindowSettings settings;
  if (const std::string zoom = Environment("VELA_ZOOM"); !zoom.empty()) {
    const auto parsed = ParseZoom(zoom);
    if (!parsed) {
      *error = "VELA_ZOOM: '" + zoom + "' is not a zoom of 1 to 4";
      return std::nullopt;
    }
    settings.zoom = *parsed;
  }
  settings.keysFile = Environment("VELA_KEYS");
  const std::string record = Environment("VELA_RECORD");
  if (!record.empty()) settings.recordPath = record;
  settings.recordAtStart = !record.empty() && Environment("VELA_RECORD_AT_START") == "1";
  settings.shotFolder = Environment("VELA_SHOTS");
  settings.programName = ProgramName();
  return settings;
}

}  // namespace vela::window
