#include "RegToolData.h"

#include <vela/Utf.h>

#include <cstdio>

namespace vela::regtool {
namespace {

struct TypeEntry {
  DWORD type;
  const char* name;
};

constexpr TypeEntry kTypes[] = {
    {REG_NONE, "REG_NONE"},     {REG_SZ, "REG_SZ"},         {REG_EXPAND_SZ, "REG_EXPAND_SZ"},
    {REG_BINARY, "REG_BINARY"}, {REG_DWORD, "REG_DWORD"},   {REG_MULTI_SZ, "REG_MULTI_SZ"},
    {REG_QWORD, "REG_QWORD"},
};

void AppendUtf16(std::vector<BYTE>* out, std::u16string_view text) {
  for (char16_t c : text) {
    out->push_back(static_cast<BYTE>(c & 0xFF));
    out->push_back(static_cast<BYTE>(c >> 8));
  }
  out->push_back(0);
  out->push_back(0);
}

std::u16string Utf16Of(const std::vector<BYTE>& data) {
  std::u16string text(data.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<unsigned long long> ParseNumber(std::string_view text, unsigned long long max) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  unsigned long long value = 0;
  for (char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0 || digit >= base) return std::nullopt;
    if (value > (max - static_cast<unsigned>(digit)) / static_cast<unsigned>(base)) return std::nullopt;
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
  }
  return value;
}

}  // namespace

std::optional<DWORD> TypeFromName(std::string_view name) {
  for (const TypeEntry& entry : kTypes) {
    if (name == entry.name) return entry.type;
  }
  return std::nullopt;
}

std::string TypeName(DWORD type) {
  for (const TypeEntry& entry : kTypes) {
    if (type == entry.type) return entry.name;
  }
  char text[32];
  std::snprintf(text, sizeof text, "REG_0x%x", static_cast<unsigned>(type));
  return text;
}

std::optional<std::vector<BYTE>> ParseData(DWORD type, std::string_view data, std::string_view separator,
                                           std::string* error) {
  std::vector<BYTE> out;
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      AppendUtf16(&out, Utf8ToUtf16(data));
      return out;
    case REG_MULTI_SZ: {
      // An empty list is the lone terminator.
      std::size_t start = 0;
      while (!data.empty() && start <= data.size()) {
        std::size_t end = separator.empty() ? std::string_view::npos : data.find(separator, start);
        if (end == std::string_view::npos) end = data.size();
        const std::string_view part = data.substr(start, end - start);
        if (part.empty()) {
          *error = "REG_MULTI_SZ data cannot hold an empty string";
          return std::nullopt;
        }
        AppendUtf16(&out, Utf8ToUtf16(part));
        start = end + separator.size();
        if (end == data.size()) break;
      }
      out.push_back(0);
      out.push_back(0);
      return out;
    }
    case REG_DWORD:
    case REG_QWORD: {
      const bool dword = type == REG_DWORD;
      const auto number = ParseNumber(data, dword ? 0xFFFFFFFFull : ~0ull);
      if (!number) {
        *error = std::string("invalid ") + (dword ? "REG_DWORD" : "REG_QWORD") +
                 " data (a decimal number or 0x followed by hex digits)";
        return std::nullopt;
      }
      for (int i = 0; i < (dword ? 4 : 8); ++i) out.push_back(static_cast<BYTE>(*number >> (8 * i)));
      return out;
    }
    default:
      break;
  }
  if (data.substr(0, 5) == "text:") {
    AppendUtf16(&out, Utf8ToUtf16(data.substr(5)));
    return out;
  }
  int high = -1;
  for (char c : data) {
    if (c == ',' || c == ' ') {
      if (high >= 0) {
        *error = "hex data must give two digits per byte";
        return std::nullopt;
      }
      continue;
    }
    const int digit = HexDigit(c);
    if (digit < 0) {
      *error = "invalid hex data (hex digits, or text:... for a string)";
      return std::nullopt;
    }
    if (high < 0) {
      high = digit;
    } else {
      out.push_back(static_cast<BYTE>(high * 16 + digit));
      high = -1;
    }
  }
  if (high >= 0) {
    *error = "hex data must give two digits per byte";
    return std::nullopt;
  }
  return out;
}

std::string DisplayData(DWORD type, const std::vector<BYTE>& data) {
  char number[24];
  if (type == REG_DWORD && data.size() == 4) {
    std::snprintf(number, sizeof number, "0x%x",
                  static_cast<unsigned>(data[0] | (data[1] << 8) | (data[2] << 16) |
                                        (static_cast<unsigned>(data[3]) << 24)));
    return number;
  }
  if (type == REG_QWORD && data.size() == 8) {
    unsigned long long value = 0;
    for (int i = 7; i >= 0; --i) value = (value << 8) | data[static_cast<std::size_t>(i)];
    std::snprintf(number, sizeof number, "0x%llx", value);
    return number;
  }
  if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
    std::u16string text = Utf16Of(data);
    while (!text.empty() && text.back() == 0) text.pop_back();
    std::string shown;
    std::size_t start = 0;
    while (true) {
      const std::size_t end = text.find(u'\0', start);
      shown += Utf16ToUtf8(std::u16string_view(text).substr(start, end - start));
      if (end == std::u16string::npos) break;
      shown += "\\0";
      start = end + 1;
    }
    return shown;
  }
  std::string hex;
  for (BYTE b : data) {
    std::snprintf(number, sizeof number, "%02X", b);
    hex += number;
  }
  return hex;
}

}  // namespace vela::regtool
