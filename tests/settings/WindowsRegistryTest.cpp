// The real registry: the user's value first, then the machine's, writes to
// the user's only. Two keys of the test's own stand in for the two roots, so
// neither the user's nor the machine's settings are touched.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "settings/Registry.h"

namespace {

class WindowsRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring base =
        L"Software\\kav-pnb-tests\\" + std::to_wstring(::GetCurrentProcessId());
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, (base + L"\\user").c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &user_, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, (base + L"\\machine").c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &machine_, nullptr),
              ERROR_SUCCESS);
    base_ = base;
  }
  void TearDown() override {
    if (user_ != nullptr) ::RegCloseKey(user_);
    if (machine_ != nullptr) ::RegCloseKey(machine_);
    if (!base_.empty()) ::RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str());
  }

  std::string Read(TRegistry& registry, TRegistry::ValueKind expected) {
    std::string value = "untouched";
    EXPECT_EQ(registry.ReadString("Software\\Ostrel", "Common Files", "Path", value), expected);
    return value;
  }

  HKEY user_ = nullptr;
  HKEY machine_ = nullptr;
  std::wstring base_;
};

TEST_F(WindowsRegistryTest, TheMachinesValueServesAUserWhoHasNoneAndWritesStayTheUsers) {
  std::unique_ptr<TRegistry> machineSide = MakeWindowsRegistry(machine_, nullptr);
  machineSide->WriteString("Software\\Ostrel", "Common Files", "Path", "\\\\server\\catalog");
  std::unique_ptr<TRegistry> registry = MakeWindowsRegistry(user_, machine_);
  EXPECT_EQ(Read(*registry, TRegistry::ValueKind::String), "\\\\server\\catalog");

  registry->WriteString("Software\\Ostrel", "Common Files", "Path", "C:\\mine");
  EXPECT_EQ(Read(*registry, TRegistry::ValueKind::String), "C:\\mine");
  EXPECT_EQ(Read(*machineSide, TRegistry::ValueKind::String), "\\\\server\\catalog");

  // A user's value of another type is the user's all the same: not passed over.
  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(user_, L"Software\\Ostrel\\Common Files", 0, KEY_SET_VALUE, &key),
            ERROR_SUCCESS);
  const DWORD number = 7;
  ::RegSetValueExW(key, L"Path", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
  ::RegCloseKey(key);
  EXPECT_EQ(Read(*registry, TRegistry::ValueKind::Other), "untouched");
}

TEST_F(WindowsRegistryTest, AValueInTheMachinesThirtyTwoBitViewIsReadToo) {
  // As "reg add HKLM\... /reg:32" writes it, under a key of the test's own.
  const std::wstring key =
      L"Software\\kav-pnb-tests-" + std::to_wstring(::GetCurrentProcessId()) + L"\\Common Files";
  HKEY handle = nullptr;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
    GTEST_SKIP() << "the machine's registry is not this user's to write";
  const std::wstring data = L"\\\\server\\x86";
  ::RegSetValueExW(handle, L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(handle);
  std::unique_ptr<TRegistry> registry = MakeWindowsRegistry(user_, HKEY_LOCAL_MACHINE);
  std::string value;
  EXPECT_EQ(
      registry->ReadString("Software\\kav-pnb-tests-" + std::to_string(::GetCurrentProcessId()),
                           "Common Files", "Path", value),
      TRegistry::ValueKind::String);
  EXPECT_EQ(value, "\\\\server\\x86");
  ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), KEY_WOW64_32KEY, 0);
  ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key.substr(0, key.rfind(L'\\')).c_str(), KEY_WOW64_32KEY,
                    0);
}

}  // namespace
