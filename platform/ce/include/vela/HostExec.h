// Starting a host program in place of this one, for the simulator's command line (vela-sim):
// it prepares the environment of the terminal's application and then becomes it.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vela::host {

// Sets each variable in this process's environment; an empty value removes it.
void SetEnvironment(const std::vector<std::pair<std::string, std::string>>& variables);

// The value of a variable of this process's environment, "" when it is not set.
std::string Environment(const std::string& name);

// True when hostPath is a regular file this user may run.
bool IsRunnableFile(const std::string& hostPath);

// Replaces this process by hostPath with arguments (arguments[0] is the program's own name),
// keeping the environment. Returns only when that failed, with the reason.
std::string ReplaceProcess(const std::string& hostPath, const std::vector<std::string>& arguments);

}  // namespace vela::host
