// What the desktop window is told by the environment (the vela-sim command sets it).
#pragma once

#include <optional>
#include <string>

namespace vela::window {

struct WindowSettings {
  int zoom = 2;                 // VELA_ZOOM, 1 to 4
  std::string keysFile;         // VELA_KEYS: a bindings file, or none
  std::string recordPath = "vela-recording.script";  // VELA_RECORD
  bool recordAtStart = false;   // VELA_RECORD_AT_START=1 with VELA_RECORD set
  std::string shotFolder;       // VELA_SHOTS: where F12 pictures go; the current folder if empty
  std::string programName;      // for the title and the recording's header
};

// Zoom from its text: a whole number from 1 to 4, nothing else.
std::optional<int> ParseZoom(const std::string& text);

// Reads the settings; nullopt with *error set when one is bad.
std::optional<WindowSettings> SettingsFromEnvironment(std::string* error);

}  // namespace vela::window
