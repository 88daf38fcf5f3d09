// Pictures decode with Qt's readers; broken ones give the decoders' texts.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/QtPictureBox.h"
#include "pictures/PictureDecoder.h"
#include "platform/Error.h"

namespace {

std::string ErrorOf(const std::string& path) {
  try {
    DecodePicture(path);
  } catch (const EKavError& e) {
    return e.what();
  }
  return "";
}

std::string DemoPicture(const std::string& name) {
  return std::string(KAV_SOURCE_DIR) + "/demo/Images/" + name;
}

TEST(PictureDecoderTest, DecodesTheDemoPicturesAndBitmaps) {
  const QImage antenna = DecodePicture(DemoPicture("osd_4ft.gif"));
  EXPECT_EQ(antenna.size(), QSize(100, 100));
  TempDir dir;
  QImage square(8, 6, QImage::Format_RGB32);
  square.fill(Qt::red);
  ASSERT_TRUE(square.save(QString::fromStdString(dir / "x.BMP"), "BMP"));
  EXPECT_EQ(DecodePicture(dir / "x.BMP").size(), QSize(8, 6));
}

TEST(PictureDecoderTest, BrokenPicturesGiveTheDecodersTexts) {
  TempDir dir;
  WriteFile(dir / "old.gif", "GIF88a....");
  EXPECT_EQ(ErrorOf(dir / "old.gif"), "Unknown GIF version");
  std::string gif = ReadFile(DemoPicture("osd_4ft.gif"));
  WriteFile(dir / "cut.gif", gif.substr(0, 20));
  EXPECT_EQ(ErrorOf(dir / "cut.gif"), "GIF encoded data is corrupt");
  WriteFile(dir / "bad.bmp", "BM not really");
  EXPECT_EQ(ErrorOf(dir / "bad.bmp"), "Bitmap image is not valid");
  WriteFile(dir / "bad.ico", "nope");
  EXPECT_EQ(ErrorOf(dir / "bad.ico"), "Icon image is not valid");
  WriteFile(dir / "a.wmf", "x");
  EXPECT_NE(ErrorOf(dir / "a.wmf").find(dir / "a.wmf"), std::string::npos);
  EXPECT_EQ(ErrorOf(dir / "a.png"), "Unknown picture file extension (.png)");
}

TEST(PictureDecoderTest, PictureBoxKeepsItsPictureWhenALoadFails) {
  TQtPictureBox box;
  box.SetSize(121, 120);
  box.LoadPicture(DemoPicture("osd_4ft.gif"));
  EXPECT_TRUE(box.HasPicture());
  EXPECT_EQ(box.size(), QSize(121, 120));
  TempDir dir;
  WriteFile(dir / "bad.gif", "GIF89a");
  EXPECT_THROW(box.LoadPicture(dir / "bad.gif"), EKavError);
  EXPECT_TRUE(box.HasPicture());
  box.ClearPicture();
  EXPECT_FALSE(box.HasPicture());
  EXPECT_EQ(box.size(), QSize(121, 120));
}

}  // namespace
