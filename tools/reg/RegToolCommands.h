// The registry tool's commands, kept apart from main() so that tests can run them directly.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vela::regtool {

// Runs one command line (without the program name); arguments and console text are UTF-8.
// Questions (overwrite? delete?) are read from in. Returns the exit code: 0 on success,
// 1 on failure.
int RunCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace vela::regtool
