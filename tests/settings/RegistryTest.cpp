// The registry stand-in: one INI file per key under the configuration folder.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/ProgramFolder.h"
#include "platform/WorkingFolder.h"
#include "settings/Registry.h"

namespace {

using TKind = TRegistry::ValueKind;
using TRead = std::pair<TKind, std::string>;

// A value of the Software\Ostrel key, with its kind; "untouched" when none is read.
TRead Read(TRegistry& registry, const std::string& section, const std::string& name = "Path") {
  std::string value = "untouched";
  const TKind kind = registry.ReadString("Software\\Ostrel", section, name, value);
  return {kind, value};
}

TEST(RegistryTest, KeysAreFoldersAndValuesAreKeysOfSections) {
  TempDir config;
  TIniRegistry registry(config.Path());
  EXPECT_EQ(registry.KeyFile("Software\\Ostrel"), config / "Ostrel/registry.ini");
  EXPECT_EQ(Read(registry, "Common Files"), TRead(TKind::Missing, "untouched"));

  registry.WriteString("Software\\Ostrel", "Common Files", "Path", "/srv/catalog");
  registry.WriteString("Software\\Ostrel", "KAVRPE", "Path", "");
  EXPECT_EQ(Read(registry, "common files", "PATH"), TRead(TKind::String, "/srv/catalog"));
  EXPECT_EQ(Read(registry, "KAVRPE"), TRead(TKind::String, ""));
  EXPECT_EQ(ReadFile(config / "Ostrel/registry.ini"),
            "[Common Files]\r\nPath=/srv/catalog\r\n\r\n[KAVRPE]\r\nPath=\r\n\r\n");
}

TEST(RegistryTest, ValuesAreTakenLiterallyAndKeysCannotEscapeTheFolder) {
  TempDir config;
  TIniRegistry registry(config.Path());
  // Taken literally, but as a person who wrote it meant: an editor's
  // byte-order mark and blanks around "=" or at the end are no part of it.
  WriteFile(config / "Ostrel/registry.ini", "\xEF\xBB\xBF[Common Files]\nPath = %HOME%\\x \n");
  EXPECT_EQ(Read(registry, "Common Files"), TRead(TKind::String, "%HOME%\\x"));
  EXPECT_EQ(registry.KeyFile("Software\\\\.\\..\\..\\etc"), config / "etc/registry.ini");
  EXPECT_EQ(registry.KeyFile("Other\\Software"), config / "Other/Software/registry.ini");
  EXPECT_TRUE(registry.CreateKey("Software\\Other\\Deeper"));
  EXPECT_TRUE(std::filesystem::is_directory(config / "Other/Deeper"));
  EXPECT_TRUE(registry.CreateKey("Software\\Other"));  // already there
}

TEST(RegistryTest, SystemFoldersFillWhatTheUsersFileLacksAndWritesStayTheUsers) {
  TempDir user, first, second;
  TIniRegistry registry(user.Path(), {first.Path(), "", second.Path()});
  WriteFile(first / "Ostrel/registry.ini", "[KAVRPE]\r\nPath=/opt/first\r\n");
  WriteFile(second / "Ostrel/registry.ini",
            "[KAVRPE]\r\nPath=/opt/second\r\n[Common Files]\r\nPath=/srv/company\r\n");
  EXPECT_EQ(Read(registry, "Common Files"), TRead(TKind::String, "/srv/company"));
  EXPECT_EQ(Read(registry, "KAVRPE"), TRead(TKind::String, "/opt/first"));  // first folder wins
  registry.WriteString("Software\\Ostrel", "KAVRPE", "Path", "/home/me/rpe");
  EXPECT_EQ(Read(registry, "KAVRPE"), TRead(TKind::String, "/home/me/rpe"));
  EXPECT_EQ(ReadFile(first / "Ostrel/registry.ini"), "[KAVRPE]\r\nPath=/opt/first\r\n");
  EXPECT_EQ(registry.KeyFiles("Software\\Ostrel"),
            (std::vector<std::string>{user / "Ostrel/registry.ini", first / "Ostrel/registry.ini",
                                      second / "Ostrel/registry.ini"}));
#ifndef _WIN32
  // The default folders follow the XDG variables (a Linux desktop's own).
  ::setenv("XDG_CONFIG_DIRS", "/etc/a:/etc/b::relative:/etc/c", 1);
  EXPECT_EQ(TIniRegistry::DefaultSystemFolders(),
            (std::vector<std::string>{"/etc/a", "/etc/b", "/etc/c"}));
  ::setenv("XDG_CONFIG_DIRS", "", 1);
  EXPECT_EQ(TIniRegistry::DefaultSystemFolders(), std::vector<std::string>{"/etc/xdg"});
  ::unsetenv("XDG_CONFIG_DIRS");
  ::setenv("XDG_CONFIG_HOME", "relative", 1);  // only an absolute folder counts
  ASSERT_NE(std::getenv("HOME"), nullptr);
  EXPECT_EQ(TIniRegistry::DefaultConfigHome(), std::string(std::getenv("HOME")) + "/.config");
  ::unsetenv("XDG_CONFIG_HOME");
  // Where a user is told to set the catalogue folder: the files this run reads.
  SetCurrentUserRegistry(
      std::make_unique<TIniRegistry>(user.Path(), std::vector<std::string>{first.Path()}));
  EXPECT_EQ(CatalogueFolderSetting(),
            "The catalogue folder is set by Path= under [Common Files] in " +
                (user / "Ostrel/registry.ini") + " (or, for every user, " +
                (first / "Ostrel/registry.ini") + ").");
  SetCurrentUserRegistry(nullptr);
#endif
}

TEST(WorkingFolderTest, AnInstalledProgramWritesInTheUsersStateFolder) {
#ifdef _WIN32
  EXPECT_EQ(ChooseWorkingFolder("C:\\kav\\", true, "C:\\L", "C:\\U"), "C:\\kav\\");
  EXPECT_EQ(ChooseWorkingFolder("C:\\Program Files\\KAV\\", false, "C:\\Users\\u\\Local\\",
                                "C:\\Users\\u"),
            "C:\\Users\\u\\Local\\kav-pnb\\");
  // A relative or missing %LOCALAPPDATA% falls back to the profile's.
  EXPECT_EQ(ChooseWorkingFolder("C:\\P\\", false, "Local", "C:\\Users\\u"),
            "C:\\Users\\u\\AppData\\Local\\kav-pnb\\");
  EXPECT_EQ(ChooseWorkingFolder("C:\\P\\", false, nullptr, "\\\\server\\u"),
            "\\\\server\\u\\AppData\\Local\\kav-pnb\\");
  // A network name is a full path; a name from the drive's root is not.
  EXPECT_EQ(ChooseWorkingFolder("C:\\P\\", false, "\\\\server\\L", "C:\\U"),
            "\\\\server\\L\\kav-pnb\\");
  EXPECT_EQ(ChooseWorkingFolder("C:\\P\\", false, "\\L", "C:\\U"),
            "C:\\U\\AppData\\Local\\kav-pnb\\");
#else
  EXPECT_EQ(ChooseWorkingFolder("/opt/kav/", true, "/state", "/home/u"), "/opt/kav/");
  EXPECT_EQ(ChooseWorkingFolder("/usr/lib/kav-pnb/", false, "/state", "/home/u"),
            "/state/kav-pnb/");
  // A relative or missing XDG_STATE_HOME falls back to the default.
  EXPECT_EQ(ChooseWorkingFolder("/usr/lib/kav-pnb/", false, "state", "/home/u"),
            "/home/u/.local/state/kav-pnb/");
  EXPECT_EQ(ChooseWorkingFolder("/usr/lib/kav-pnb/", false, nullptr, "/home/u"),
            "/home/u/.local/state/kav-pnb/");
#endif
  TempDir program;  // a copy in a folder of the user's own works there, data folder or not
  const std::string original = ProgramFolder();
  SetProgramFolder(program.Path());
  EXPECT_EQ(WorkingFolder(), Native(program.Path()));
  EXPECT_FALSE(std::filesystem::exists(program / "data"));  // nothing made in it
  WriteFile(program / "data/pnb.dat", "");
  EXPECT_EQ(WorkingFolder(), Native(program.Path()));
  SetProgramFolder(original);
}

// Sets an environment variable where the program reads it (on Windows, the
// wide-character environment).
void SetEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
  const std::string assignment = std::string(name) + "=" + value;
  ::_wputenv(std::wstring(assignment.begin(), assignment.end()).c_str());
#else
  ::setenv(name, value.c_str(), 1);
#endif
}

TEST(WorkingFolderTest, AProgramFolderNothingCanBeCreatedInSendsTheFilesToTheUsersFolder) {
#ifdef _WIN32
  const char* variable = "LOCALAPPDATA";
#else
  const char* variable = "XDG_STATE_HOME";
#endif
  const char* before = std::getenv(variable);
  const std::string saved = before != nullptr ? before : "";
  TempDir program, state;
  SetEnvironment(variable, Native(state / "local"));
  const std::string original = ProgramFolder();
  SetProgramFolder(program / "gone");  // nothing can be created in a folder that is not there
  EXPECT_EQ(WorkingFolder(), Native(state / "local/kav-pnb/"));
  EXPECT_TRUE(std::filesystem::is_directory(state / "local/kav-pnb/data"));
  SetProgramFolder(original);
  SetEnvironment(variable, saved);
}

}  // namespace
