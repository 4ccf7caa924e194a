#include "WindowCommand.h"

#include <vela/DeviceAction.h>
#include <vela/Script.h>

namespace vela::window {

std::string_view TrimBlanks(std::string_view text) {
  const size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos) return {};
  const size_t end = text.find_last_not_of(" \t\r\n");
  return text.substr(start, end - start + 1);
}

namespace {

// Words separated by any run of blanks, as one text with single spaces.
std::string Normalised(std::string_view text) {
  std::string out;
  bool blank = false;
  for (char c : TrimBlanks(text)) {
    if (c == ' ' || c == '\t') {
      blank = true;
      continue;
    }
    if (blank && !out.empty()) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

struct NamedSwitch {
  std::string_view text;
  Switch what;
};
constexpr NamedSwitch kSwitches[] = {
    {"toggle power", Switch::Power},     {"toggle network", Switch::Network},
    {"toggle suspend", Switch::Suspend}, {"toggle volume", Switch::Volume},
    {"cycle signal", Switch::Signal},    {"cycle ime", Switch::Ime},
    {"cycle keymode", Switch::KeyMode},  {"lower battery", Switch::LowerBattery},
    {"raise battery", Switch::RaiseBattery},
};

}  // namespace

std::optional<WindowCommand> ParseWindowCommand(std::string_view text, std::string* error) {
  const std::string command = Normalised(text);
  WindowCommand result;
  result.text = command;
  using Kind = WindowCommand::Kind;
  if (command.empty()) {
    *error = "no command after '='";
    return std::nullopt;
  }
  if (command.rfind("key ", 0) == 0 || command == "key") {
    // The script's own parser knows the key names, so a binding and a script agree on them.
    const auto parsed = vela::script::Parse(command);
    if (!parsed.errors.empty() || parsed.commands.size() != 1) {
      *error = "'" + command.substr(command.find(' ') + 1) + "' is not a key name (ENTER, ESC, F5, A, 0x2A ...)";
      return std::nullopt;
    }
    result.kind = Kind::TerminalKey;
    result.virtualKey = parsed.commands[0].number;
    return result;
  }
  static constexpr std::pair<std::string_view, Kind> kPlain[] = {
      {"help", Kind::Help}, {"shot", Kind::Shot}, {"record", Kind::Record}, {"quit", Kind::Quit},
      {"none", Kind::Unbound}, {"flip", Kind::Flip}};
  for (const auto& [name, kind] : kPlain) {
    if (command == name) {
      result.kind = kind;
      return result;
    }
  }
  for (const NamedSwitch& named : kSwitches) {
    if (command == named.text) {
      result.kind = Kind::Switch;
      result.what = named.what;
      return result;
    }
  }
  std::string why = vela::device::CheckAction(command);
  if (why.empty()) {
    result.kind = Kind::Action;
    result.words = command;
    return result;
  }
  const std::string first = command.substr(0, command.find(' '));
  *error = vela::device::IsActionWord(first) ? why : "'" + command + "' is not a command";
  return std::nullopt;
}

}  // namespace vela::window
