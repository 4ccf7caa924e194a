// vela-sim: starts an application of the kit on the simulated terminal, in a desktop window or
// headless with a script, by setting its environment and becoming it.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <vela/HostExec.h>
#include <vela/TerminalFileSystem.h>
#include <vela/Utf.h>

#include "SimCommand.h"

namespace {

constexpr int kUsageExitCode = 2;
constexpr int kCannotStartExitCode = 126;

vela::simcmd::Host RealHost() {
  vela::simcmd::Host host;
  host.environment = [](const std::string& name) { return vela::host::Environment(name); };
  host.absolute = [](const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
  };
  host.runnable = [](const std::string& path) { return vela::host::IsRunnableFile(path); };
  host.readable = [](const std::string& path) { return static_cast<bool>(std::ifstream(path)); };
  host.fromTerminal = [](const std::string& root, const std::string& terminalPath) {
    // The platform reads the root from the environment.
    if (!root.empty()) vela::host::SetEnvironment({{"VELA_ROOT", root}});
    return vela::HostPathFromTerminal(vela::Utf8ToUtf16(terminalPath));
  };
  return host;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h")) {
    std::fputs(vela::simcmd::Usage().c_str(), stdout);
    return 0;
  }
  std::string error;
  const auto request = vela::simcmd::ParseArguments(arguments, &error);
  if (!request) {
    std::fprintf(stderr, "vela-sim: %s\n%s", error.c_str(), vela::simcmd::Usage().c_str());
    return kUsageExitCode;
  }
  const auto launch = vela::simcmd::PlanLaunch(*request, RealHost(), &error);
  if (!launch) {
    std::fprintf(stderr, "vela-sim: %s\n", error.c_str());
    return kUsageExitCode;
  }
  vela::host::SetEnvironment(launch->variables);
  error = vela::host::ReplaceProcess(launch->program, launch->arguments);
  std::fprintf(stderr, "vela-sim: cannot start %s: %s\n", launch->program.c_str(), error.c_str());
  return kCannotStartExitCode;
}
