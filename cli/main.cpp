#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#endif

#include "cli/CliCommands.h"

int main(int argc, char** argv) {
#ifdef _WIN32
  // The tool writes its line ends itself (LF, CR LF in CSV): a text-mode
  // stream would turn each LF into CR LF once more. Batches read from
  // standard input keep their bytes too.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
#endif
  // Output goes through the tool's own large buffer: no line-by-line sync with C stdio.
  std::ios::sync_with_stdio(false);
  std::vector<std::string> args(argv + 1, argv + argc);
  return RunCli(args, std::cout, std::cerr);
}
