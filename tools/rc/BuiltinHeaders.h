// The platform headers a script may include. Their numbers are built in, as the platform's
// compiler knows them; their C declarations mean nothing to a resource script.
#pragma once

#include <string_view>

namespace vela::rc {

// True for a header the compiler provides itself ("windows.h", "winver.h", "afxres.h" ...).
bool IsBuiltinHeader(std::string_view name);

// #define lines of every built-in header, read once on the first include of any of them.
std::string_view BuiltinDefinitions();

// Defined before the script's first line.
std::string_view PredefinedMacros();

}  // namespace vela::rc
