#pragma once
// The current user's part of the registry: where the shared catalogue folder
// and the viewer's folder are recorded, with the defaults set for every user
// behind it. On Windows the real registry; elsewhere one INI file per key
// under the user's configuration folder.
#include <memory>
#include <string>
#include <vector>

class TRegistry {
 public:
  enum class ValueKind { Missing, String, Other };

  virtual ~TRegistry() = default;

  // Opens `key` with full access, creating it when missing. False when the
  // key can be neither opened nor created.
  virtual bool CreateKey(const std::string& key) = 0;

  // Reads the value `name` of the subkey `section` of `key`. String values are
  // taken literally; `value` is set only for ValueKind::String.
  virtual ValueKind ReadString(const std::string& key, const std::string& section,
                               const std::string& name, std::string& value) = 0;

  virtual void WriteString(const std::string& key, const std::string& section,
                           const std::string& name, const std::string& value) = 0;

  // Where a value of `key` is looked for, in the order of the look-up: the
  // user's root and the machine's.
  virtual std::vector<std::string> Places(const std::string& key) const {
    return {"HKEY_CURRENT_USER\\" + key, "HKEY_LOCAL_MACHINE\\" + key};
  }
};

// The registry every table and the launcher use.
TRegistry& CurrentUserRegistry();

// Replaces it (tests); nullptr restores the platform's own.
void SetCurrentUserRegistry(std::unique_ptr<TRegistry> registry);

// Where a user sets the folder value Path of the subkey `section` of
// Software\Ostrel, in a sentence that begins with `what`: the registry keys
// on Windows, elsewhere the files the registry in use reads.
std::string SettingPlace(const std::string& what, const std::string& section);
// The same for the shared catalogue folder.
std::string CatalogueFolderSetting();

#ifdef _WIN32
struct HKEY__;  // the registry key handle of <windows.h>, HKEY
// The real registry: a value is read under HKEY_CURRENT_USER and, when the
// user has none, under HKEY_LOCAL_MACHINE, where an installer or an
// administrator sets it for every user; writes go to the user's key only.
std::unique_ptr<TRegistry> MakeWindowsRegistry();
// The same over two keys of the caller's standing in for the two roots.
std::unique_ptr<TRegistry> MakeWindowsRegistry(HKEY__* user, HKEY__* machine);
#endif

// The INI-file stand-in: key "Software\Ostrel" is the folder
// <config home>/Ostrel/ with its file "registry.ini"; a subkey is a section
// and a value a key. The config home is $XDG_CONFIG_HOME, else ~/.config. A
// value missing from the user's file is looked up in the same file under each
// system folder in turn (the folders of $XDG_CONFIG_DIRS, else /etc/xdg),
// where an administrator sets it for every user; writes go to the user's file.
class TIniRegistry : public TRegistry {
 public:
  explicit TIniRegistry(std::string configHome = DefaultConfigHome(),
                        std::vector<std::string> systemFolders = {});

  bool CreateKey(const std::string& key) override;
  ValueKind ReadString(const std::string& key, const std::string& section, const std::string& name,
                       std::string& value) override;
  void WriteString(const std::string& key, const std::string& section, const std::string& name,
                   const std::string& value) override;

  // The INI file that stands for `key`: the user's.
  std::string KeyFile(const std::string& key) const;
  // Every file read for `key`, in the order of the look-up.
  std::vector<std::string> KeyFiles(const std::string& key) const;
  std::vector<std::string> Places(const std::string& key) const override { return KeyFiles(key); }
  static std::string DefaultConfigHome();
  static std::vector<std::string> DefaultSystemFolders();

 private:
  std::string KeyPath(const std::string& key) const;
  std::string configHome_;
  std::vector<std::string> systemFolders_;
};
