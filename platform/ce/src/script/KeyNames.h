// Names of keys that a script may press, and their virtual-key codes.
#pragma once

#include <optional>
#include <string_view>

namespace vela::script {

// ENTER, ESC, TAB, LEFT, F1 ... (without regard to case), a single letter or digit, or a number
// (decimal or 0x hex) from 1 to 254.
std::optional<int> VirtualKeyFromName(std::string_view name);

}  // namespace vela::script
