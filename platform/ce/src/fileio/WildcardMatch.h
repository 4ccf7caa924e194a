// File name patterns of FindFirstFile: "*" any run of characters, "?" any one, compared
// without regard to case. "*.*" matches every name, with or without a dot.
#pragma once

#include <string_view>

namespace vela::fileio {

bool MatchesWildcard(std::u16string_view pattern, std::u16string_view name);

}  // namespace vela::fileio
