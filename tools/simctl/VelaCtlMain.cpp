// vela-ctl [--root DIR] ACTION...|state|list: changes a running simulated terminal from another
// shell.
#include <vela/TerminalFileSystem.h>

#include <iostream>

#include "ControlCommand.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  // VELA_ROOT, or else the platform's default root: the one the programs use too.
  return vela::simctl::RunControlCommand(arguments, [] { return vela::TerminalRoot(); }, std::cout, std::cerr);
}
