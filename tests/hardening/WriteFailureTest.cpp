// The job file, AntFlanges.dat and pnb.dat written where the write cannot
// succeed: the old file stays whole, no temporary file is left behind, the
// failure is reported the way the program reports it, and the next write after
// the cause is gone succeeds.
//
// The causes are real conditions of the system, none of them a permission
// trick that root would pass: a folder where the file or its temporary file
// belongs, a missing folder, a file where the folder belongs, a file-size limit
// (the write fails with EFBIG, root included) and, where a tmpfs can be
// mounted, a full disk. A read-only folder is tried only when not running as root.
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <set>

#include "catalog/CatalogFixture.h"
#include "platform/Error.h"

namespace {

namespace fs = std::filesystem;

std::string Reason(int error) {
  return std::strerror(error);
}

// While alive, no file of this process can grow beyond `bytes`: a write past
// the limit fails with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    ::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  sighandler_t oldHandler_;
};

// One way of making a write fail, with what it should report and how to undo it.
struct Condition {
  std::string name;
  std::function<void()> apply;
  std::function<void()> undo;
  std::string reason;        // the text at the end of the message; {folder}: the file's folder
  bool oldFileKept = true;   // false: the condition replaced the old file itself
  bool unresolved = false;   // the folder is gone, so the name keeps its letter case
  bool parksFolder = false;  // the folder, with the old file in it, is moved away meanwhile
  // Which step failed: creating the temporary file, writing it, or putting
  // it in place.
  std::string verb = "Cannot create";
  std::unique_ptr<FileSizeLimit> limit;
};

std::shared_ptr<Condition> Make(std::string name, std::function<void()> apply,
                                std::function<void()> undo, std::string reason,
                                std::string verb = "Cannot create") {
  auto c = std::make_shared<Condition>();
  c->name = std::move(name);
  c->apply = std::move(apply);
  c->undo = std::move(undo);
  c->reason = std::move(reason);
  c->verb = std::move(verb);
  return c;
}

// The ways to make writing `file` (in `folder`) fail that need no mount.
std::vector<std::shared_ptr<Condition>> Conditions(const std::string& folder,
                                                   const std::string& file) {
  std::vector<std::shared_ptr<Condition>> conditions;
  const std::string parked = folder + ".parked";
  const std::string oldCopy = folder + ".old-file";

  conditions.push_back(Make(
      "a folder where the file belongs (the rename fails)",
      [=] {
        fs::rename(file, oldCopy);
        fs::create_directories(file + "/inside");
      },
      [=] {
        fs::remove_all(file);
        fs::rename(oldCopy, file);
      },
      Reason(EISDIR), "Cannot replace"));
  conditions.back()->oldFileKept = false;
  conditions.push_back(Make(
      "the folder is missing", [=] { fs::rename(folder, parked); },
      [=] { fs::rename(parked, folder); }, "The folder \"{folder}\" does not exist."));
  conditions.back()->unresolved = true;
  conditions.back()->parksFolder = true;
  conditions.push_back(Make(
      "a file where the folder belongs",
      [=] {
        fs::rename(folder, parked);
        WriteFile(folder, "not a folder");
      },
      [=] {
        fs::remove(folder);
        fs::rename(parked, folder);
      },
      "\"{folder}\" is not a folder."));
  conditions.back()->parksFolder = true;
  auto tooLarge = Make("a file-size limit of 16 bytes", {}, {}, Reason(EFBIG), "Cannot write");
  tooLarge->apply = [c = tooLarge.get()] { c->limit = std::make_unique<FileSizeLimit>(16); };
  tooLarge->undo = [c = tooLarge.get()] { c->limit.reset(); };
  conditions.push_back(tooLarge);
  if (!RunningAsRoot())
    conditions.push_back(Make(
        "a read-only folder", [=] { ::chmod(folder.c_str(), 0555); },
        [=] { ::chmod(folder.c_str(), 0755); }, Reason(EACCES)));
  return conditions;
}

// The names in a folder that are not in `expected`.
std::set<std::string> Extra(const std::string& folder, const std::set<std::string>& expected) {
  std::set<std::string> extra;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (!expected.count(name)) extra.insert(name);
  }
  return extra;
}

class WriteFailureTest : public CatalogFixture {
 protected:
  // A data module on HP2-23 with its part number built.
  std::unique_ptr<TDataModule> Ready() {
    auto data = Create();
    data->OnSyncOptionLists = [this] { ++syncs; };
    EXPECT_TRUE(QueryPart(*data, "HP2-23", true));
    EXPECT_TRUE(dialogs.errors.empty());
    return data;
  }
  std::string DataFolder() const { return program.Path() + "data"; }
  // What the data folder holds: the catalogue and the two files written there.
  std::set<std::string> DataFiles() const {
    return {"MWFreq.dat",    "MWAntTypes.dat", "flng_list.dat", "radome_List.dat",
            "pack_list.dat", "radome_img.dat", "flng_img.dat",  "AntFlanges.dat",
            "pnb.dat",       "kav_pnb.lock"};
  }
  // The message of a failed write of `file` (named as the program names it).
  static std::string WriteError(const std::string& file, const Condition& c) {
    std::string reason = c.reason;
    if (const size_t at = reason.find("{folder}"); at != std::string::npos)
      reason.replace(at, 8, file.substr(0, file.find_last_of('/')));
    return c.verb + " file \"" + file + "\". " + reason;
  }
  static std::string Boxed(const std::string& message, const std::string& context) {
    return "The following error was encountered:\r'" + message + "'\r\n" + context;
  }

