// File names of the ...A functions: ANSI code page text to UTF-16.
#pragma once

#include <wintypes.h>

#include <optional>
#include <string>

namespace vela::fileio {

// nullopt (last error set) when the name cannot be converted; a null name stays null.
std::optional<std::u16string> WideFromAnsi(LPCSTR name);

}  // namespace vela::fileio
