// Value data as the registry tool takes it on the command line and shows it.
#pragma once

#include <winreg.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vela::regtool {

// REG_SZ, REG_DWORD ... and back; nullopt / empty for a name the tool does not know.
std::optional<DWORD> TypeFromName(std::string_view name);
std::string TypeName(DWORD type);

// The bytes of /d DATA for a type. Strings are UTF-8 on the command line and UTF-16LE with a
// terminator in the registry; REG_MULTI_SZ parts are split at the separator; REG_DWORD is
// decimal or 0x hex; REG_BINARY (and other types) is hex digits, optionally separated by
// commas or blanks, or "text:..." for UTF-16LE text with its terminator. Sets *error and
// returns nullopt when the data does not fit the type.
std::optional<std::vector<BYTE>> ParseData(DWORD type, std::string_view data, std::string_view separator,
                                           std::string* error);

// The data as the query command prints it.
std::string DisplayData(DWORD type, const std::vector<BYTE>& data);

}  // namespace vela::regtool
