#include "platform/WorkingFolder.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#ifdef _WIN32
#include <windows.h>

#include <cstdio>
#else
#include <unistd.h>
#endif

#include "platform/NativeFile.h"
#include "platform/ProgramFolder.h"
#include "platform/SafeFileWrite.h"

namespace {

#ifdef _WIN32
// Windows keeps who may write a folder in its access list (Program Files,
// a read-only share), which the C library's access() does not read: the
// only sure answer is to try. The probe is a temporary file's name, so a
// probe a killed copy left behind is cleared like any other, and it is
// opened for deleting too, since replacing a file needs that right.
bool CanCreateFileIn(std::string folder) {
  if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += '\\';
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%06x",
                  static_cast<unsigned>((::GetCurrentProcessId() << 8) ^ ++counter) & 0xFFFFFFu);
    const std::string probe = folder + std::string(file_util::kTemporaryPrefix) + suffix;
    const HANDLE file = ::CreateFileW(
        native::Wide(probe).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      ::CloseHandle(file);
      return true;
    }
    if (::GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
}
#endif

// Whether this user may write the program's files where the program lies:
// its folder, and its data folder when there is one.
bool ProgramFolderWritable(const std::string& folder) {
  const std::string data = LayoutPath(folder, "data/");
#ifdef _WIN32
  // Only a data folder is tried; anything else at its name is for the
  // write itself to report, as on Linux.
  return CanCreateFileIn(folder) && (native::Kind(data) != 0 || CanCreateFileIn(data));
#else
  return ::access(folder.c_str(), W_OK) == 0 &&
         (::access(data.c_str(), F_OK) != 0 || ::access(data.c_str(), W_OK) == 0);
#endif
}

// An environment variable as the program's 8-bit text (on Windows the C
// library's getenv would give it in the ANSI code page instead).
std::optional<std::string> Environment(const char* name) {
#ifdef _WIN32
  const std::string ascii(name);
  const wchar_t* value = ::_wgetenv(std::wstring(ascii.begin(), ascii.end()).c_str());
  if (value == nullptr) return std::nullopt;
  const std::wstring wide(value);
  return AnsiFromUtf16(std::u16string(wide.begin(), wide.end()));
#else
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
#endif
}

}  // namespace

std::string ChooseWorkingFolder(const std::string& programFolder, bool writable,
                                const char* stateHome, const char* home) {
  if (writable) return programFolder;
#ifdef _WIN32
  // Only a full path counts: "C:\..." or a network name "\\server\...".
  const auto absolute = [](const char* path) {
    return path != nullptr &&
           ((path[0] != '\0' && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) ||
            (path[0] == '\\' && path[1] == '\\'));
  };
  std::string local = absolute(stateHome)
                          ? std::string(stateHome)
                          : std::string(home != nullptr ? home : "") + "\\AppData\\Local";
  if (local.back() == '\\' || local.back() == '/') local.pop_back();
  return local + "\\kav-pnb\\";
#else
  // Only an absolute $XDG_STATE_HOME counts, as the XDG rule says.
  const std::string state = stateHome != nullptr && stateHome[0] == '/'
                                ? std::string(stateHome)
                                : std::string(home != nullptr ? home : "") + "/.local/state";
  return state + "/kav-pnb/";
#endif
}

std::string WorkingFolder() {
  const std::string& program = ProgramFolder();
#ifdef _WIN32
  const std::optional<std::string> stateHome = Environment("LOCALAPPDATA");
  const std::optional<std::string> home = Environment("USERPROFILE");
#else
  const std::optional<std::string> stateHome = Environment("XDG_STATE_HOME");
  const std::optional<std::string> home = Environment("HOME");
#endif
  const std::string folder =
      ChooseWorkingFolder(program, ProgramFolderWritable(program),
                          stateHome ? stateHome->c_str() : nullptr, home ? home->c_str() : nullptr);
  if (folder != program) {
    std::error_code ec;
    // A data folder of another spelling is used as it is, not doubled.
    std::filesystem::create_directories(native::Path(LayoutPath(folder, "data/")), ec);
  }
  return folder;
}