  int syncs = 0;
};

TEST_F(WriteFailureTest, PartNumberFileFailuresKeepTheOldFileAndGoToTheErrorBox) {
  auto data = Ready();
  const std::string file = program / "data/pnb.dat";
  for (const auto& condition : Conditions(DataFolder(), file)) {
    SCOPED_TRACE(condition->name);
    const std::string before = ReadFile(file);
    ASSERT_NE(before.find("HP2-23|HP2-23-AXP|"), std::string::npos);
    dialogs.errors.clear();

    condition->apply();
    data->BuildPartNumber();
    condition->undo();

    const std::string named = condition->unresolved ? program / "Data/pnb.dat" : file;
    EXPECT_EQ(dialogs.errors,
              std::vector{Boxed(WriteError(named, *condition), "building part number")});
    // Closed before the report, and still complete.
    EXPECT_EQ(std::pair(data->BuiltPartNumber.Active(), data->PartNumberComplete()),
              std::pair(false, true));
    EXPECT_EQ(condition->oldFileKept ? ReadFile(file) : before, before);
    EXPECT_EQ(Extra(DataFolder(), DataFiles()), std::set<std::string>{});

    // The cause gone, the next build writes and reopens as usual.
    data->BuildPartNumber();
    EXPECT_EQ(std::tuple(dialogs.errors.size(), Cell(data->BuiltPartNumber, "CustPartNum"),
                         ReadFile(file)),
              std::tuple(1u, "HP2-23-AXP", before));
  }
}

TEST_F(WriteFailureTest, FlangeFileFailuresEndTheAntennaChainWithTheErrorToTheCaller) {
  auto data = Ready();
  const std::string file = program / "data/AntFlanges.dat";
  ASSERT_EQ(ReadFile(file), "Antenna|Flange\r\nHP2-23|PDR220\r\nHP2-23|UDR220\r\n");
  data->QueryMode =
      TQueryMode::All;  // all antennas: moving from the first to the second changes it
  ASSERT_TRUE(data->QueryAntennas());
  ASSERT_EQ(Cell(data->Antennas, "PartNum"), "STD6-6");
  for (const auto& condition : Conditions(DataFolder(), file)) {
    SCOPED_TRACE(condition->name);
    data->Antennas.First();  // STD6-6, written whole
    const std::string before = ReadFile(file);
    ASSERT_EQ(before, "Antenna|Flange\r\nSTD6-6|CPR137G\r\n");
    const int syncsBefore = syncs;
    dialogs.errors.clear();

    condition->apply();
    const std::string error = ErrorOf([&] { data->Antennas.Next(); });  // HP2-23
    condition->undo();

    const std::string named = condition->unresolved ? program / "Data/AntFlanges.dat" : file;
    EXPECT_EQ(error, WriteError(named, *condition));
    EXPECT_TRUE(dialogs.errors.empty());
    // The pricing step ran, the rest of the chain did not.
    EXPECT_EQ(std::tuple(Cell(data->Pricing, "PartNo"), Cell(data->Flanges, "Antenna"), syncs),
              std::tuple("HP2-23", "STD6-6", syncsBefore));
    EXPECT_EQ(condition->oldFileKept ? ReadFile(file) : before, before);
    EXPECT_EQ(Extra(DataFolder(), DataFiles()), std::set<std::string>{});

    data->Antennas.First();  // the cause gone, the chain runs whole again
    EXPECT_EQ(std::pair(syncs, ReadFile(file)), std::pair(syncsBefore + 1, before));
  }

  // Inside a query the same failure is caught and reported with the query's context.
  dialogs.errors.clear();
  {
    FileSizeLimit limit(16);
    EXPECT_FALSE(data->QueryAntennas());
  }
  EXPECT_EQ(dialogs.errors,
            std::vector{Boxed("Cannot write file \"" + file + "\". " + Reason(EFBIG),
                              "in loading Antenna data")});
  EXPECT_EQ(std::pair(data->Antennas.Active(), data->Pricing.Active()), std::pair(false, false));
  EXPECT_EQ(ReadFile(file), "Antenna|Flange\r\nSTD6-6|CPR137G\r\n");
}

