// Child processes on POSIX: posix_spawn for a child that is waited for, a
// double fork for one that is not, so that no finished child is left to reap.
#include "platform/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/Cp1252.h"
#include "platform/PathResolver.h"
#include "platform/Shell.h"

extern char** environ;

namespace {

// A regular file this process may execute.
bool IsProgramFile(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.string();
}

// Splits a command line into the program and the text handed to it.
void SplitCommandLine(const std::string& commandLine, std::string& program, std::string& rest) {
  if (!commandLine.empty() && commandLine.front() == '"') {
    const size_t close = commandLine.find('"', 1);
    if (close == std::string::npos) {
      program = commandLine.substr(1);
      rest.clear();
      return;
    }
    program = commandLine.substr(1, close - 1);
    size_t from = close + 1;
    if (from < commandLine.size() && commandLine[from] == ' ') ++from;
    rest = commandLine.substr(from);
    return;
  }
  // Unquoted: the shortest leading part ending before a blank, or the whole
  // line, that names an existing file; else the first word.
  size_t end = commandLine.find(' ');
  const size_t firstBlank = end;
  while (end != std::string::npos && !FileExists(commandLine.substr(0, end)))
    end = commandLine.find(' ', end + 1);
  if (end == std::string::npos && !FileExists(commandLine)) end = firstBlank;
  program = commandLine.substr(0, end);
  rest = end == std::string::npos ? std::string() : commandLine.substr(end + 1);
}

// The child's argument vector: the program, then the parameters as one
// argument when there are any. It points into its two strings.
std::vector<char*> Arguments(const std::string& path, const std::string& parameter) {
  std::vector<char*> argv{const_cast<char*>(path.c_str())};
  if (!parameter.empty()) argv.push_back(const_cast<char*>(parameter.c_str()));
  argv.push_back(nullptr);
  return argv;
}

int WaitFor(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

// Starts the program without waiting for it: a child forks the program's
// process and ends at once, so the program belongs to init. A pipe that
// closes on exec tells whether the program started. Between fork and exec
// only async-signal-safe calls, as the window's threads may hold any lock.
bool StartDetached(const std::string& path, const std::string& parameter,
                   const std::string& folder) {
  std::vector<char*> argv = Arguments(path, parameter);
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return false;
  const pid_t child = ::fork();
  if (child == 0) {
    ::setsid();
    const pid_t program = ::fork();
    if (program == 0 && (folder.empty() || ::chdir(folder.c_str()) == 0))
      ::execve(path.c_str(), argv.data(), environ);
    if (program <= 0) {  // the fork, the change of folder or the exec failed
      const int error = errno;
      (void)!::write(report[1], &error, sizeof error);
    }
    ::_exit(0);
  }
  ::close(report[1]);
  int error = child < 0 ? errno : 0;
  if (child > 0) {
    WaitFor(child);
    while (::read(report[0], &error, sizeof error) < 0 && errno == EINTR) {
    }
  }
  ::close(report[0]);
  return child > 0 && error == 0;
}

}  // namespace

bool TShell::Start(const std::string& file, const std::string& parameters,
                   const std::string& folder) {
  const std::string path = AbsolutePath(ResolvePath(file));
  if (!IsProgramFile(path)) return Open(path);
  return StartDetached(path, Utf8FromAnsi(parameters),
                       folder.empty() ? folder : ResolvePath(folder));
}

int RunAndWait(const std::string& commandLine, const std::string& folder, int /*showState*/) {
  std::string program, argument;
  SplitCommandLine(commandLine, program, argument);
  if (program.empty()) return -1;
  // A relative program name is taken from this process's current folder,
  // not from the child's working folder.
  const std::string path = AbsolutePath(ResolvePath(program));
  const std::string directory = folder.empty() ? folder : ResolvePath(folder);
  const std::string parameter = Utf8FromAnsi(argument);
  std::vector<char*> argv = Arguments(path, parameter);

  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return -1;
  pid_t pid = 0;
  int error =
      directory.empty() ? 0 : posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  if (error == 0) error = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return error != 0 ? -1 : WaitFor(pid);
}
