// Catalogue names written with "\" and in any letter case reach real files.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "platform/PathResolver.h"
#include "platform/ProgramFolder.h"

namespace {

TEST(PathResolverTest, ResolvesSeparatorsAndLetterCase) {
  TempDir dir;
  WriteFile(dir / "Images/ant.GIF", "x");
  EXPECT_EQ(ResolvePath(dir.Path() + "images\\ant.gif"),
            Shown(dir / "Images/ant.GIF", dir / "images/ant.gif"));
  EXPECT_EQ(ResolvePath(dir.Path() + "IMAGES/Ant.Gif"),
            Shown(dir / "Images/ant.GIF", dir / "IMAGES/Ant.Gif"));
  EXPECT_EQ(ResolvePath(dir.Path() + "Images/"), Native(dir / "Images/"));
  EXPECT_TRUE(FileExists(dir.Path() + "imaGes\\ANT.gif"));
  EXPECT_FALSE(FileExists(dir.Path() + "images"));  // a folder is no file
#ifdef _WIN32
  // A registry folder ending in "\" joined with "\" shows one; a network
  // name keeps the two it begins with.
  EXPECT_EQ(ResolvePath(dir.Path() + "Images\\\\ant.GIF"), Native(dir / "Images/ant.GIF"));
  EXPECT_EQ(ResolvePath("\\\\kav-no-host\\share\\\\x.dat"), "\\\\kav-no-host\\share\\x.dat");
#endif
}

TEST(PathResolverTest, PrefersExactNameThenFirstInByteOrder) {
#ifdef _WIN32
  GTEST_SKIP() << "three folders differing in letter case only cannot exist on Windows";
#endif
  TempDir dir;
  for (const char* name : {"data/b.dat", "Data/B.dat", "DATA/b.dat"})
    WriteFile(dir / name, name);
  EXPECT_EQ(ResolvePath(dir.Path() + "data\\new.dat"), dir / "data/new.dat");  // a folder as named
  // "DATA" sorts before "Data" and "data".
  EXPECT_EQ(ResolvePath(dir.Path() + "dAtA\\b.dat"), dir / "DATA/b.dat");
  // "\" separates folders, even where one file's own name holds it.
  WriteFile(dir / "data\\c.dat", "one name");
  EXPECT_FALSE(FileExists(dir.Path() + "data\\c.dat"));
}

TEST(PathResolverTest, UnresolvedNamesKeepTheirSpellingWithSlashes) {
  TempDir dir;
  WriteFile(dir / "Data/x", "");
  EXPECT_EQ(ResolvePath(dir.Path() + "data\\Missing\\MWAnts.dat"),
            Shown(dir / "Data/Missing/MWAnts.dat", dir / "data/Missing/MWAnts.dat"));
  EXPECT_EQ(ResolvePath("\\MWAnts.dat"), Native("/MWAnts.dat"));
  EXPECT_EQ(ResolvePath("C:\\Program Files\\x.dat"), Native("C:/Program Files/x.dat"));
  EXPECT_FALSE(StaysInFolder("c:"));  // a drive letter leads out of any folder
  EXPECT_EQ(FileExtension("README"), "");
  // A relative name has no root, whatever its first letters: "abc" is not
  // "C" in a folder "ab".
  WriteFile(dir / "ab/C", "");
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(Native(dir.Path()));
  const std::string relative = ResolvePath("abc");
  std::filesystem::current_path(before);
  EXPECT_EQ(relative, "abc");
}

TEST(PathResolverTest, ProgramFolderEndsWithASeparator) {
  const std::string original = ProgramFolder();
  EXPECT_EQ(original.back(), Native("/")[0]);
  SetProgramFolder("/tmp/somewhere");
  EXPECT_EQ(ProgramFolder(), Native("/tmp/somewhere/"));
  SetProgramFolder(original);
}

}  // namespace
