// The script's grammar: one command per line, words separated by blanks.
#include <charconv>
#include <string>

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
  LineParser(int line, std::string_view text, Script& script) : line_(line), rest_(text), script_(script) {}

  void Run() {
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
        {"quit", &LineParser::Quit, Op::Quit},
    };
    for (const Entry& entry : kCommands) {
      if (EqualsNoCase(word, entry.name)) {
        (this->*entry.parse)(entry.op);
        return;
      }
    }
    Fail("unknown command '" + std::string(word) + "'");
  }

 private:
  void Point(Op op) {
    rest_ = CutComment(rest_);
    Command command = Make(op);
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
  Script& script_;
};

}  // namespace

Script Parse(std::string_view text) {
  Script script;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int line = 0;
  while (!text.empty()) {
    ++line;
    const size_t end = text.find('\n');
    std::string_view current = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!current.empty() && current.back() == '\r') current.remove_suffix(1);
    const std::string_view content = TrimRight(TrimLeft(current));
    if (content.empty() || content.front() == '#') continue;
    LineParser(line, TrimLeft(current), script).Run();
  }
  return script;
}

std::string FormatError(const ParseError& error) { return "line " + std::to_string(error.line) + ": " + error.message; }

}  // namespace vela::script
