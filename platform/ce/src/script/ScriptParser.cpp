// The script's grammar: one command per line, words separated by blanks.
#include <charconv>
#include <string>

#include <vela/Clock.h>
#include <vela/DeviceAction.h>
#include <vela/Script.h>
#include <vela/Utf.h>

#include "KeyNames.h"

namespace vela::script {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// The next blank-separated word; rest keeps what follows it.
std::string_view NextWord(std::string_view& rest) {
  rest = TrimLeft(rest);
  size_t end = 0;
  while (end < rest.size() && !IsBlank(rest[end])) ++end;
  std::string_view word = rest.substr(0, end);
  rest.remove_prefix(end);
  return word;
}

// Commands with only words and numbers may end in a comment.
std::string_view CutComment(std::string_view s) {
  const size_t hash = s.find('#');
  return hash == std::string_view::npos ? s : s.substr(0, hash);
}

bool ParseInt(std::string_view word, int& value) {
  if (word.empty()) return false;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  return ec == std::errc() && end == word.data() + word.size();
}

// A control id: decimal or 0x hexadecimal, 0 to 65535 as dialog templates hold them.
bool ParseId(std::string_view word, int& value) {
  int base = 10;
  if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
    word.remove_prefix(2);
    base = 16;
  }
  if (word.empty()) return false;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value, base);
  return ec == std::errc() && end == word.data() + word.size() && value >= 0 && value <= 0xFFFF;
}

