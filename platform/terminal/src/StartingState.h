// The starting-state file of the simulated terminal: INI-like "key = value" lines, one section
// per area, adapters as numbered sections. Parsed over a buffer, so tests and fuzzers need no
// file.
#pragma once

#include <vela/Terminal.h>

#include <string>
#include <string_view>
#include <vector>

namespace vela::terminal {

// Applies text over state. Unknown sections and keys, and values that do not parse, are left
// out (the setting keeps its value) and reported, one line each, named after source.
std::vector<std::string> ApplyStartingStateText(std::string_view text, State& state,
                                                std::string_view source = "Terminal.ini");

}  // namespace vela::terminal
