#include "platform/ProgramFolder.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "platform/NativeFile.h"
#include "platform/PathResolver.h"
#include "platform/Text1252.h"

#ifdef _WIN32
#include <windows.h>
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

std::string LayoutPath(const std::string& base, const std::string& name) {
  static constexpr const char* kLayoutFolders[] = {"data", "Images"};
  const size_t end = name.find_first_of("/\\");
  if (end != std::string::npos)
    for (const char* folder : kLayoutFolders)
      if (ansi::SameText(std::string_view(name).substr(0, end), folder)) {
        const std::string real = ResolvePath(base + folder);
        if (native::Kind(real) >= 0) return ResolvePath(real + "/" + name.substr(end + 1));
      }
  // No such folder: the name as written, as the error will show it.
  return ResolvePath(base + name);
}
