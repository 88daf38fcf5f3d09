// What only Windows can tell: replacing an existing file, a read-only target,
// a file another handle holds open, drive-letter paths, names that ignore
// letter case, 8-bit names, files with two names and folders this user may
// not write. Built and run in the Windows stage only.
#include <gtest/gtest.h>
#include <windows.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>

#include "TestSupport.h"
#include "flatfile/LineReader.h"
#include "platform/NativeFile.h"
#include "platform/PathResolver.h"
#include "platform/ProgramFolder.h"
#include "platform/SafeFileWrite.h"
#include "platform/WorkingFileWrite.h"
#include "platform/WorkingFolder.h"

// The program's calls of CreateFileW and MoveFileExW go through these
// entries of the import table.
extern "C" decltype(&::CreateFileW) __imp_CreateFileW;
extern "C" decltype(&::MoveFileExW) __imp_MoveFileExW;

namespace {

// Points an entry of the program's import table at `replacement` while it
// lives; Real() is the function the entry pointed at.
template <typename Function>
class SwappedImport {
 public:
  SwappedImport(Function& entry, Function replacement) : entry_(entry), real_(entry) {
    DWORD old;
    ::VirtualProtect(&entry, sizeof entry, PAGE_READWRITE, &old);
    entry = replacement;
  }
  ~SwappedImport() { entry_ = real_; }
  SwappedImport(const SwappedImport&) = delete;
  SwappedImport& operator=(const SwappedImport&) = delete;
  Function Real() const { return real_; }

 private:
  Function& entry_;
  const Function real_;
};

// While it lives, the program's next `count` exclusive creates of a
// temporary file's name (".kav_pnb.") fail with `error`: a folder this user
// may not write, or names a killed copy left behind. Running as root under
// Wine, nothing else refuses a create.
class FailedCreates {
 public:
  FailedCreates(DWORD error, int count) {
    error_ = error, count_ = count;
    real_ = swap_.Real();
  }
  static int Left() { return count_; }

 private:
  static HANDLE WINAPI Create(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                              DWORD disposition, DWORD flags, HANDLE model) {
    const std::wstring path(name);
    if (count_ > 0 && disposition == CREATE_NEW && path.find(L".kav_pnb.") != path.npos) {
      --count_;
      ::SetLastError(error_);
      return INVALID_HANDLE_VALUE;
    }
    return real_(name, access, share, sa, disposition, flags, model);
  }
  SwappedImport<decltype(&::CreateFileW)> swap_{__imp_CreateFileW, &Create};
  static inline decltype(&::CreateFileW) real_;
  static inline DWORD error_;
  static inline int count_;
};

// While it lives, counts the program's calls of MoveFileExW: how often a
// replacement was tried.
class CountedMoves {
 public:
  CountedMoves() {
    calls_ = 0;
    real_ = swap_.Real();
  }
  static int Calls() { return calls_; }

 private:
  static BOOL WINAPI Move(LPCWSTR from, LPCWSTR to, DWORD flags) {
    ++calls_;
    return real_(from, to, flags);
  }
  SwappedImport<decltype(&::MoveFileExW)> swap_{__imp_MoveFileExW, &Move};
  static inline decltype(&::MoveFileExW) real_;
  static inline int calls_;
};

// "Cannot create file "<path>". <the system's reason for error>"
std::string CannotCreate(const std::string& path, DWORD error) {
  return "Cannot create file \"" + path + "\". " +
         std::system_category().message(static_cast<int>(error));
}

TEST(WindowsFileTest, ReplacesAnExistingFileByteForByteOnADriveLetterPath) {
  TempDir dir;
  const std::string path = dir / "pnb.dat";
  ASSERT_EQ(path[1], ':');
  WriteFile(path, "old, longer content\r\n");
  WriteFileAtomically(path, "PartNum|CustPartNum\r\nA|A-\r\n");
  EXPECT_EQ(ReadFile(path), "PartNum|CustPartNum\r\nA|A-\r\n");  // CR LF exactly once
  EXPECT_TRUE(FileExists(dir / "PNB.DAT"));                      // letter case aside
}

TEST(WindowsFileTest, AReplaceWaitsForAReaderAndNeverLeavesHalfAFile) {
  TempDir dir;
  const std::string path = dir / "AntFlanges.dat";
  WriteFile(path, "Antenna|Flange\r\n");
  {
    // Another program holds the file open for a moment: the replace waits for it.
    auto reader = std::make_unique<TLineReader>(path);
    std::thread release([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      reader.reset();
    });
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(path, "Antenna|Flange\r\nA|B\r\n"); }), "");
    release.join();
  }
  EXPECT_EQ(ReadFile(path), "Antenna|Flange\r\nA|B\r\n");

  // A read-only target: Wine replaces it as Linux does; Windows itself may
  // refuse. Either way the file is whole, old or new, and the error says so.
  ::SetFileAttributesW(native::Wide(path).c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string error = ErrorOf([&] { WriteFileAtomically(path, "new"); });
  ::SetFileAttributesW(native::Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  if (error.empty()) {
    EXPECT_EQ(ReadFile(path), "new");
  } else {
    EXPECT_EQ(error.rfind("Cannot replace file", 0), 0u) << error;
    EXPECT_EQ(ReadFile(path), "Antenna|Flange\r\nA|B\r\n");
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(native::Path(dir.Path())), {}), 1);

  // A reader that does not let go: the write tries for a second (21 times)
  // and gives up, and the old file stays whole.
  const HANDLE held = ::CreateFileW(native::Wide(path).c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  {
    CountedMoves moves;
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(path, "late"); }).rfind("Cannot replace file", 0),
              0u);
    EXPECT_EQ(CountedMoves::Calls(), 21);
  }
  ::CloseHandle(held);
  EXPECT_NE(ReadFile(path), "late");
  // A name Windows refuses is no reader to wait for: it is tried once.
  {
    CountedMoves moves;
    EXPECT_EQ(
        ErrorOf([&] { WriteFileAtomically(dir / "a?b.dat", "x"); }).rfind("Cannot replace", 0), 0u);
    EXPECT_EQ(CountedMoves::Calls(), 1);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(native::Path(dir.Path())), {}), 1);
}

