#include "platform/ProgramFolder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>

#include "platform/NativeFile.h"
#endif

namespace {

std::string WithTrailingSeparator(std::string folder) {
#ifdef _WIN32
  // Shown to Windows users (the headless tool's paths): their separator.
  std::replace(folder.begin(), folder.end(), '/', '\\');
  if (folder.empty() || folder.back() != '\\') folder += '\\';
#else
  if (folder.empty() || (folder.back() != '/' && folder.back() != '\\')) folder += '/';
#endif
  return folder;
}

std::string ExecutableFolder() {
#ifdef _WIN32
  std::wstring name(MAX_PATH, L'\0');
  DWORD length;
  while ((length = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()))) ==
         name.size())
    name.resize(name.size() * 2);
  name.resize(length);
  return WithTrailingSeparator(native::Text(std::filesystem::path(name).parent_path()));
#else
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return WithTrailingSeparator(std::filesystem::current_path(ec).string());
  return WithTrailingSeparator(exe.parent_path().string());
#endif
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
