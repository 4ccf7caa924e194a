// What a key of the desktop window does: a terminal key, a simulator action, or something of
// the window itself (help, screenshot, recording, quit).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vela::window {

// Simulator actions whose words depend on the terminal's state when the key is pressed.
enum class Switch {
  Power,          // power on / power off
  Network,        // network up / network down
  Suspend,        // suspend / wake
  Volume,         // volume in / out "Storage Card"
  Signal,         // strong, weak, none, strong ...
  Ime,            // off, hiragana, katakana, alpha, halfkana, off ...
  KeyMode,        // 0, 2, 3, 4, 5, 10, 0 ...
  LowerBattery,   // the next lower of the battery steps
  RaiseBattery,   // the next higher
};

struct WindowCommand {
  enum class Kind { TerminalKey, Flip, Help, Shot, Record, Quit, Switch, Action, Unbound };
  Kind kind = Kind::Unbound;
  int virtualKey = 0;              // TerminalKey
  window::Switch what = Switch::Power;  // Switch
  std::string words;               // Action: the device action's words
  std::string text;                // as written, for the help overlay

  bool operator==(const WindowCommand&) const = default;
};

// The text without blanks and line ends around it (for the bindings file's parts).
std::string_view TrimBlanks(std::string_view text);

// Parses one command: `key NAME` (names as a script's key command), flip, help, shot, record,
// quit, none (unbinds), `toggle power|network|suspend|volume`, `cycle signal|ime|keymode`,
// `lower battery`, `raise battery`, or any terminal action line ("battery 20"). nullopt with
// *error set when it is none of these.
std::optional<WindowCommand> ParseWindowCommand(std::string_view text, std::string* error);

}  // namespace vela::window