TEST(WindowsFileTest, ACreateRetriesOnlyANameTakenAndSaysWhyItFailed) {
  TempDir dir;
  const std::string path = dir / "pnb.dat";
  WriteFile(path, "old");
  {
    FailedCreates taken(ERROR_FILE_EXISTS, 3);
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(path, "new"); }), "");
  }
  EXPECT_EQ(ReadFile(path), "new");
  {
    FailedCreates taken(ERROR_FILE_EXISTS, 100);  // as many as it tries
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(path, "newer"); }),
              CannotCreate(path, ERROR_FILE_EXISTS));
  }
  {
    FailedCreates denied(ERROR_ACCESS_DENIED, 1);
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(path, "newer"); }),
              CannotCreate(path, ERROR_ACCESS_DENIED));
  }
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(native::Path(dir.Path())), {}), 1);
  // A folder that is not there is named; so is a file in the way.
  EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(dir / "gone/pnb.dat", "x"); }),
            "Cannot create file \"" + (dir / "gone/pnb.dat") + "\". The folder \"" +
                (dir / "gone") + "\" does not exist.");
  EXPECT_EQ(
      ErrorOf([&] { WriteFileAtomically(dir / "pnb.dat/x.dat", "x"); }),
      "Cannot create file \"" + (dir / "pnb.dat/x.dat") + "\". \"" + path + "\" is not a folder.");
}

TEST(WindowsFileTest, OpeningTellsAHeldFileFromAMissingOne) {
  TempDir dir;
  const std::string path = dir / "MWFreq.dat";
  WriteFile(path, "Freq\r\n");
  const HANDLE held = ::CreateFileW(native::Wide(path).c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ErrorOf([&] { TLineReader reader(path); }),
            "Cannot open file \"" + path + "\". " + std::strerror(EBUSY));
  ::CloseHandle(held);
  EXPECT_EQ(ErrorOf([&] { TLineReader reader(dir / "gone.dat"); }),
            "Cannot open file \"" + (dir / "gone.dat") + "\". " + std::strerror(ENOENT));
  // Windows opens no folder as a file.
  const int fd = native::OpenForReading(dir.Path());
  const int error = errno;
  EXPECT_EQ(fd, -1);
  EXPECT_EQ(error, EACCES);
}

TEST(WindowsFileTest, RewritesInPlaceOnlyAFileWithOneName) {
  TempDir dir;
  const std::string path = dir / "kav_pnb.lom";
  WriteFile(path, "old text");
  EXPECT_TRUE(RewriteInPlace(path, "a longer new text"));
  EXPECT_EQ(ReadFile(path), "a longer new text");
  EXPECT_TRUE(RewriteInPlace(path, "short"));
  EXPECT_EQ(ReadFile(path), "short");
  // A second name, a folder or nothing: left for a whole replacement.
  ASSERT_TRUE(::CreateHardLinkW(native::Wide(dir / "other.lom").c_str(), native::Wide(path).c_str(),
                                nullptr));
  EXPECT_FALSE(RewriteInPlace(path, "through the other name"));
  EXPECT_EQ(ReadFile(dir / "other.lom"), "short");
  EXPECT_FALSE(RewriteInPlace(dir.Path(), "x"));
  EXPECT_FALSE(RewriteInPlace(dir / "gone.lom", "x"));
  EXPECT_FALSE(std::filesystem::exists(native::Path(dir / "gone.lom")));
}

TEST(WindowsFileTest, AProgramFolderNoNameCanBeCreatedInIsLeftForTheUsersFolder) {
  TempDir program, state;
  const std::wstring saved = ::_wgetenv(L"LOCALAPPDATA") ? ::_wgetenv(L"LOCALAPPDATA") : L"";
  ::_wputenv((L"LOCALAPPDATA=" + native::Wide(Native(state / "local"))).c_str());
  const std::string original = ProgramFolder();
  SetProgramFolder(program.Path());
  const std::string users = Native(state / "local/kav-pnb/");
  {
    FailedCreates taken(ERROR_FILE_EXISTS, 3);  // a killed copy's probes
    EXPECT_EQ(WorkingFolder(), Native(program.Path()));
  }
  {
    FailedCreates taken(ERROR_FILE_EXISTS, 100);
    EXPECT_EQ(WorkingFolder(), users);
  }
  {
    FailedCreates denied(ERROR_ACCESS_DENIED, 1);
    EXPECT_EQ(WorkingFolder(), users);
    EXPECT_EQ(FailedCreates::Left(), 0);
  }
  SetProgramFolder(original);
  ::_wputenv((L"LOCALAPPDATA=" + saved).c_str());
}

TEST(WindowsFileTest, EightBitNamesAreWindows1252) {
  TempDir dir;
  const std::string path = dir / "caf\xE9 \x80.dat";
  WriteFileAtomically(path, "x");
  EXPECT_TRUE(FileExists(path));
  const std::filesystem::path onDisk =
      *std::filesystem::directory_iterator(native::Path(dir.Path()));
  EXPECT_EQ(onDisk.filename().wstring(), L"caf\u00E9 \u20AC.dat");
  TLineReader reader(path);
  std::string_view line;
  ASSERT_TRUE(reader.Next(line));
  EXPECT_EQ(line, "x");
}

}  // namespace
