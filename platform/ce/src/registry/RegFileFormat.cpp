// Writing the Registry Editor's .reg text, in UTF-8 so that a person can read and diff it.
#include <vela/RegFile.h>
#include <vela/Utf.h>

#include <cstdio>

namespace vela::regfile {
namespace {

constexpr const char* kEol = "\r\n";
// The Registry Editor wraps hex data before this column.
constexpr std::size_t kHexLineWidth = 80;

std::string Escaped(std::u16string_view text) {
  std::string out;
  for (char c : Utf16ToUtf8(text)) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  return out;
}

// The text of a REG_SZ whose quoted form gives back exactly the same bytes: one terminating
// NUL and none before it, no line breaks, well-formed UTF-16.
bool QuotableString(const std::vector<BYTE>& data, std::u16string* text) {
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  text->clear();
  for (std::size_t i = 0; i + 2 < data.size(); i += 2) {
    const char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (c == 0 || c == u'\r' || c == u'\n') return false;
    text->push_back(c);
  }
  if (data[data.size() - 2] != 0 || data[data.size() - 1] != 0) return false;
  return Utf8ToUtf16(Utf16ToUtf8(*text)) == *text;
}

void AppendHex(std::string* out, std::string line, const std::vector<BYTE>& data) {
  static const char kDigits[] = "0123456789abcdef";
  bool lineHasBytes = false;
  for (std::size_t i = 0; i < data.size(); ++i) {
    std::string piece{kDigits[data[i] >> 4], kDigits[data[i] & 15]};
    if (i + 1 < data.size()) piece.push_back(',');
    // Room is kept for the continuation backslash.
    if (lineHasBytes && line.size() + piece.size() + 1 > kHexLineWidth) {
      *out += line + "\\" + kEol;
      line = "  ";
    }
    line += piece;
    lineHasBytes = true;
  }
  *out += line + kEol;
}

void AppendValue(std::string* out, const Value& value) {
  std::string line = value.name.empty() ? "@=" : "\"" + Escaped(value.name) + "\"=";
  if (value.remove) {
    *out += line + "-" + kEol;
    return;
  }
  std::u16string text;
  if (value.type == REG_SZ && QuotableString(value.data, &text)) {
    *out += line + "\"" + Escaped(text) + "\"" + kEol;
    return;
  }
  if (value.type == REG_DWORD && value.data.size() == 4) {
    const DWORD number = static_cast<DWORD>(value.data[0]) | (static_cast<DWORD>(value.data[1]) << 8) |
                         (static_cast<DWORD>(value.data[2]) << 16) |
                         (static_cast<DWORD>(value.data[3]) << 24);
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(number));
    *out += line + "dword:" + digits + kEol;
    return;
  }
  if (value.type == REG_BINARY) {
    line += "hex:";
  } else {
    char type[24];
    std::snprintf(type, sizeof type, "hex(%x):", static_cast<unsigned>(value.type));
    line += type;
  }
  AppendHex(out, std::move(line), value.data);
}

}  // namespace

std::string Format(const std::vector<Section>& sections) {
  std::string out = std::string("Windows Registry Editor Version 5.00") + kEol + kEol;
  for (const Section& section : sections) {
    out += (section.remove ? "[-" : "[") + Utf16ToUtf8(section.path) + "]" + kEol;
    for (const Value& value : section.values) AppendValue(&out, value);
    out += kEol;
  }
  return out;
}

}  // namespace vela::regfile
