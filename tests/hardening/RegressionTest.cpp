// Faults the fuzz targets found, kept as plain tests so that the ordinary
// test run guards them too. Each one's input also stays in the fuzz corpus.
#include <gtest/gtest.h>

#include "FakeUi.h"
#include "TestSupport.h"
#include "pictures/PictureChooser.h"
#include "platform/Error.h"
#include "platform/ProgramFolder.h"

namespace {

// corpus/fuzz_picture_index/regression-short-line-before-match: every filter
// is tried on every line read, so an index line with fewer cells than there
// are filters fails the load even when its first cell already differs.
TEST(PictureIndexRegression, ShortLineFailsEvenWhenAnEarlierCellDiffers) {
  TempDir dir;
  SetProgramFolder(dir.Path());
  WriteFile(dir / "data/flng_img.dat", "x\r\nPDR70|a.gif\r\n");
  WriteFile(dir / "Images/a.gif", "GIF89a");
  TPictureChooser loader;
  loader.ImageDataFile = "flng_img.dat";
  loader.ImageDataPath = "data\\";
  loader.ImagePath = "Images/";
  loader.ImageIndex = 1;
  loader.Filters.SetValue("Flange", "PDR70");
  const TPictureChooser::TChoice choice =
      loader.ChoosePicture();  // one filter: line 1 just differs
  EXPECT_EQ(std::pair(choice.path, choice.found), std::pair(dir / "Images/a.gif", true));

  loader.Filters.SetValue("Picture", "a.gif");
  FakePictureBox box;
  box.picture = "kept";
  loader.AssignedImage = &box;
  EXPECT_EQ(ErrorOf([&] { loader.LoadImage(); }), "List index out of bounds (1)");
  EXPECT_EQ(box.picture, "kept");
}

}  // namespace
