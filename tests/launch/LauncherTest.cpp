// The viewer launcher, with a small program of the test's own standing in
// for the viewer (a script; on Windows kav_viewer_standin.exe): it records
// its arguments and working folder.
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <chrono>
#include <filesystem>
#include <thread>

#include "catalog/CatalogFixture.h"
#include "launch/PatternViewer.h"

namespace fs = std::filesystem;

namespace {

// The INI registry, counting the values read; it can hold a value that is not text.
struct CountingRegistry : TIniRegistry {
  using TIniRegistry::TIniRegistry;
  ValueKind ReadString(const std::string& key, const std::string& section, const std::string& name,
                       std::string& value) override {
    ++reads;
    return binaryValue ? ValueKind::Other : TIniRegistry::ReadString(key, section, name, value);
  }
  int reads = 0;
  bool binaryValue = false;
};

struct CurrentFolder {
  explicit CurrentFolder(const std::string& folder) { fs::current_path(folder); }
  ~CurrentFolder() { fs::current_path(old); }
  fs::path old = fs::current_path();
};

class LauncherTest : public CatalogFixture {
 protected:
  void WriteCatalogue() override {
    CatalogFixture::WriteCatalogue();
    Shared("MWAnts.dat", AntennaHeader() +
                             Antenna("23 GHz", "PDR220", "2", "HP2-23", "R", "HP", "G1") +
                             Antenna("6 GHz", "CPR137G", "6", "STD 6-6  X", "R", "STD", "G2") +
                             Antenna("23 GHz", "PDR220", "2", "HP\xE9\x80", "R", "HP", "G1"));
  }
  void SetUp() override {
    CatalogFixture::SetUp();
    data = Create();
    ASSERT_TRUE(QueryPart(*data, "HP2-23", true));
    auto counting = std::make_unique<CountingRegistry>(config.Path());
    registry = counting.get();
    SetCurrentUserRegistry(std::move(counting));
    SetUpPatternViewerLauncher(launcher);
  }
  void SetViewerFolder(const std::string& folder) {
    registry->WriteString("Software\\Ostrel", "KAVRPE", "Path", folder);
  }

  // A viewer that records its argument count, arguments and working folder,
  // then exits with `exitCode`. One that is not `executable` is a text file.
  std::string WriteViewer(const std::string& folder, const std::string& name = "KAV_RPE.exe",
                          int exitCode = 0, bool executable = true) {
#ifdef _WIN32
    fs::create_directories(folder);
    if (executable) {
      fs::copy_file(StandIn(), folder + name, fs::copy_options::overwrite_existing);
      WriteFile(folder + name + ".txt", record / "started\n" + std::to_string(exitCode) + "\n");
    } else {
      WriteFile(folder + name, "no program\n");
    }
#else
    WriteFile(folder + name,
              "#!/bin/sh\n{ echo \"$#\"; for a in \"$@\"; do echo \"[$a]\"; done; pwd; } > '" +
                  record / "tmp" + "'\nmv '" + record / "tmp" + "' '" + record / "started" +
                  "'\nexit " + std::to_string(exitCode) + "\n");
    ::chmod((folder + name).c_str(), executable ? 0755 : 0644);
#endif
    return folder + name;
  }
#ifdef _WIN32
  static fs::path StandIn() {
    std::wstring self(MAX_PATH, L'\0');
    self.resize(::GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    return fs::path(self).parent_path() / "kav_viewer_standin.exe";
  }
#endif

  // What the viewer recorded. A detached viewer is waited for until its
  // record is there, however loaded the machine: a slow start is no failure,
  // and a record read too early would be taken for the next launch's. (The
  // bound only keeps a viewer that never starts from hanging the run.)
  std::string Recorded(bool wait = true) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(10);
    while (wait && !fs::exists(record / "started") && std::chrono::steady_clock::now() < giveUp)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const std::string text = ReadFile(record / "started");
    fs::remove(record / "started");
    return text;
  }
  static std::string Record(const std::vector<std::string>& arguments, std::string folder) {
    std::string text = std::to_string(arguments.size()) + "\n";
    for (const std::string& a : arguments)
      text += "[" + a + "]\n";
    if (folder.back() == '/') folder.pop_back();
#ifdef _WIN32
    return text + folder + "\nshow 1\n";  // the window shown as usual
#else
    return text + folder + "\n";
#endif
  }

