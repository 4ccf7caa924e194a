// Which key of the desktop keyboard does what: defaults for everything the window offers,
// changed by a bindings file of `KEY = COMMAND` lines.
#pragma once

#include <SDL_keycode.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "WindowCommand.h"

namespace vela::window {

struct KeyChord {
  SDL_Keycode key = SDLK_UNKNOWN;
  bool ctrl = false;
  bool shift = false;
  auto operator<=>(const KeyChord&) const = default;
};

// "F5", "Ctrl+R", "Shift+Ctrl+Page Up": SDL's key names (SDL_GetKeyFromName, so SDL's video
// part must be up) with optional Ctrl+ and Shift+ in front. nullopt with *error set otherwise.
std::optional<KeyChord> ParseKeyChord(std::string_view text, std::string* error);
// The chord as the help overlay shows it.
std::string DescribeKeyChord(const KeyChord& chord);

class KeyBindings {
 public:
  // F1 help, F2 flip, F3 suspend/wake, F4 external power, F5/F6 battery down/up, F7 signal,
  // F8 network, F9 input method, F10 key mode, F11 storage card, F12 screenshot, Ctrl+R
  // recording, Ctrl+Q quit.
  static KeyBindings Defaults();

  // Applies a bindings file's text over the current bindings: each line `KEY = COMMAND`, '#'
  // starts a comment line, blank lines are skipped. Returns "name:line: message" for every bad
  // line; nothing changes when there is one.
  std::vector<std::string> Apply(std::string_view text, std::string_view fileName);

  // The command bound to the chord; with none, the chord's key as a terminal key when it is
  // one (Enter, Esc, arrows, digits, letters, F-keys ...), else nullopt.
  std::optional<WindowCommand> Lookup(const KeyChord& chord) const;

  // Bound chords in order, for the help overlay (unbound ones left out).
  std::vector<std::pair<KeyChord, WindowCommand>> Listing() const;

 private:
  void Bind(KeyChord chord, std::string_view command);
  std::map<KeyChord, WindowCommand> bound_;
};

// The virtual key a desktop key stands for on the terminal, or 0.
int TerminalKeyOf(SDL_Keycode key);

}  // namespace vela::window
