#include "platform/WorkingFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "platform/NativeFile.h"
#include "platform/ProgramFolder.h"

namespace {

// Whether this user may write the program's files where the program lies:
// its folder, and its data folder when there is one.
bool ProgramFolderWritable(const std::string& folder) {
#ifdef _WIN32
  (void)folder;
  return true;
#else
  const std::string data = LayoutPath(folder, "data/");
  return ::access(folder.c_str(), W_OK) == 0 &&
         (::access(data.c_str(), F_OK) != 0 || ::access(data.c_str(), W_OK) == 0);
#endif
}

}  // namespace

std::string ChooseWorkingFolder(const std::string& programFolder, bool writable,
                                const char* stateHome, const char* home) {
  if (writable) return programFolder;
  // Only an absolute $XDG_STATE_HOME counts, as the XDG rule says.
  const std::string state = stateHome != nullptr && stateHome[0] == '/'
                                ? std::string(stateHome)
                                : std::string(home != nullptr ? home : "") + "/.local/state";
  return state + "/kav-pnb/";
}

std::string WorkingFolder() {
  const std::string& program = ProgramFolder();
  const std::string folder = ChooseWorkingFolder(
      program, ProgramFolderWritable(program), std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
  if (folder != program) {
    std::error_code ec;
    // A data folder of another spelling is used as it is, not doubled.
    std::filesystem::create_directories(native::Path(LayoutPath(folder, "data/")), ec);
  }
  return folder;
}
