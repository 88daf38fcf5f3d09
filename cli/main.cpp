#include <iostream>
#include <ostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#endif

#include "cli/CliCommands.h"
#include "cli/OutputStream.h"

int main(int argc, char** argv) {
  KeepStandardDescriptors();
#ifdef _WIN32
  // The tool writes its line ends itself (LF, CR LF in CSV): a text-mode
  // stream would turn each LF into CR LF once more. Batches read from
  // standard input keep their bytes too.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
#endif
  // Input needs no line-by-line sync with C stdio; output goes to the
  // descriptor through the tool's own buffer, which knows why a write failed.
  std::ios::sync_with_stdio(false);
  TDescriptorOutput standardOutput(1);
  std::ostream out(&standardOutput);
  std::vector<std::string> args(argv + 1, argv + argc);
  const int status = RunCli(args, out, std::cerr);
  return status;
}
