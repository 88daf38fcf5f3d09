// The registry stand-in: one INI file per key under the configuration folder.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Registry.h"

namespace {

TEST(RegistryTest, KeysAreFoldersAndValuesAreKeysOfSections) {
  TempDir config;
  TIniRegistry registry(config.Path());
  EXPECT_EQ(registry.KeyFile("Software\\Ostrel"), config / "Ostrel/registry.ini");
  std::string value = "untouched";
  EXPECT_EQ(registry.ReadString("Software\\Ostrel", "Common Files", "Path", value),
            TRegistry::ValueKind::Missing);
  EXPECT_EQ(value, "untouched");

  registry.WriteString("Software\\Ostrel", "Common Files", "Path", "/srv/catalog");
  registry.WriteString("Software\\Ostrel", "KAVRPE", "Path", "");
  EXPECT_EQ(registry.ReadString("Software\\Ostrel", "common files", "PATH", value),
            TRegistry::ValueKind::String);
  EXPECT_EQ(value, "/srv/catalog");
  EXPECT_EQ(registry.ReadString("Software\\Ostrel", "KAVRPE", "Path", value),
            TRegistry::ValueKind::String);
  EXPECT_EQ(value, "");
  EXPECT_EQ(ReadFile(config / "Ostrel/registry.ini"),
            "[Common Files]\r\nPath=/srv/catalog\r\n\r\n[KAVRPE]\r\nPath=\r\n\r\n");
}

TEST(RegistryTest, ValuesAreTakenLiterallyAndKeysCannotEscapeTheFolder) {
  TempDir config;
  TIniRegistry registry(config.Path());
  WriteFile(config / "Ostrel/registry.ini", "[Common Files]\nPath=%HOME%\\x \n");
  std::string value;
  registry.ReadString("Software\\Ostrel", "Common Files", "Path", value);
  EXPECT_EQ(value, "%HOME%\\x ");
  EXPECT_EQ(registry.KeyFile("Software\\..\\..\\etc"), config / "etc/registry.ini");
  EXPECT_TRUE(registry.CreateKey("Software\\Other\\Deeper"));
  EXPECT_TRUE(std::filesystem::is_directory(config / "Other/Deeper"));
}

}  // namespace
