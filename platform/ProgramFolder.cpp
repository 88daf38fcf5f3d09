#include "platform/ProgramFolder.h"

#include <filesystem>
#include <system_error>

namespace {

std::string WithTrailingSeparator(std::string folder) {
  if (folder.empty() || (folder.back() != '/' && folder.back() != '\\')) folder += '/';
  return folder;
}

std::string ExecutableFolder() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return WithTrailingSeparator(std::filesystem::current_path(ec).string());
  return WithTrailingSeparator(exe.parent_path().string());
}

std::string& Folder() {
  static std::string folder = ExecutableFolder();
  return folder;
}

}  // namespace

const std::string& ProgramFolder() {
  return Folder();
}

void SetProgramFolder(const std::string& folder) {
  Folder() = WithTrailingSeparator(folder);
}
