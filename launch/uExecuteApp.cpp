#include "launch/uExecuteApp.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/AnsiQString.h"
#include "platform/Error.h"
#include "platform/PathResolver.h"
#include "platform/ProgramFolder.h"
#include "platform/Registry.h"

extern char** environ;

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

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

QString Local(const std::string& text) {
  return QString::fromLocal8Bit(text);
}

// A relative name is looked for in the program's own folder, never in the
// folder the user happened to start the program from.
std::string BesideProgram(const std::string& name) {
  const bool absolute =
      (!name.empty() && IsSeparator(name[0])) || (name.size() >= 2 && name[1] == ':');
  return absolute ? name : ProgramFolder() + name;
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

}  // namespace

std::string TCustomExecuteApp::AddTrailingBackslash(const std::string& folder) {
  if (folder.empty()) throw EKavError("AddTrailingBackslash: the folder name is empty");
  if (IsSeparator(folder.back())) return folder;
  return folder + "\\";
}

std::string TCustomExecuteApp::RegistryFolder() {
  const std::string key = RegistrySettings.Value("Key");
  const std::string section = RegistrySettings.Value("Section");
  const std::string name = RegistrySettings.Value("Path");
  TRegistry& registry = CurrentUserRegistry();
  std::string value;
  if (registry.CreateKey(key)) {
    switch (registry.ReadString(key, section, name, value)) {
      case TRegistry::ValueKind::String:
        break;
      case TRegistry::ValueKind::Missing:
        value.clear();
        break;
      case TRegistry::ValueKind::Other:
        throw EKavError("Invalid data type for '" + name + "'");
    }
  }
  return value;
}

bool TCustomExecuteApp::Execute() {
  std::string folder = BesideProgram(FilePath);
  fullAppName_ = folder + AppName;
  if (!FileExists(fullAppName_)) {
    if (ExecuteMode == emRegistry)
      FilePath = AddTrailingBackslash(RegistryFolder());
    else
      FilePath = AddTrailingBackslash(ProgramFolder() + FilePath);
    folder = FilePath;
    fullAppName_ = FilePath + AppName;
  }
  if (!FileExists(fullAppName_)) return false;
  if (ExecuteInstance == eiShell) return ShellStart(fullAppName_, folder);
  return StartAndWait(fullAppName_ + " " + Parameters, folder, 1) != -1;
}

bool TCustomExecuteApp::ShellStart(const std::string& file, const std::string& folder) {
  const std::string path = AbsolutePath(ResolvePath(file));
  if (!IsProgramFile(path)) return shell_.Open(path);
  QStringList arguments;
  // Parameters are catalogue text: Windows-1252, as everywhere in the catalogue.
  if (!Parameters.empty()) arguments << FromAnsi(Parameters);
  const QString workingFolder = folder.empty() ? QString() : Local(ResolvePath(folder));
  return QProcess::startDetached(Local(path), arguments, workingFolder);
}

int TCustomExecuteApp::StartAndWait(const std::string& commandLine, const std::string& folder,
                                    int /*showState*/) {
  std::string workingFolder = folder;
  if (workingFolder.empty()) {
    std::error_code ec;
    workingFolder = std::filesystem::current_path(ec).string();
    if (ec) return -1;
  }
  // Both texts have room for kMaxStartText characters; longer ones are refused.
  if (commandLine.size() > kMaxStartText || workingFolder.size() > kMaxStartText) return -1;

  std::string program, argument;
  SplitCommandLine(commandLine, program, argument);
  if (program.empty()) return -1;
  // A relative program name is taken from this process's current folder,
  // not from the child's working folder.
  const std::string path = AbsolutePath(ResolvePath(program));
  const std::string directory = ResolvePath(workingFolder);

  // The argument is catalogue text: Windows-1252 turned into the system's encoding.
  argument = FromAnsi(argument).toLocal8Bit().toStdString();
  std::vector<char*> argv{const_cast<char*>(path.c_str())};
  if (!argument.empty()) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return -1;
  pid_t pid = 0;
  int error = posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  if (error == 0) error = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return -1;

  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}
