#include <iostream>
#include <ostream>

#ifdef _WIN32
#include <conio.h>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#endif

#include "cli/CliCommands.h"
#include "cli/OutputStream.h"

#ifdef _WIN32
// Started with a double-click in Explorer, the tool has a console window of
// its own that would close as soon as the tool ends: it says how to run it
// instead, and waits for a key.
bool StartedFromExplorer(int argc) {
  DWORD processes[2];
  return argc == 1 && ::GetConsoleProcessList(processes, 2) == 1;
}

int ExplainConsoleUse() {
  std::fputs(
      "kav_pnb_cli is run from a Command Prompt. Open one (Start, type cmd, Enter),\r\n"
      "change to this program's folder with cd, and type for example:\r\n"
      "\r\n"
      "  kav_pnb_cli --help\r\n"
      "  kav_pnb_cli query --all\r\n"
      "  kav_pnb_cli build OUR4-23\r\n"
      "\r\n"
      "The window program is kav_pnb.exe. Press any key to close this window.\r\n",
      stdout);
  std::fflush(stdout);
  _getch();
  return 2;
}
#endif

int main(int argc, char** argv) {
  KeepStandardDescriptors();
#ifdef _WIN32
  if (StartedFromExplorer(argc)) return ExplainConsoleUse();
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
