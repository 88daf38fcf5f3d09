#include "platform/Registry.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "ini/BigIni.h"
#include "platform/AnsiText.h"

#ifdef _WIN32
#include <QSettings>
#include <QString>

namespace {

class TNativeRegistry : public TRegistry {
 public:
  bool CreateKey(const std::string& key) override {
    QSettings settings(Root(key), QSettings::NativeFormat);
    settings.sync();
    return settings.status() == QSettings::NoError;
  }
  ValueKind ReadString(const std::string& key, const std::string& section, const std::string& name,
                       std::string& value) override {
    QSettings settings(Root(key) + "\\" + QString::fromLocal8Bit(section), QSettings::NativeFormat);
    const QVariant data = settings.value(QString::fromLocal8Bit(name));
    if (!data.isValid()) return ValueKind::Missing;
    if (data.typeId() != QMetaType::QString) return ValueKind::Other;
    value = data.toString().toLocal8Bit().toStdString();
    return ValueKind::String;
  }
  void WriteString(const std::string& key, const std::string& section, const std::string& name,
                   const std::string& value) override {
    QSettings settings(Root(key) + "\\" + QString::fromLocal8Bit(section), QSettings::NativeFormat);
    settings.setValue(QString::fromLocal8Bit(name), QString::fromLocal8Bit(value));
  }

 private:
  static QString Root(const std::string& key) {
    return "HKEY_CURRENT_USER\\" + QString::fromLocal8Bit(key);
  }
};

}  // namespace
#endif

namespace fs = std::filesystem;

namespace {

std::unique_ptr<TRegistry>& Current() {
  static std::unique_ptr<TRegistry> registry;
  return registry;
}

std::unique_ptr<TRegistry> PlatformRegistry() {
#ifdef _WIN32
  return std::make_unique<TNativeRegistry>();
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
  const std::string folder = KeyFolder(key);
  if (::mkdir(folder.c_str(), 0777) == 0 || errno == EEXIST) return true;  // one look, usually
  std::error_code ec;
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
