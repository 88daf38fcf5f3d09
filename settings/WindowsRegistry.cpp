// The real registry through the Win32 API: the user's values under
// HKEY_CURRENT_USER, and under HKEY_LOCAL_MACHINE those an installer or an
// administrator set for every user. Key, subkey and value names and string
// values are Windows-1252 text, turned into UTF-16 as all text is.
#include <windows.h>

#include "platform/Cp1252.h"
#include "settings/Registry.h"

namespace {

std::wstring Wide(const std::string& text) {
  const std::u16string wide = Utf16FromAnsi(text);
  return std::wstring(wide.begin(), wide.end());
}

std::wstring SubkeyPath(const std::string& key, const std::string& section) {
  return Wide(section.empty() ? key : key + "\\" + section);
}

class TWindowsRegistry : public TRegistry {
 public:
  TWindowsRegistry(HKEY user, HKEY machine) : user_(user), machine_(machine) {}

  bool CreateKey(const std::string& key) override {
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(user_, Wide(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                          nullptr) != ERROR_SUCCESS)
      return false;
    ::RegCloseKey(handle);
    return true;
  }

  // The user's own value first; only one the user lacks is taken from the
  // machine's, as a setting for every user is meant to be overridden. The
  // machine's 64-bit view comes before its 32-bit one, where 32-bit
  // deployment tools write (reg add ... /reg:32).
  ValueKind ReadString(const std::string& key, const std::string& section, const std::string& name,
                       std::string& value) override {
    for (const auto& [root, view] : {std::pair{user_, REGSAM{0}}, std::pair{machine_, REGSAM{0}},
                                     std::pair{machine_, REGSAM{KEY_WOW64_32KEY}}}) {
      const ValueKind kind = ReadFrom(root, view, key, section, name, value);
      if (kind != ValueKind::Missing) return kind;
    }
    return ValueKind::Missing;
  }

  std::vector<std::string> Places(const std::string& key) const override {
    std::vector<std::string> places = TRegistry::Places(key);
    const size_t software = key.find('\\');
    places.push_back("HKEY_LOCAL_MACHINE\\" + key.substr(0, software) + "\\WOW6432Node" +
                     (software == std::string::npos ? "" : key.substr(software)));
    return places;
  }

  void WriteString(const std::string& key, const std::string& section, const std::string& name,
                   const std::string& value) override {
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(user_, SubkeyPath(key, section).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, &handle, nullptr) != ERROR_SUCCESS)
      return;
    const std::wstring data = Wide(value);
    ::RegSetValueExW(handle, Wide(name).c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(handle);
  }

 private:
  static ValueKind ReadFrom(HKEY root, REGSAM view, const std::string& key,
                            const std::string& section, const std::string& name,
                            std::string& value) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExW(root, SubkeyPath(key, section).c_str(), 0, KEY_READ | view, &handle) !=
        ERROR_SUCCESS)
      return ValueKind::Missing;
    const std::wstring valueName = Wide(name);
    DWORD type = 0, size = 0;
    ValueKind kind = ValueKind::Missing;
    if (::RegQueryValueExW(handle, valueName.c_str(), nullptr, &type, nullptr, &size) ==
        ERROR_SUCCESS) {
      if (type != REG_SZ && type != REG_EXPAND_SZ) {
        kind = ValueKind::Other;
      } else {
        std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        if (::RegQueryValueExW(handle, valueName.c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(data.data()), &bytes) == ERROR_SUCCESS) {
          data.resize(bytes / sizeof(wchar_t));
          while (!data.empty() && data.back() == L'\0')
            data.pop_back();  // the stored terminator, if any
          value = AnsiFromUtf16(std::u16string(data.begin(), data.end()));
          kind = ValueKind::String;
        }
      }
    }
    ::RegCloseKey(handle);
    return kind;
  }

  HKEY user_;
  HKEY machine_;
};

}  // namespace

std::unique_ptr<TRegistry> MakeWindowsRegistry() {
  return MakeWindowsRegistry(HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE);
}

std::unique_ptr<TRegistry> MakeWindowsRegistry(HKEY__* user, HKEY__* machine) {
  return std::make_unique<TWindowsRegistry>(user, machine);
}
