#include "process/CommandLine.h"

#include <processthreadsapi.h>
#include <vela/Utf.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace vela::process {

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  std::vector<std::string> arguments;
  std::string current;
  bool inArgument = false;
  bool quoted = false;
  for (char c : commandLine) {
    if (c == '"') {
      quoted = !quoted;
      inArgument = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inArgument) {
        arguments.push_back(std::move(current));
        current.clear();
        inArgument = false;
      }
    } else {
      current += c;
      inArgument = true;
    }
  }
  if (inArgument) {
    arguments.push_back(std::move(current));
  }
  return arguments;
}

std::string JoinArguments(const std::vector<std::string>& arguments) {
  std::string line;
  for (const std::string& argument : arguments) {
    if (!line.empty()) {
      line += ' ';
    }
    const bool quote = argument.empty() || argument.find_first_of(" \t") != std::string::npos;
    line += quote ? "\"" + argument + "\"" : argument;
  }
  return line;
}

namespace {

// Taken over at load time and removed from the environment, so that programs this process
// starts by other means do not inherit a command line that is not theirs.
std::u16string TakeCommandLine() {
  if (const char* given = std::getenv(kCommandLineVariable)) {
    std::u16string line = Utf8ToUtf16(given);
    unsetenv(kCommandLineVariable);
    return line;
  }
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  const std::string raw((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::string> arguments;
  size_t start = 0;
  while (start < raw.size()) {
    size_t end = raw.find('\0', start);
    if (end == std::string::npos) {
      end = raw.size();
    }
    arguments.push_back(raw.substr(start, end - start));
    start = end + 1;
  }
  if (!arguments.empty()) {
    arguments.erase(arguments.begin());  // the terminal's command line leaves out the program
  }
  return Utf8ToUtf16(JoinArguments(arguments));
}

std::u16string& TheCommandLine() {
  static std::u16string* line = new std::u16string(TakeCommandLine());
  return *line;
}

[[maybe_unused]] const bool g_taken = (TheCommandLine(), true);

}  // namespace

}  // namespace vela::process

LPWSTR GetCommandLineW() { return vela::process::TheCommandLine().data(); }
