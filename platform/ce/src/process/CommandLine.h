// How a command line travels to a child: the whole text in VELA_COMMAND_LINE (UTF-8), which
// GetCommandLineW gives back unchanged, and split into argv for programs that read their
// arguments the host's way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vela::process {

inline constexpr const char* kCommandLineVariable = "VELA_COMMAND_LINE";

// Blanks separate arguments; double quotes group blanks into one and are dropped.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// Arguments joined by blanks, an argument that holds a blank (or is empty) in double quotes.
std::string JoinArguments(const std::vector<std::string>& arguments);

}  // namespace vela::process
