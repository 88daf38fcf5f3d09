#include "launch/ProgramLauncher.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/Error.h"
#include "platform/NativeFile.h"
#include "platform/PathResolver.h"
#include "platform/Process.h"
#include "platform/ProgramFolder.h"
#include "settings/Registry.h"

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// A relative name is looked for in the program's own folder, never in the
// folder the user happened to start the program from.
std::string BesideProgram(const std::string& name) {
  const bool absolute =
      (!name.empty() && IsSeparator(name[0])) || (name.size() >= 2 && name[1] == ':');
  return absolute ? name : ProgramFolder() + name;
}

}  // namespace

std::string TProgramLauncherBase::AddTrailingBackslash(const std::string& folder) {
  if (folder.empty()) throw EKavError("AddTrailingBackslash: the folder name is empty");
  if (IsSeparator(folder.back())) return folder;
  return folder + "\\";
}

std::string TProgramLauncherBase::RegistryFolder() {
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

bool TProgramLauncherBase::Execute() {
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

bool TProgramLauncherBase::ShellStart(const std::string& file, const std::string& folder) {
  return shell_.Start(file, Parameters, folder);
}

int TProgramLauncherBase::StartAndWait(const std::string& commandLine, const std::string& folder,
                                       int showState) {
  // Both texts have room for kMaxStartText characters; longer ones are
  // refused. No folder is the current one, which must fit too.
  std::error_code ec;
  const std::string current =
      folder.empty() ? native::Text(std::filesystem::current_path(ec)) : std::string();
  if (ec) return -1;
  if (commandLine.size() > kMaxStartText || std::max(folder.size(), current.size()) > kMaxStartText)
    return -1;
  return RunAndWait(commandLine, folder, showState);
}
