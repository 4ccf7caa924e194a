// Reading the Registry Editor's .reg text. A line that cannot be read is reported and skipped;
// everything else is kept, so a damaged file still gives what it holds.
#include <vela/RegFile.h>
#include <vela/Utf.h>

#include <cstring>

namespace vela::regfile {
namespace {

struct Line {
  int number;
  std::u16string text;
};

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r'; }

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool StartsWithNoCase(std::u16string_view s, std::u16string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char16_t a = s[i];
    if (a >= u'A' && a <= u'Z') a = static_cast<char16_t>(a + 0x20);
    if (a != prefix[i]) return false;
  }
  return true;
}

// Splits the bytes into numbered lines of UTF-16 text. UTF-8 lines that are not well formed
// are reported as damage instead of being read with replacement characters.
std::vector<Line> SplitLines(std::string_view bytes, std::vector<Damage>* damage) {
  std::vector<Line> lines;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                           (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    std::size_t start = 0;
    int number = 1;
    while (start <= text.size()) {
      std::size_t end = text.find(u'\n', start);
      if (end == std::u16string::npos) end = text.size();
      lines.push_back({number++, text.substr(start, end - start)});
      start = end + 1;
    }
    if (bytes.size() % 2 != 0) {
      damage->push_back({number - 1, "odd byte at the end of UTF-16 text", ""});
    }
    return lines;
  }
  if (bytes.size() >= 3 && std::memcmp(bytes.data(), "\xEF\xBB\xBF", 3) == 0) {
    bytes.remove_prefix(3);
  }
  std::size_t start = 0;
  int number = 1;
  while (start <= bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view raw = bytes.substr(start, end - start);
    std::u16string text = Utf8ToUtf16(raw);
    if (Utf16ToUtf8(text) != raw) {
      damage->push_back({number, "not UTF-8 text", std::string(raw)});
      text.clear();
    }
    lines.push_back({number++, std::move(text)});
    start = end + 1;
  }
  return lines;
}

// A quoted text with \\ and \" escapes, starting at s[*pos] == '"'. Other backslashes are kept
// as they are, as the Registry Editor does.
bool ReadQuoted(std::u16string_view s, std::size_t* pos, std::u16string* out) {
  std::size_t i = *pos + 1;
  out->clear();
  while (i < s.size()) {
    const char16_t c = s[i];
    if (c == u'"') {
      *pos = i + 1;
      return true;
    }
    if (c == u'\\' && i + 1 < s.size() && (s[i + 1] == u'\\' || s[i + 1] == u'"')) {
      out->push_back(s[i + 1]);
      i += 2;
      continue;
    }
    out->push_back(c);
    ++i;
  }
  return false;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Comma-separated bytes of one or two hex digits. An empty list is zero bytes; a trailing comma
// means the line was cut short.
bool ReadHexList(std::u16string_view s, std::vector<BYTE>* out) {
  s = Trim(s);
  if (s.empty()) return true;
  std::size_t i = 0;
  while (true) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    int value = 0;
    int digits = 0;
    while (i < s.size() && HexDigit(s[i]) >= 0 && digits < 3) {
      value = value * 16 + HexDigit(s[i]);
      ++digits;
      ++i;
    }
    if (digits == 0 || digits > 2) return false;
    out->push_back(static_cast<BYTE>(value));
    while (i < s.size() && IsBlank(s[i])) ++i;
    if (i == s.size()) return true;
    if (s[i] != u',') return false;
    ++i;
  }
}

std::vector<BYTE> Utf16Bytes(std::u16string_view text, bool terminate) {
  std::vector<BYTE> bytes;
  bytes.reserve((text.size() + 1) * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<BYTE>(c & 0xFF));
    bytes.push_back(static_cast<BYTE>(c >> 8));
  }
  if (terminate) {
    bytes.push_back(0);
    bytes.push_back(0);
  }
  return bytes;
}

