// What a calling program gets back under real conditions: two copies of the
// program at work in one folder, links planted where the program writes, a
// program folder deep enough that its job file's path passes 255 characters,
// a catalogue unpacked twice under two spellings of its folders, and the
// temporary files of a copy killed in the middle of a write.
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "catalog/CatalogFixture.h"
#include "platform/SafeFileWrite.h"

namespace {

namespace fs = std::filesystem;

class HandBackTest : public CatalogFixture {};

TEST_F(HandBackTest, TwoCopiesBuildingAtOnceEachGetTheirOwnPartNumber) {
  constexpr int kBuilds = 300;
  struct TCopy {
    const char* model;
    const char* partNumber;
    const char* price;
  };
  const TCopy copies[] = {{"HP2-23", "HP2-23-AXP", "1150.5"}, {"STD6-6", "STD6-6-CSP", "1930"}};
  std::vector<pid_t> children;
  for (const TCopy& copy : copies) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid > 0) {
      children.push_back(pid);
      continue;
    }
    // A copy of the program: each wrong result or failed write counts.
    int wrong = 0;
    auto data = Create();
    for (int i = 0; i < kBuilds; ++i) {
      const size_t errors = dialogs.errors.size();
      if (!QueryPart(*data, copy.model, true) || dialogs.errors.size() != errors ||
          Cell(data->BuiltPartNumber, "CustPartNum") != copy.partNumber ||
          Cell(data->BuiltPartNumber, "CustPrice") != copy.price)
        ++wrong;
      try {
        data->WriteJobFile();
      } catch (const std::exception&) {
        ++wrong;
      }
    }
    ::_exit(std::min(wrong, 255));
  }
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "wrong results in one copy";
  }
}

TEST_F(HandBackTest, LinksPlantedWhereTheProgramWritesAreReplacedNeverWrittenThrough) {
  TempDir outside;
  const std::vector<std::string> targets = {
      program / "data/pnb.dat", program / "data/AntFlanges.dat", program / "kav_pnb.lom"};
  std::vector<std::string> planted;
  for (const std::string& target : targets)
    for (const std::string& name : {target, target + ".tmp"}) {
      const std::string secret = outside / std::to_string(planted.size());
      WriteFile(secret, "secret");
      fs::create_symlink(secret, name);
      planted.push_back(name);
    }
  auto data = Create();
  ASSERT_TRUE(QueryPart(*data, "HP2-23", true));
  data->WriteJobFile();
  EXPECT_TRUE(dialogs.errors.empty());
  for (size_t i = 0; i < planted.size(); ++i)
    EXPECT_EQ(ReadFile(outside / std::to_string(i)), "secret") << planted[i];
  for (const std::string& target : targets)
    EXPECT_FALSE(fs::is_symlink(target)) << target;
  EXPECT_NE(ReadFile(program / "kav_pnb.lom").find("1=1|each|HP2-23|HP2-23-AXP|"),
            std::string::npos);
}

TEST_F(HandBackTest, AJobFileInADeepFolderLandsWhereTheCallerLooks) {
  std::string deep = program.Path();
  while (deep.size() < 250)
    deep += std::string(60, 'd') + "/";
  fs::create_directories(deep);
  const std::string job = deep + "kav_pnb.lom";
  {
    TJobFile file(job);
    file.Site.NewSite();
    file.Site.AddLine("1", "each", "HP2-23", "HP2-23-AXP", "D", "1150.5");
  }
  EXPECT_EQ(ReadFile(job), "[SITE 001 LOM]\r\n1=1|each|HP2-23|HP2-23-AXP|D|1150.5|\r\n\r\n");
}

TEST_F(HandBackTest, EverySpellingOfAFolderReadsAndWritesTheSameFolder) {
  // data/ holds the last run's files; Data/ and images/ are empty copies.
  Data("pnb.dat", "PartNum|CustPartNum|CustDesc|CustPrice\r\nHP2-23|OLD-PN|old|1\r\n");
  Data("AntFlanges.dat", "Antenna|Flange\r\nHP2-23|OLD\r\n");
  fs::create_directories(program / "Data");
  fs::create_directories(program / "images");
  auto data = Create();
  ASSERT_TRUE(QueryPart(*data, "HP2-23", true));
  EXPECT_TRUE(dialogs.errors.empty());
  EXPECT_EQ(std::tuple(Cell(data->Flanges, "Flange"), Cell(data->BuiltPartNumber, "CustPartNum")),
            std::tuple("PDR220", "HP2-23-AXP"));
  EXPECT_TRUE(fs::is_empty(program / "Data"));
  data->ShowFlangeImage();  // "images\"
  EXPECT_EQ(optionPicture.picture, program / "Images/pdr220.gif");
  data->ShowRadomeImage();  // "Data\radome_img.dat"
  EXPECT_EQ(optionPicture.picture, program / "Images/rad_grey.gif");
}

TEST_F(HandBackTest, TemporaryFilesOfAKilledCopyGoOnceADayOld) {
  const auto now = fs::file_time_type::clock::now();
  // Each file, its age in hours and whether it stays. A younger one may be
  // another copy's write; the last three are not ours.
  const std::tuple<std::string, int, bool> files[] = {
      {".kav_pnb.0aA9zZ", 25, false},     {"data/.kav_pnb.zzzzzz", 25, false},
      {"data/.kav_pnb.Young1", 23, true}, {"data/.kav_pnb.lock", 25, true},
      {".kav_pnb.ab-cde", 25, true},      {"kav_pnb.abcdef", 25, true}};
  for (const auto& [name, hours, stays] : files) {
    WriteFile(program / name, stays ? "x" : "half a file");
    fs::last_write_time(program / name, now - std::chrono::hours(hours));
  }
  Create();
  for (const auto& [name, hours, stays] : files)
    EXPECT_EQ(fs::exists(program / name), stays) << name;
  // The name a write starts from sits beside its file, in the form the cleanup looks for.
  EXPECT_EQ(file_util::TemporaryTemplate(program / "data/pnb.dat"),
            program / "data/.kav_pnb.XXXXXX");
}

}  // namespace
