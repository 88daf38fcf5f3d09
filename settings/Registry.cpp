#include "settings/Registry.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "ini/IniFile.h"
#include "platform/NativeFile.h"
#include "platform/Text1252.h"

namespace fs = std::filesystem;

namespace {

std::unique_ptr<TRegistry>& Current() {
  static std::unique_ptr<TRegistry> registry;
  return registry;
}

std::unique_ptr<TRegistry> PlatformRegistry() {
#ifdef _WIN32
  return MakeWindowsRegistry();
#else
  return std::make_unique<TIniRegistry>(TIniRegistry::DefaultConfigHome(),
                                        TIniRegistry::DefaultSystemFolders());
#endif
}

}  // namespace

TRegistry& CurrentUserRegistry() {
  if (!Current()) Current() = PlatformRegistry();
  return *Current();
}

void SetCurrentUserRegistry(std::unique_ptr<TRegistry> registry) {
  Current() = std::move(registry);
}

namespace {

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

TIniRegistry::TIniRegistry(std::string configHome, std::vector<std::string> systemFolders)
    : configHome_(WithSlash(std::move(configHome))) {
  for (std::string& folder : systemFolders)
    if (!folder.empty()) systemFolders_.push_back(WithSlash(std::move(folder)));
}

std::vector<std::string> TIniRegistry::DefaultSystemFolders() {
  // Only absolute folders count, as the XDG rule says.
  std::vector<std::string> folders;
  const char* xdg = std::getenv("XDG_CONFIG_DIRS");
  std::string list = xdg != nullptr && xdg[0] != '\0' ? xdg : "/etc/xdg";
  size_t start = 0;
  while (start <= list.size()) {
    const size_t colon = std::min(list.find(':', start), list.size());
    const std::string folder = list.substr(start, colon - start);
    if (!folder.empty() && folder[0] == '/') folders.push_back(folder);
    start = colon + 1;
  }
  return folders;
}

std::string TIniRegistry::DefaultConfigHome() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + "/.config";
}

std::string TIniRegistry::KeyPath(const std::string& key) const {
  // "Software\Ostrel" -> "<config home>/Ostrel/": the user's configuration
  // folder already is the user's software settings.
  std::string path;
  std::string part;
  bool first = true;
  auto flush = [&] {
    if (part.empty() || part == "." || part == "..") {
      part.clear();
      return;
    }
    if (!(first && ansi::SameText(part, "Software"))) path += part + "/";
    first = false;
    part.clear();
  };
  for (char c : key) {
    if (c == '\\' || c == '/')
      flush();
    else
      part += c;
  }
  flush();
  return path;
}

std::string TIniRegistry::KeyFile(const std::string& key) const {
  return configHome_ + KeyPath(key) + "registry.ini";
}

std::vector<std::string> TIniRegistry::KeyFiles(const std::string& key) const {
  std::vector<std::string> files{KeyFile(key)};
  for (const std::string& folder : systemFolders_)
    files.push_back(folder + KeyPath(key) + "registry.ini");
  return files;
}

bool TIniRegistry::CreateKey(const std::string& key) {
  const fs::path folder = native::Path(configHome_ + KeyPath(key));
  std::error_code ec;
  if (fs::create_directory(folder, ec) || fs::is_directory(folder, ec)) return true;
  fs::create_directories(folder, ec);
  return fs::is_directory(folder, ec);
}

TRegistry::ValueKind TIniRegistry::ReadString(const std::string& key, const std::string& section,
                                              const std::string& name, std::string& value) {
  for (const std::string& file : KeyFiles(key)) {
    // Read as a person who wrote it meant: an editor's byte-order mark, and
    // blanks around "=" or after the value, are not part of the setting.
    TIniFile ini("");
    ini.SkipByteOrderMark = true;
    ini.TrimAroundEquals = true;
    ini.TrimTrailing = true;
    ini.ChangeFile(file);  // a missing file reads as an empty one
    if (!ini.KeyExists(section, name)) continue;
    value = ini.ReadLongString(section, name, "");
    return ValueKind::String;
  }
  return ValueKind::Missing;
}

void TIniRegistry::WriteString(const std::string& key, const std::string& section,
                               const std::string& name, const std::string& value) {
  CreateKey(key);
  TIniFile ini(KeyFile(key));
  ini.WriteLongString(section, name, value);
  ini.Flush();
}

std::string SettingPlace(const std::string& what, const std::string& section) {
#ifdef _WIN32
  return what + " is the registry value Path under HKEY_CURRENT_USER\\Software\\Ostrel\\" +
         section + " (or, for every user, under HKEY_LOCAL_MACHINE\\Software\\Ostrel\\" + section +
         ").";
#else
  // The files this run reads, as the registry in use names them ($XDG_CONFIG_HOME
  // and $XDG_CONFIG_DIRS followed), the user's home shown as "~".
  const char* home = std::getenv("HOME");
  const auto shown = [&](std::string file) {
    const size_t length = home != nullptr ? std::strlen(home) : 0;
    if (length > 1 && file.compare(0, length, home) == 0 && file[length] == '/')
      file = "~" + file.substr(length);
    return file;
  };
  const std::vector<std::string> files = CurrentUserRegistry().Places("Software\\Ostrel");
  std::string text = what + " is set by Path= under [" + section + "] in " +
                     (files.empty() ? std::string("registry.ini") : shown(files.front()));
  if (files.size() > 1) {
    text += " (or, for every user, ";
    for (size_t i = 1; i < files.size(); ++i)
      text += (i > 1 ? ", " : "") + shown(files[i]);
    text += ")";
  }
  return text + ".";
#endif
}

std::string CatalogueFolderSetting() {
  return SettingPlace("The catalogue folder", "Common Files");
}
