#include <iostream>

#include "cli/CliCommands.h"

int main(int argc, char** argv) {
  // Output goes through the tool's own large buffer: no line-by-line sync with C stdio.
  std::ios::sync_with_stdio(false);
  std::vector<std::string> args(argv + 1, argv + argc);
  return RunCli(args, std::cout, std::cerr);
}
