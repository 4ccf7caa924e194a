// The vela-ctl command as a function, so tests run it without a process of its own.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace vela::simctl {

// Exit codes of the command.
inline constexpr int kDone = 0;
inline constexpr int kRefusedOrNone = 1;  // no terminal runs, or a process refused
inline constexpr int kUsage = 2;

// arguments: what follows the command's name. defaultRoot: gives the host root used without
// --root (asked only then: the platform's default root is made when first asked for).
int RunControlCommand(const std::vector<std::string>& arguments, const std::function<std::string()>& defaultRoot,
                      std::ostream& out, std::ostream& err);

}  // namespace vela::simctl