// YYYY-MM-DDTHH:MM:SS, a time the platform clock can hold.
bool ParseTime(std::string_view word, SYSTEMTIME& time) {
  if (word.size() != 19 || word[4] != '-' || word[7] != '-' || word[10] != 'T' || word[13] != ':' ||
      word[16] != ':') {
    return false;
  }
  int parts[6] = {};
  static constexpr size_t kStarts[] = {0, 5, 8, 11, 14, 17};
  static constexpr size_t kLengths[] = {4, 2, 2, 2, 2, 2};
  for (int i = 0; i < 6; ++i) {
    const std::string_view digits = word.substr(kStarts[i], kLengths[i]);
    for (char c : digits) {
      if (c < '0' || c > '9') return false;
    }
    if (!ParseInt(digits, parts[i])) return false;
  }
  time = SYSTEMTIME{static_cast<WORD>(parts[0]), static_cast<WORD>(parts[1]), 0, static_cast<WORD>(parts[2]),
                    static_cast<WORD>(parts[3]), static_cast<WORD>(parts[4]), static_cast<WORD>(parts[5]), 0};
  vela::clock::Milliseconds check = 0;
  return vela::clock::FromSystemTime(time, check);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool EndsWithPng(std::string_view file) {
  return file.size() > 4 && EqualsNoCase(file.substr(file.size() - 4), ".png");
}

class LineParser {
 public:
  LineParser(int line, std::string_view text, bool first, Script& script)
      : line_(line), rest_(text), first_(first), script_(script) {}

  void Run() {
    const std::string_view all = rest_;
    const std::string_view word = NextWord(rest_);
    struct Entry {
      const char* name;
      void (LineParser::*parse)(Op);
      Op op;
    };
    static constexpr Entry kCommands[] = {
        {"tap", &LineParser::Point, Op::Tap},   {"down", &LineParser::Point, Op::Down},
        {"move", &LineParser::Point, Op::Move}, {"up", &LineParser::Point, Op::Up},
        {"key", &LineParser::Key, Op::Key},     {"type", &LineParser::Text, Op::Type},
        {"wait", &LineParser::Wait, Op::Wait},  {"idle", &LineParser::Bare, Op::Idle},
        {"shot", &LineParser::Shot, Op::Shot},  {"log", &LineParser::Text, Op::Log},
        {"quit", &LineParser::Quit, Op::Quit},  {"clock", &LineParser::Clock, Op::Clock},
        {"expect", &LineParser::Expect, Op::ExpectText},
    };
    for (const Entry& entry : kCommands) {
      if (EqualsNoCase(word, entry.name)) {
        (this->*entry.parse)(entry.op);
        return;
      }
    }
    if (vela::device::IsActionWord(word)) return Device(all);
    Fail("unknown command '" + std::string(word) + "'");
  }

 private:
  void Point(Op op) {
    Command command = Make(op);
    const std::string_view next = TrimLeft(rest_);
    if (op == Op::Tap && !next.empty() && (next.front() == '"' || next.front() == '#')) {
      if (!ControlName(command.control)) return;
      rest_ = CutComment(rest_);
      return Finish(std::move(command));
    }
    rest_ = CutComment(rest_);
    if (!ParseInt(NextWord(rest_), command.x) || !ParseInt(NextWord(rest_), command.y)) {
      return Fail("expects two whole numbers X Y");
    }
    if (command.x < 0 || command.y < 0 || command.x > 0x7FFF || command.y > 0x7FFF) {
      return Fail("coordinates must be between 0 and 32767");
    }
    Finish(std::move(command));
  }

  void Key(Op op) {
    rest_ = CutComment(rest_);
    Command command = Make(op);
    const std::string_view name = NextWord(rest_);
    const std::optional<int> vk = VirtualKeyFromName(name);
    if (!vk) return Fail(name.empty() ? "expects a key" : "unknown key '" + std::string(name) + "'");
    command.number = *vk;
    Finish(std::move(command));
  }

  // The text is everything after one blank, kept as written (inner and trailing blanks too).
  void Text(Op op) {
    Command command = Make(op);
    std::string_view text = rest_;
    if (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    if (op == Op::Type && text.empty()) return Fail("expects the text to type");
    command.text = Utf8ToUtf16(text);
    rest_ = {};
    script_.commands.push_back(std::move(command));
  }

  void Wait(Op op) {
    rest_ = CutComment(rest_);
    Command command = Make(op);
    if (!ParseInt(NextWord(rest_), command.number) || command.number < 0) {
      return Fail("expects the milliseconds to wait, 0 or more");
    }
    Finish(std::move(command));
  }

  void Bare(Op op) {
    rest_ = CutComment(rest_);
    Finish(Make(op));
  }

  void Shot(Op op) {
    Command command = Make(op);
    const std::string_view file = NextWord(rest_);
    if (!EndsWithPng(file)) return Fail("expects a file name ending in .png");
    command.file = std::string(file);
    command.text = Utf8ToUtf16(TrimRight(TrimLeft(rest_)));
    rest_ = {};
    script_.commands.push_back(std::move(command));
  }

  void Quit(Op op) {
    rest_ = CutComment(rest_);
    Command command = Make(op);
    const std::string_view code = NextWord(rest_);
    if (!code.empty() && !ParseInt(code, command.number)) return Fail("expects a whole number as the exit code");
    Finish(std::move(command));
  }

  void Clock(Op op) {
    rest_ = CutComment(rest_);
    Command command = Make(op);
    if (!first_) return Fail("clock may only be the first command");
    if (!ParseTime(NextWord(rest_), command.time)) return Fail("expects a time YYYY-MM-DDTHH:MM:SS");
    Finish(std::move(command));
  }

  void Device(std::string_view all) {
    Command command = Make(Op::Device);
    const std::string_view words = TrimRight(TrimLeft(CutComment(all)));
    const std::string problem = vela::device::CheckAction(words);
    if (!problem.empty()) return Fail(problem);
    command.words = std::string(words);
    rest_ = {};
    script_.commands.push_back(std::move(command));
  }

  void Expect(Op) {
    const std::string_view what = NextWord(rest_);
    Op op;
    if (EqualsNoCase(what, "text")) {
      op = Op::ExpectText;
    } else if (EqualsNoCase(what, "icon")) {
      op = Op::ExpectIcon;
    } else if (EqualsNoCase(what, "visible")) {
      op = Op::ExpectVisible;
    } else if (EqualsNoCase(what, "hidden")) {
      op = Op::ExpectHidden;
    } else {
      return Fail("expect what? text, icon, visible or hidden");
    }
    Command command = Make(op);
    if (!ControlName(command.control)) return;
    if (op == Op::ExpectText) {
      rest_ = TrimLeft(rest_);
      if (rest_.empty() || rest_.front() != '"') return Fail("expects the wanted text in quotes");
      std::optional<std::u16string> text = Quoted();
      if (!text) return;
      command.text = std::move(*text);
    } else if (op == Op::ExpectIcon) {
      rest_ = CutComment(rest_);
      if (!ParseId(NextWord(rest_), command.number)) return Fail("expects the icon's resource id");
    } else {
      rest_ = CutComment(rest_);
    }
    Finish(std::move(command));
  }

  // "CAPTION" or #ID; false after reporting what is wrong.
  bool ControlName(Control& control) {
    rest_ = TrimLeft(rest_);
    if (!rest_.empty() && rest_.front() == '"') {
      std::optional<std::u16string> caption = Quoted();
      if (!caption) return false;
      control.by = Control::By::Caption;
      control.caption = std::move(*caption);
      return true;
    }
    if (!rest_.empty() && rest_.front() == '#') {
      rest_.remove_prefix(1);
      if (!ParseId(NextWord(rest_), control.id)) {
        Fail("expects a control id after '#', 0 to 65535 (or 0x0 to 0xFFFF)");
        return false;
      }
      control.by = Control::By::Id;
      return true;
    }
    Fail("expects a control: \"CAPTION\" or #ID");
    return false;
  }

  // A quoted UTF-8 text at the start of rest_, with \" and \\ as its only escapes; what follows
  // it may be a comment.
  std::optional<std::u16string> Quoted() {
    std::string text;
    size_t i = 1;
    for (; i < rest_.size() && rest_[i] != '"'; ++i) {
      if (rest_[i] != '\\') {
        text += rest_[i];
        continue;
      }
      if (i + 1 < rest_.size() && (rest_[i + 1] == '"' || rest_[i + 1] == '\\')) {
        text += rest_[++i];
        continue;
      }
      Fail("only \\\" and \\\\ may follow a backslash in quotes");
      return std::nullopt;
    }
    if (i >= rest_.size()) {
      Fail("the quoted text has no closing quote");
      return std::nullopt;
    }
    rest_.remove_prefix(i + 1);
    if (!rest_.empty() && !IsBlank(rest_.front())) {
      Fail("expects a blank after the closing quote");
      return std::nullopt;
    }
    rest_ = CutComment(rest_);
    return Utf8ToUtf16(text);
  }

  Command Make(Op op) const {
    Command command{};
    command.op = op;
    command.line = line_;
    return command;
  }

  void Finish(Command command) {
    const std::string_view extra = TrimRight(TrimLeft(rest_));
    if (!extra.empty()) return Fail("unexpected '" + std::string(extra) + "' at the end");
    script_.commands.push_back(std::move(command));
  }

  void Fail(const std::string& message) { script_.errors.push_back(ParseError{line_, message}); }

  int line_;
  std::string_view rest_;
  bool first_;
  Script& script_;
};

}  // namespace

Script Parse(std::string_view text) {
  Script script;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int line = 0;
  bool first = true;
  while (!text.empty()) {
    ++line;
    const size_t end = text.find('\n');
    std::string_view current = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!current.empty() && current.back() == '\r') current.remove_suffix(1);
    const std::string_view content = TrimRight(TrimLeft(current));
    if (content.empty() || content.front() == '#') continue;
    LineParser(line, TrimLeft(current), first, script).Run();
    first = false;
  }
  return script;
}

std::string FormatError(const ParseError& error) { return "line " + std::to_string(error.line) + ": " + error.message; }

}  // namespace vela::script
