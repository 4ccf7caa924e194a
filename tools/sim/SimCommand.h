// vela-sim's command line: what it asks for, and the environment the application is started
// with. Kept apart from main so that tests check it without starting anything.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vela::simcmd {

enum class FrontEnd { Chosen, Window, Headless };

struct Request {
  std::string root;
  FrontEnd frontEnd = FrontEnd::Chosen;
  int zoom = 0;  // 0: not given
  std::string keys, record, script, shots, shot, clock;
  bool echo = false;
  std::string program;
  std::vector<std::string> arguments;  // after PROGRAM
};

// The request, or nothing with what is wrong in *error (one line, without the usage text).
std::optional<Request> ParseArguments(const std::vector<std::string>& arguments, std::string* error);

// What the host looks like to vela-sim; tests give their own.
struct Host {
  std::function<std::string(const std::string&)> environment;  // "" when not set
  std::function<std::string(const std::string&)> absolute;      // a host path made absolute
  std::function<bool(const std::string&)> runnable;              // a program file exists there
  std::function<bool(const std::string&)> readable;              // a file that can be read
  // The host path of a terminal path under root ("": the root the environment names).
  std::function<std::string(const std::string& root, const std::string& terminalPath)> fromTerminal;
};

struct Launch {
  std::string program;                                        // host path
  std::vector<std::string> arguments;                         // arguments[0] is program
  std::vector<std::pair<std::string, std::string>> variables;  // "" removes
};

// The program to run and its environment, or nothing with what is wrong in *error.
std::optional<Launch> PlanLaunch(const Request& request, const Host& host, std::string* error);

std::string Usage();

}  // namespace vela::simcmd
