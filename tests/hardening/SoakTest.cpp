// A long session on the demo catalogue in one process: ten thousand antenna
// changes, each followed by a change of one option, with every chain run in
// full. Nothing is reported, every part number is built from the antenna
// shown, no file or descriptor is left behind, nothing leaks, and after the
// first hundred changes the memory in use stays flat.
//
// Under AddressSanitizer freed memory sits in quarantine and the resident
// size says nothing about the program, so there only the leak check runs
// (in the middle of the session, with the data module alive, and again at exit).
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <set>

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "FakeUi.h"
#include "TestSupport.h"
#include "catalog/CatalogFixture.h"
#include "catalog/DataModule.h"
#include "platform/Locale.h"
#include "platform/ProgramFolder.h"
#include "settings/Registry.h"

#if defined(__SANITIZE_ADDRESS__)
#define KAV_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KAV_UNDER_ASAN 1
#endif
#endif
#ifdef KAV_UNDER_ASAN
#include <sanitizer/lsan_interface.h>
#endif

namespace {

namespace fs = std::filesystem;

constexpr int kAntennaChanges = 10000;
constexpr int kWarmUp = 100;
// Growth allowed after the warm-up: well below what one leaked buffer per
// change would add over the session (10,000 changes of even 100 bytes is 1 MB).
constexpr long kToleranceKb = 768;

long ResidentKb() {
  long pages = 0, resident = 0;
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return -1;
  if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = -1;
  std::fclose(statm);
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

int OpenDescriptors() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd"))
    ++count;
  return count;
}

// The demo catalogue laid out as the program expects it: data/ and Images/
// beside the program, common/ as the shared folder the registry names.
//
// The folders go to memory when the system offers it (/dev/shm): the session
// replaces some forty thousand small files, and a disk file system may flush
// each replaced file, which would time the disk rather than the program.
class SoakTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::error_code ec;
    const fs::path base = fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0
                              ? fs::path("/dev/shm")
                              : fs::temp_directory_path();
    root_ = base / ("kav_soak_" + std::to_string(::getpid()) + "_" +
                    std::to_string(std::random_device{}()));
    const fs::path demo = KAV_DEMO_DIR;
    fs::create_directories(root_ / "program");
    fs::copy(demo / "data", root_ / "program/data", fs::copy_options::recursive);
    fs::copy(demo / "Images", root_ / "program/Images", fs::copy_options::recursive);
    fs::copy(demo / "common", root_ / "common", fs::copy_options::recursive);
    program_ = (root_ / "program").string() + "/";

    SetProgramFolder(program_);
    SetDecimalSeparator('.');
    auto registry = std::make_unique<TIniRegistry>((root_ / "config").string());
    registry->WriteString("Software\\Ostrel", "Common Files", "Path", (root_ / "common").string());
    SetCurrentUserRegistry(std::move(registry));
  }
  void TearDown() override {
    SetCurrentUserRegistry(nullptr);
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  std::unique_ptr<TDataModule> Create() {
    return NewDataMod(dialogs, antennaPicture, optionPicture);
  }

  // Moves to the next row of an open table, from the last back to the first,
  // so that the current row always changes and the table's chain runs.
  static bool Step(TDelimitedTable& table) {
    if (!table.Active() || table.RecordCount() < 2) return false;
    if (table.RecNo() >= table.RecordCount())
      table.First();
    else
      table.Next();
    return true;
  }

  static std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.insert(entry.path().filename().string());
    return names;
  }

  fs::path root_;
  std::string program_;
  FakeDialogs dialogs;
  FakePictureBox antennaPicture, optionPicture;
};

TEST_F(SoakTest, TenThousandAntennaAndOptionChanges) {
  auto data = Create();
  int chains = 0;
  data->OnSyncOptionLists = [&] { ++chains; };
  data->QueryMode = TQueryMode::All;
  ASSERT_TRUE(data->QueryAntennas());
  ASSERT_GE(data->Antennas.RecordCount(), 100);
  const std::set<std::string> dataFiles = Names(program_ + "data");

  TDelimitedTable* options[] = {&data->Flanges, &data->RadomeOptions, &data->PackingOptions};
  int optionChanges = 0;
  long residentAfterWarmUp = 0, peakAfterWarmUp = 0;
  int descriptorsAfterWarmUp = 0;
  for (int change = 1; change <= kAntennaChanges; ++change) {
    ASSERT_TRUE(Step(data->Antennas));
    const std::string model = FieldText(data->Antennas, "PartNum");
    if (Step(*options[change % 3])) ++optionChanges;

    // What the window would show is built from the antenna now current.
    ASSERT_EQ(FieldText(data->BuiltPartNumber, "PartNum"), model) << "change " << change;
    ASSERT_EQ(FieldText(data->BuiltPartNumber, "CustPartNum").rfind(model + "-", 0), 0u)
        << "change " << change;
    ASSERT_EQ(FieldText(data->Pricing, "PartNo"), model) << "change " << change;
    if (change % 997 == 0) {
      TDelimitedList flanges(",");
      flanges.SplitText(FieldText(data->Antennas, "Flange"));
      std::string expected = "Antenna|Flange\r\n";
      for (const std::string& flange : flanges.Items())
        expected += model + "|" + flange + "\r\n";
      ASSERT_EQ(ReadFile(program_ + "data/AntFlanges.dat"), expected) << "change " << change;
    }

    if (change == kWarmUp) {
      residentAfterWarmUp = peakAfterWarmUp = ResidentKb();
      descriptorsAfterWarmUp = OpenDescriptors();
    } else if (change > kWarmUp && change % 100 == 0) {
      peakAfterWarmUp = std::max(peakAfterWarmUp, ResidentKb());
      ASSERT_EQ(OpenDescriptors(), descriptorsAfterWarmUp) << "change " << change;
    }
  }
  const long residentAtEnd = ResidentKb();

  EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
  EXPECT_EQ(chains, kAntennaChanges + 1);
  EXPECT_GT(optionChanges, kAntennaChanges / 2);
  EXPECT_TRUE(data->PartNumberComplete());
  EXPECT_EQ(Names(program_ + "data"), dataFiles);  // no temporary file left behind
  EXPECT_EQ(OpenDescriptors(), descriptorsAfterWarmUp);

  std::printf(
      "[ soak     ] %d antenna changes, %d option changes; resident %ld KB after %d, "
      "peak %ld KB, %ld KB at the end\n",
      kAntennaChanges, optionChanges, residentAfterWarmUp, kWarmUp, peakAfterWarmUp, residentAtEnd);
#ifdef KAV_UNDER_ASAN
  EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "leaks reported above";
#else
  EXPECT_LE(peakAfterWarmUp - residentAfterWarmUp, kToleranceKb);
#endif
}

}  // namespace
