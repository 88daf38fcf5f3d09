// The real registry under HKEY_CURRENT_USER, through the Win32 API. Key,
// subkey and value names and string values are Windows-1252 text, turned
// into UTF-16 as all text is.
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
  bool CreateKey(const std::string& key) override {
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, Wide(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, &handle, nullptr) != ERROR_SUCCESS)
      return false;
    ::RegCloseKey(handle);
    return true;
  }

  ValueKind ReadString(const std::string& key, const std::string& section, const std::string& name,
                       std::string& value) override {
    HKEY handle = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, SubkeyPath(key, section).c_str(), 0, KEY_READ,
                        &handle) != ERROR_SUCCESS)
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

  void WriteString(const std::string& key, const std::string& section, const std::string& name,
                   const std::string& value) override {
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, SubkeyPath(key, section).c_str(), 0, nullptr, 0,
                          KEY_ALL_ACCESS, nullptr, &handle, nullptr) != ERROR_SUCCESS)
      return;
    const std::wstring data = Wide(value);
    ::RegSetValueExW(handle, Wide(name).c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(handle);
  }
};

}  // namespace

std::unique_ptr<TRegistry> MakeWindowsRegistry() {
  return std::make_unique<TWindowsRegistry>();
}
