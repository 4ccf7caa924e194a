// The Registry Editor's text format ("Windows Registry Editor Version 5.00"), read and written
// by the registry's hive files and by the registry tool. Text is written as UTF-8; UTF-8 (with or
// without a byte order mark) and UTF-16LE with a byte order mark are read.
#pragma once

#include <winreg.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vela::regfile {

struct Value {
  std::u16string name;  // empty: the default value, written "@"
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  bool remove = false;  // "name"=-
};

struct Section {
  std::u16string path;  // full key path, root name first, as written between the brackets
  bool remove = false;  // [-path]
  std::vector<Value> values;
  int line = 0;
};

// A line that could not be read. Nothing of it is applied.
struct Damage {
  int line = 0;
  std::string reason;
  std::string text;  // the line as found, UTF-8
};

struct Document {
  bool header = false;  // the first line named a known format
  std::vector<Section> sections;
  std::vector<Damage> damage;
  // The text ends inside a line, as a file cut short does. That line is read all the same.
  bool cutShort = false;
};

Document Parse(std::string_view bytes);

// The header line, then each section with its values, UTF-8, CR LF line ends as the Registry
// Editor writes them. Values whose data the quoted or dword forms would not keep exactly
// (a string without its terminator, with embedded NULs or line breaks; a dword not 4 bytes
// long) are written in hex(N) form, so every value survives a round trip.
std::string Format(const std::vector<Section>& sections);

// The predefined key of a root name: the long names and HKCR, HKCU, HKLM, HKU, any case.
std::optional<HKEY> RootKeyFromName(std::u16string_view name);

// The long name of a predefined key, or empty for any other handle.
std::u16string_view RootKeyName(HKEY root);

}  // namespace vela::regfile
