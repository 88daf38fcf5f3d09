// What only Windows can tell: replacing an existing file, a read-only target,
// a file another handle holds open, drive-letter paths, names that ignore
// letter case and 8-bit names. Built and run in the Windows stage only.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <memory>
#include <thread>

#include "TestSupport.h"
#include "flatfile/LineReader.h"
#include "platform/NativeFile.h"
#include "platform/PathResolver.h"
#include "platform/SafeFileWrite.h"

namespace {

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