  std::unique_ptr<TDataModule> data;
  CountingRegistry* registry = nullptr;
  FakeShell shell;
  TProgramLauncher launcher{shell};
  TempDir viewer, record, work;
};

TEST_F(LauncherTest, AViewerBesideTheProgramStartsWithoutTheRegistryOneInTheCurrentFolderNever) {
  // A viewer left in the folder the user started from is not run: the registry's is.
  CurrentFolder inWork(work.Path());
  WriteViewer(work.Path());
  SetViewerFolder(viewer.Path());
  WriteViewer(viewer.Path());
  LaunchPatternViewer(data->GetSelectedPartNum(), launcher, dialogs);
  EXPECT_EQ(Recorded(), Record({"HP2-23"}, viewer.Path()));
  EXPECT_EQ(registry->reads, 1);
  // One beside the program starts without a look at the registry, and gets
  // the model number's Windows-1252 bytes in the system's encoding.
  launcher.FilePath.clear();
  WriteViewer(program.Path());
  ASSERT_TRUE(QueryPart(*data, "HP\xE9\x80", true));
  const int reads = registry->reads;
  LaunchPatternViewer(data->GetSelectedPartNum(), launcher, dialogs);
  EXPECT_EQ(Recorded(), Record({"HP\xC3\xA9\xE2\x82\xAC"}, program.Path()));
  EXPECT_EQ(launcher.FullAppName(), Native(program / "KAV_RPE.exe"));
  EXPECT_EQ(registry->reads, reads);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LauncherTest, TheRegistryFolderGetsItsSeparatorAndIsTriedFirstNextTime) {
  const std::string folder = viewer.Path().substr(0, viewer.Path().size() - 1);
  SetViewerFolder(folder);
  WriteViewer(viewer.Path());
  LaunchPatternViewer(data->GetSelectedPartNum(), launcher, dialogs);
  EXPECT_EQ(Recorded(), Record({"HP2-23"}, viewer.Path()));
  EXPECT_EQ(launcher.FullAppName(), folder + "\\KAV_RPE.exe");
  // Next click, for a part number with blanks: passed unquoted and unchanged.
  SetViewerFolder("");
  ASSERT_TRUE(QueryPart(*data, "STD 6-6  X", true));
  const int reads = registry->reads;  // the query reads the catalogue's folder
  LaunchPatternViewer(data->GetSelectedPartNum(), launcher, dialogs);
  EXPECT_EQ(Recorded(), Record({"STD 6-6  X"}, viewer.Path()));
  EXPECT_EQ(registry->reads, reads);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LauncherTest, WhatHappensWhenTheViewerCannotBeFoundOrStarted) {
  // Registry value missing, empty or not text: the message.
  WriteViewer(viewer.Path());
  LaunchPatternViewer(data->GetSelectedPartNum(), launcher, dialogs);
  SetViewerFolder("");
  LaunchPatternViewer(data->GetSelectedPartNum(), launcher, dialogs);
  SetViewerFolder(viewer.Path());
  registry->binaryValue = true;
  LaunchPatternViewer(data->GetSelectedPartNum(), launcher, dialogs);
  ASSERT_EQ(dialogs.messages.size(), 3u);
  const std::string unset = std::string(kPatternViewerFailed) +
                            "\r\n\r\nThe viewer's folder is not set. The folder of KAV_RPE.exe ";
  for (const std::string& message : dialogs.messages) {
    EXPECT_EQ(message.substr(0, unset.size()), unset);
    EXPECT_NE(message.find("KAVRPE"), std::string::npos) << message;
  }
  EXPECT_EQ(Recorded(false), "");
  // No viewer in the registry's folder: said, with the folder looked in.
  registry->binaryValue = false;
  fs::remove(viewer / "KAV_RPE.exe");
  LaunchPatternViewer(data->GetSelectedPartNum(), launcher, dialogs);
  EXPECT_FALSE(launcher.Execute());
  ASSERT_EQ(dialogs.messages.size(), 4u);
  const std::string& missing = dialogs.messages[3];
  const size_t named = missing.find("\r\n\r\nKAV_RPE.exe is not in ");
  EXPECT_LT(named, missing.find(". The folder of KAV_RPE.exe ")) << missing;
  EXPECT_NE(missing.find("KAVRPE"), std::string::npos) << missing;
#ifndef _WIN32
  // A file that is no program goes to the desktop's opener (on Windows the
  // shell itself opens it).
  const std::string path = WriteViewer(viewer.Path(), "KAV_RPE.exe", 0, false);
  EXPECT_TRUE(launcher.Execute());
  shell.answer = false;
  EXPECT_FALSE(launcher.Execute());
  WriteFile(path, "no program\n");  // marked as a program, but none: its start fails
  ::chmod(path.c_str(), 0755);
  EXPECT_FALSE(launcher.Execute());
  EXPECT_EQ(shell.opened, std::vector<std::string>(2, path));
#endif
  // A missing registry key is created.
  TProgramLauncher other(shell);
  other.RegistrySettings = TNameValueList{"Key=Software\\Ostrel\\Tools", "Section=S", "Path=Path"};
  other.ExecuteMode = emRegistry;
  EXPECT_THROW(other.Execute(), EKavError);
  EXPECT_TRUE(fs::is_directory(config / "Ostrel/Tools"));
}

TEST_F(LauncherTest, AFolderRelativeToTheProgramIsPrefixedAgainAfterEachMiss) {
  TProgramLauncher app(shell);
  app.AppName = "view.exe";
  app.FilePath = "tools/rpe";
  WriteViewer(program / "tools/rpe/", "view.exe");
  EXPECT_TRUE(app.Execute());
  EXPECT_EQ(Recorded(), Record({}, program / "tools/rpe/"));
  app.FilePath = "gone";
  EXPECT_FALSE(app.Execute());
  EXPECT_FALSE(app.Execute());
  EXPECT_EQ(app.FilePath, Native(program.Path() + program / "gone\\"));
}

TEST_F(LauncherTest, WaitModeRunsTheProgramToItsEndWithin255Characters) {
  TProgramLauncher app(shell);
  app.AppName = "view.exe";
  app.FilePath = viewer.Path();
  app.ExecuteInstance = eiWait;
  app.Parameters = "HP 2-23";
  const std::string script = WriteViewer(viewer.Path(), "view.exe", 7);
  EXPECT_TRUE(app.Execute());  // whatever its exit code
  EXPECT_EQ(Recorded(false), Record({"HP 2-23"}, viewer.Path()));
  {
    CurrentFolder inWork(work.Path());  // no folder: the current one
    EXPECT_EQ(app.StartAndWait(script + " a  b", "", 1), 7);
    EXPECT_EQ(Recorded(false), Record({"a  b"}, work.Path()));
  }
  const std::string blank = WriteViewer(viewer / "a b/", "view.exe", 3);  // quoted or not
  EXPECT_EQ(app.StartAndWait("\"" + blank + "\"  x y", work.Path(), 1), 3);
  EXPECT_EQ(Recorded(false), Record({" x y"}, work.Path()));  // one blank after the name goes
  EXPECT_EQ(app.StartAndWait(blank + " z", work.Path(), 1), 3);
  EXPECT_EQ(Recorded(false), Record({"z"}, work.Path()));
  WriteViewer(viewer.Path(), "plain.exe", 0, false);
  EXPECT_EQ(app.StartAndWait(viewer / "plain.exe", viewer.Path(), 1), -1);
  EXPECT_EQ(app.StartAndWait(viewer / "absent.exe", viewer.Path(), 1), -1);
  EXPECT_EQ(app.StartAndWait(script, viewer / "absent/", 1), -1);

  // 255 characters of command line and of folder are taken; 256 refused.
  const std::string fits = script + " " + std::string(254 - script.size(), 'p');
  EXPECT_EQ(app.StartAndWait(fits, viewer.Path(), 1), 7);
  EXPECT_EQ(app.StartAndWait(fits + "p", viewer.Path(), 1), -1);
  std::string folder = work.Path();
  while (folder.size() < 255)
    folder += std::string(std::min<size_t>(60, 254 - folder.size()), 'f') + "/";
  fs::create_directories(folder + "g");
  EXPECT_EQ(app.StartAndWait(script, folder + "g", 1), -1);
  EXPECT_EQ(app.StartAndWait(script, folder, 1), 7);
  EXPECT_EQ(Recorded(false), Record({}, folder));
}

TEST(AddTrailingBackslashTest, AddsOneSeparatorAndRefusesAnEmptyFolder) {
  EXPECT_EQ(TProgramLauncherBase::AddTrailingBackslash("C:\\Tools"), "C:\\Tools\\");
  EXPECT_EQ(TProgramLauncherBase::AddTrailingBackslash("C:\\Tools\\"), "C:\\Tools\\");
  EXPECT_EQ(TProgramLauncherBase::AddTrailingBackslash("/opt/rpe/"), "/opt/rpe/");
  EXPECT_THROW(TProgramLauncherBase::AddTrailingBackslash(""), EKavError);
}

}  // namespace
