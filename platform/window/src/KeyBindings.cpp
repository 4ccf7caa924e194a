#include "KeyBindings.h"

#include <windows.h>

#include <SDL_keyboard.h>

#include <cctype>

namespace vela::window {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<KeyChord> ParseKeyChord(std::string_view text, std::string* error) {
  KeyChord chord;
  std::string_view rest = TrimBlanks(text);
  // A lone "+" (or "Ctrl++") names the plus key, so a modifier needs something after it.
  for (;;) {
    if (StartsWithNoCase(rest, "ctrl+") && rest.size() > 5) {
      chord.ctrl = true;
      rest.remove_prefix(5);
    } else if (StartsWithNoCase(rest, "shift+") && rest.size() > 6) {
      chord.shift = true;
      rest.remove_prefix(6);
    } else {
      break;
    }
  }
  rest = TrimBlanks(rest);
  const std::string name(rest);
  chord.key = name.empty() ? SDLK_UNKNOWN : SDL_GetKeyFromName(name.c_str());
  if (chord.key == SDLK_UNKNOWN) {
    *error = "'" + name + "' is not a key name (F5, Return, Escape, Ctrl+R ...)";
    return std::nullopt;
  }
  return chord;
}

std::string DescribeKeyChord(const KeyChord& chord) {
  std::string text;
  if (chord.ctrl) text += "Ctrl+";
  if (chord.shift) text += "Shift+";
  return text + SDL_GetKeyName(chord.key);
}

KeyBindings KeyBindings::Defaults() {
  KeyBindings bindings;
  bindings.Bind({SDLK_F1, false, false}, "help");
  bindings.Bind({SDLK_F2, false, false}, "flip");
  bindings.Bind({SDLK_F3, false, false}, "toggle suspend");
  bindings.Bind({SDLK_F4, false, false}, "toggle power");
  bindings.Bind({SDLK_F5, false, false}, "lower battery");
  bindings.Bind({SDLK_F6, false, false}, "raise battery");
  bindings.Bind({SDLK_F7, false, false}, "cycle signal");
  bindings.Bind({SDLK_F8, false, false}, "toggle network");
  bindings.Bind({SDLK_F9, false, false}, "cycle ime");
  bindings.Bind({SDLK_F10, false, false}, "cycle keymode");
  bindings.Bind({SDLK_F11, false, false}, "toggle volume");
  bindings.Bind({SDLK_F12, false, false}, "shot");
  bindings.Bind({SDLK_r, true, false}, "record");
  bindings.Bind({SDLK_q, true, false}, "quit");
  return bindings;
}

void KeyBindings::Bind(KeyChord chord, std::string_view command) {
  std::string ignored;
  bound_[chord] = *ParseWindowCommand(command, &ignored);
}

std::vector<std::string> KeyBindings::Apply(std::string_view text, std::string_view fileName) {
  std::vector<std::string> errors;
  std::map<KeyChord, WindowCommand> changed = bound_;
  int lineNumber = 0;
  size_t at = 0;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") at = 3;
  while (at <= text.size()) {
    const size_t end = std::min(text.find('\n', at), text.size());
    const std::string_view line = TrimBlanks(text.substr(at, end - at));
    at = end + 1;
    ++lineNumber;
    if (line.empty() || line[0] == '#') continue;
    const auto fail = [&](const std::string& message) {
      errors.push_back(std::string(fileName) + ":" + std::to_string(lineNumber) + ": " + message);
    };
    // The last '=' divides, so that the '=' key itself can be bound ("= = help"); commands
    // never hold one.
    const size_t equals = line.rfind('=');
    if (equals == std::string_view::npos || equals == 0) {
      fail("say 'KEY = COMMAND'");
      continue;
    }
    std::string why;
    const auto chord = ParseKeyChord(line.substr(0, equals), &why);
    if (!chord) {
      fail(why);
      continue;
    }
    const auto command = ParseWindowCommand(line.substr(equals + 1), &why);
    if (!command) {
      fail(why);
      continue;
    }
    changed[*chord] = *command;
  }
  if (errors.empty()) bound_ = std::move(changed);
  return errors;
}

std::optional<WindowCommand> KeyBindings::Lookup(const KeyChord& chord) const {
  if (const auto found = bound_.find(chord); found != bound_.end()) {
    if (found->second.kind == WindowCommand::Kind::Unbound) return std::nullopt;
    return found->second;
  }
  const int vk = TerminalKeyOf(chord.key);
  if (vk == 0) return std::nullopt;
  WindowCommand command;
  command.kind = WindowCommand::Kind::TerminalKey;
  command.virtualKey = vk;
  return command;
}

std::vector<std::pair<KeyChord, WindowCommand>> KeyBindings::Listing() const {
  std::vector<std::pair<KeyChord, WindowCommand>> listing;
  for (const auto& [chord, command] : bound_) {
    if (command.kind != WindowCommand::Kind::Unbound) listing.emplace_back(chord, command);
  }
  return listing;
}

int TerminalKeyOf(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return '1' + (key - SDLK_KP_1);
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
  if (key >= SDLK_F13 && key <= SDLK_F24) return VK_F13 + (key - SDLK_F13);
  switch (key) {
    case SDLK_KP_0: return '0';
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_TAB: return VK_TAB;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_SPACE: return VK_SPACE;
    default: return 0;
  }
}

}  // namespace vela::window