TEST_F(WriteFailureTest, JobFileFailuresLeaveNoJobFileAndReachTheCaller) {
  auto data = Ready();
  const std::string job = data->JobFileName();
  const std::string folder = program.Path().substr(0, program.Path().size() - 1);
  auto conditions = Conditions(folder, job);
  // Every write deletes the old job file first, so a folder in its place is
  // made afresh here rather than swapped for the old file; it is no file to
  // read, and the write stops there.
  conditions.erase(conditions.begin());
  conditions.push_back(Make(
      "a folder where the job file belongs",
      [job] {
        fs::remove(job);
        fs::create_directories(job + "/inside");
      },
      [job] { fs::remove_all(job); }, "Not a regular file", "Cannot open"));

  for (const auto& condition : conditions) {
    SCOPED_TRACE(condition->name);
    data->WriteJobFile();
    const std::string good = ReadFile(job);
    ASSERT_NE(good.find("1=1|each|HP2-23|HP2-23-AXP|"), std::string::npos);

    condition->apply();
    const std::string error = ErrorOf([&] { data->WriteJobFile(); });
    condition->undo();

    EXPECT_EQ(error, WriteError(job, *condition));
    // The old job file was deleted first, as every write starts from nothing
    // (unless its folder was out of reach, and with it the old file), nothing
    // half-written took its place and no temporary file is left.
    if (condition->parksFolder) {
      EXPECT_EQ(ReadFile(job), good);
    } else {
      EXPECT_FALSE(fs::exists(job));
    }
    EXPECT_EQ(Extra(program.Path(), {"data", "Images", "kav_pnb.lom"}), std::set<std::string>{});

    data->WriteJobFile();  // the cause gone, the job file is written whole
    EXPECT_EQ(ReadFile(job), good);
  }
  data->DeleteJobFile();
  EXPECT_FALSE(fs::exists(job));
}

// A full disk: the program folder is a small tmpfs, filled up after the
// catalogue is in place. Needs the right to mount (CI runs as root).
class FullDiskTest : public WriteFailureTest {
 protected:
  void SetUp() override {
    if (::mount("tmpfs", program.Path().c_str(), "tmpfs", 0, "size=128k,mode=0755") != 0)
      GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    mounted_ = true;
    WriteFailureTest::SetUp();
  }
  void TearDown() override {
    WriteFailureTest::TearDown();
    if (mounted_) ::umount2(program.Path().c_str(), MNT_DETACH);
  }
  // Takes every free block of the disk.
  void Fill() {
    const std::string filler = program / "filler";
    FILE* out = std::fopen(filler.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    const std::string block(4096, 'x');
    while (std::fwrite(block.data(), 1, block.size(), out) == block.size() &&
           std::fflush(out) == 0) {
    }
    std::fclose(out);
    struct statvfs info;
    ASSERT_EQ(::statvfs(program.Path().c_str(), &info), 0);
    ASSERT_EQ(info.f_bavail, 0u);
  }
  void Free() { fs::remove(program / "filler"); }

  bool mounted_ = false;
};

TEST_F(FullDiskTest, EveryWrittenFileFailsWholeAndRecovers) {
  auto data = Ready();  // no job file yet: deleting an old one would free room for the new
  const std::string pnb = program / "data/pnb.dat", flanges = program / "data/AntFlanges.dat";
  const std::string job = data->JobFileName();
  const std::string built = ReadFile(pnb), builtFlanges = ReadFile(flanges);
  // Working files are rewritten where they stand: only one that must grow
  // needs room from the disk, as these empty ones do.
  const std::string oldPnb, oldFlanges;
  WriteFile(pnb, oldPnb);
  WriteFile(flanges, oldFlanges);
  const auto full = [](const std::string& file) {
    return "Cannot write file \"" + file + "\". " + Reason(ENOSPC);
  };
  Fill();

  data->BuildPartNumber();
  const std::string pnbError = Boxed(full(pnb), "building part number");
  EXPECT_EQ(dialogs.errors, std::vector{pnbError});
  EXPECT_EQ(ReadFile(pnb), oldPnb);

  data->QueryMode = TQueryMode::All;
  EXPECT_FALSE(data->QueryAntennas());
  EXPECT_EQ(dialogs.errors,
            (std::vector{pnbError, Boxed(full(flanges), "in loading Antenna data")}));
  EXPECT_EQ(ReadFile(flanges), oldFlanges);

  EXPECT_EQ(ErrorOf([&] { data->WriteJobFile(); }), full(job));
  EXPECT_FALSE(fs::exists(job));
  EXPECT_EQ(Extra(program.Path(), {"data", "Images", "filler"}), std::set<std::string>{});
  EXPECT_EQ(Extra(DataFolder(), DataFiles()), std::set<std::string>{});

  Free();
  ASSERT_TRUE(QueryPart(*data, "HP2-23", true));
  EXPECT_EQ(std::tuple(dialogs.errors.size(), ReadFile(pnb), ReadFile(flanges)),
            std::tuple(2u, built, builtFlanges));
  data->WriteJobFile();
  EXPECT_NE(ReadFile(job).find("1=1|each|HP2-23|HP2-23-AXP|"), std::string::npos);
}

}  // namespace
