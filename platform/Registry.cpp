#include "platform/Registry.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "ini/BigIni.h"
#include "platform/AnsiText.h"
#include "platform/NativeFile.h"

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
  return std::make_unique<TIniRegistry>();
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

TIniRegistry::TIniRegistry(std::string configHome) : configHome_(std::move(configHome)) {
  if (!configHome_.empty() && configHome_.back() != '/') configHome_ += '/';
}

std::string TIniRegistry::DefaultConfigHome() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + "/.config";
}

std::string TIniRegistry::KeyFolder(const std::string& key) const {
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
  return configHome_ + path;
}

std::string TIniRegistry::KeyFile(const std::string& key) const {
  return KeyFolder(key) + "registry.ini";
}

bool TIniRegistry::CreateKey(const std::string& key) {
  const fs::path folder = native::Path(KeyFolder(key));
  std::error_code ec;
  if (fs::create_directory(folder, ec) || fs::is_directory(folder, ec)) return true;
  fs::create_directories(folder, ec);
  return fs::is_directory(folder, ec);
}

TRegistry::ValueKind TIniRegistry::ReadString(const std::string& key, const std::string& section,
                                              const std::string& name, std::string& value) {
  TBigIniFile ini(KeyFile(key));  // a missing file reads as an empty one
  if (!ini.KeyExists(section, name)) return ValueKind::Missing;
  value = ini.ReadLongString(section, name, "");
  return ValueKind::String;
}

void TIniRegistry::WriteString(const std::string& key, const std::string& section,
                               const std::string& name, const std::string& value) {
  CreateKey(key);
  TBigIniFile ini(KeyFile(key));
  ini.WriteLongString(section, name, value);
  ini.Flush();
}
