// vela-reg: query and change the terminal's registry from a shell, like the platform's reg command.
#include <iostream>
#include <string>
#include <vector>

#include "RegToolCommands.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return vela::regtool::RunCommand(args, std::cin, std::cout, std::cerr);
}
