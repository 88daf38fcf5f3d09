// Choosing a picture by name or through a picture-index file.
#include <gtest/gtest.h>

#include "FakeUi.h"
#include "TestSupport.h"
#include "pictures/PictureChooser.h"
#include "platform/ProgramFolder.h"

namespace {

class PictureChooserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramFolder(dir.Path());
    loader.AssignedImage = &box;
    loader.ImagePath = "images\\";
    loader.ImageWidth = 136;
    loader.ImageHeight = 96;
    WriteFile(dir / "Images/a.gif", "GIF89a");
    WriteFile(dir / "Images/b.GIF", "GIF89a");
    WriteFile(dir / "Images/c.png", "png");
  }
  void Index(const std::string& text) {
    WriteFile(dir / "data/idx.dat", text);
    loader.ImageDataFile = "idx.dat";
    loader.ImageDataPath = "data\\";
  }
  std::string Loaded() {
    loader.LoadImage();
    return box.picture;
  }

  TempDir dir;
  FakePictureBox box;
  TPictureChooser loader;
};

TEST_F(PictureChooserTest, DirectNameShowsOrEmpties) {
  loader.ImageFile = "A.gif";
  loader.LoadImage();
  EXPECT_EQ(std::pair(box.picture, box.width),
            std::pair(Shown(dir / "Images/a.gif", dir / "Images/A.gif"), 136));
  box.width = 1;
  loader.ImageFile = ".gif";  // an empty graphic name
  loader.LoadImage();
  EXPECT_EQ(std::pair(box.picture, box.width), std::pair(std::string(), 1));  // size left alone
}

TEST_F(PictureChooserTest, IndexLinesMatchByFilterPositionFirstLineWins) {
  Index("PDR70 | a.gif\nPDR70|b.GIF\nUDR|missing.gif\nx|y|z\n");
  loader.ImageIndex = 1;
  loader.Filters.SetValue("Flange", "PDR70");
  EXPECT_EQ(Loaded(), Native(dir / "Images/a.gif"));
  loader.Filters.SetValue("Flange", "pdr70");  // exact comparison
  EXPECT_EQ(Loaded(), "");
  loader.ImageFile = "a.gif";  // an index file with no matching line empties the box anyway
  loader.Filters.SetValue("Flange", "UDR");
  box.picture = "old";
  EXPECT_EQ(Loaded(), "");
  // Two filters: the second tests the second cell, whatever its name.
  loader.Filters.Clear();
  loader.Filters.SetValue("Anything", "x");
  loader.Filters.SetValue("Other", "y");
  loader.ImageIndex = 2;
  EXPECT_EQ(Loaded(), "");  // z does not exist
  loader.Filters.Clear();
  loader.ImageIndex = 1;
  EXPECT_EQ(Loaded(), Native(dir / "Images/a.gif"));  // no filters: the first line matches
}

TEST_F(PictureChooserTest, ANameLeadingOutOfThePictureFolderIsAMissingPicture) {
  WriteFile(dir / "outside.gif", "GIF89a");
  WriteFile(dir / "Images/sub/in.gif", "GIF89a");
  loader.ImageFile = "sub/in.gif";  // a sub-folder stays inside
  EXPECT_EQ(Loaded(), Native(dir / "Images/sub/in.gif"));
  for (const std::string& name : std::vector<std::string>{
           "../outside.gif", "sub\\..\\..\\outside.gif", dir / "outside.gif", "/sub/in.gif"}) {
    loader.ImageFile = name;
    EXPECT_EQ(Loaded(), "") << name;
  }
  Index("PDR70|../outside.gif\n");  // the same through the index file
  loader.ImageIndex = 1;
  box.picture = "old";
  EXPECT_EQ(Loaded(), "");
}

TEST_F(PictureChooserTest, FailuresKeepThePicture) {
  Index("only-one-cell\n");
  loader.Filters.SetValue("F", "only-one-cell");
  loader.ImageIndex = 1;
  box.picture = "kept";
  EXPECT_EQ(ErrorOf([&] { loader.LoadImage(); }), "List index out of bounds (1)");
  EXPECT_EQ(box.picture, "kept");

  loader.ImageDataFile.clear();
  loader.ImageFile = "c.png";
  EXPECT_EQ(ErrorOf([&] { loader.LoadImage(); }), "Unknown picture file extension (.png)");
  loader.ImageFile = "b.GIF";
  box.failWith = "GIF encoded data is corrupt";
  EXPECT_EQ(ErrorOf([&] { loader.LoadImage(); }), "GIF encoded data is corrupt");
  EXPECT_EQ(box.picture, "kept");
}

TEST_F(PictureChooserTest, WithoutAControlNothingIsShown) {
  loader.AssignedImage = nullptr;
  loader.ImageFile = "c.png";
  EXPECT_EQ(ErrorOf([&] { loader.LoadImage(); }), "");  // the unknown extension is never looked at
  EXPECT_TRUE(loader.ChoosePicture().found);
}

}  // namespace