// The right-hand side of a value line. Returns an empty reason on success.
const char* ReadData(std::u16string_view rhs, Value* value) {
  rhs = Trim(rhs);
  if (rhs == u"-") {
    value->remove = true;
    return nullptr;
  }
  if (!rhs.empty() && rhs.front() == u'"') {
    std::size_t pos = 0;
    std::u16string text;
    if (!ReadQuoted(rhs, &pos, &text)) return "unterminated string";
    if (!Trim(rhs.substr(pos)).empty()) return "text after the string";
    value->type = REG_SZ;
    value->data = Utf16Bytes(text, true);
    return nullptr;
  }
  if (StartsWithNoCase(rhs, u"dword:")) {
    const std::u16string_view digits = Trim(rhs.substr(6));
    if (digits.empty() || digits.size() > 8) return "bad dword";
    DWORD number = 0;
    for (char16_t c : digits) {
      if (HexDigit(c) < 0) return "bad dword";
      number = number * 16 + static_cast<DWORD>(HexDigit(c));
    }
    value->type = REG_DWORD;
    value->data = {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8),
                   static_cast<BYTE>(number >> 16), static_cast<BYTE>(number >> 24)};
    return nullptr;
  }
  if (StartsWithNoCase(rhs, u"hex")) {
    std::size_t pos = 3;
    DWORD type = REG_BINARY;
    if (pos < rhs.size() && rhs[pos] == u'(') {
      ++pos;
      DWORD number = 0;
      int digits = 0;
      while (pos < rhs.size() && HexDigit(rhs[pos]) >= 0 && digits < 8) {
        number = number * 16 + static_cast<DWORD>(HexDigit(rhs[pos]));
        ++digits;
        ++pos;
      }
      if (digits == 0 || pos >= rhs.size() || rhs[pos] != u')') return "bad hex type";
      ++pos;
      type = number;
    }
    if (pos >= rhs.size() || rhs[pos] != u':') return "bad hex data";
    std::vector<BYTE> data;
    if (!ReadHexList(rhs.substr(pos + 1), &data)) return "bad hex data";
    value->type = type;
    value->data = std::move(data);
    return nullptr;
  }
  return "unknown value form";
}

}  // namespace

Document Parse(std::string_view bytes) {
  Document doc;
  const std::vector<Line> lines = SplitLines(bytes, &doc.damage);
  doc.cutShort = !lines.empty() && !Trim(lines.back().text).empty();
  Section* current = nullptr;
  bool sawContent = false;
  // After a header that cannot be read, its values have no key to go to.
  bool orphanValues = false;

  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int number = lines[i].number;
    std::u16string_view text = Trim(lines[i].text);
    if (text.empty() || text.front() == u';') continue;

    if (!sawContent) {
      sawContent = true;
      if (text == u"Windows Registry Editor Version 5.00" || text == u"REGEDIT4") {
        doc.header = true;
        continue;
      }
    }
    auto damaged = [&](const char* reason, std::u16string_view what) {
      doc.damage.push_back({number, reason, Utf16ToUtf8(what)});
    };

    if (text.front() == u'[') {
      if (text.back() != u']') {
        damaged("unterminated key header", text);
        current = nullptr;
        orphanValues = true;
        continue;
      }
      std::u16string_view inner = text.substr(1, text.size() - 2);
      Section section;
      section.line = number;
      if (!inner.empty() && inner.front() == u'-') {
        section.remove = true;
        inner.remove_prefix(1);
      }
      if (inner.empty()) {
        damaged("empty key name", text);
        current = nullptr;
        orphanValues = true;
        continue;
      }
      section.path = std::u16string(inner);
      doc.sections.push_back(std::move(section));
      current = &doc.sections.back();
      orphanValues = false;
      continue;
    }

    // A value, perhaps continued over the following lines by a trailing backslash.
    std::u16string logical(text);
    bool cut = false;
    while (!logical.empty() && logical.back() == u'\\') {
      logical.pop_back();
      if (i + 1 >= lines.size()) {
        cut = true;
        break;
      }
      ++i;
      logical += Trim(lines[i].text);
    }
    if (cut) {
      damaged("value cut short at the end of the file", logical);
      continue;
    }
    if (logical.front() != u'"' && logical.front() != u'@') {
      damaged("not a key, value or comment", logical);
      continue;
    }
    Value value;
    std::size_t pos = 0;
    if (logical.front() == u'@') {
      pos = 1;
    } else if (!ReadQuoted(logical, &pos, &value.name)) {
      damaged("unterminated value name", logical);
      continue;
    }
    while (pos < logical.size() && IsBlank(logical[pos])) ++pos;
    if (pos >= logical.size() || logical[pos] != u'=') {
      damaged("value without '='", logical);
      continue;
    }
    if (const char* reason = ReadData(std::u16string_view(logical).substr(pos + 1), &value)) {
      damaged(reason, logical);
      continue;
    }
    if (!current || current->remove) {
      damaged(orphanValues ? "value of an unreadable key header" : "value outside a key", logical);
      continue;
    }
    current->values.push_back(std::move(value));
  }
  return doc;
}

}  // namespace vela::regfile
