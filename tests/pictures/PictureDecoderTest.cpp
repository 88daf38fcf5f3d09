// Pictures decode with Qt's readers; broken ones give the decoders' texts.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/QtPictureBox.h"
#include "pictures/PictureDecoder.h"
#include "platform/Error.h"
#include "platform/PathResolver.h"

namespace {

std::string ErrorOf(const std::string& path) {
  return ::ErrorOf([&] { DecodePicture(path); });
}

std::string DemoPicture(const std::string& name) {
  return std::string(KAV_SOURCE_DIR) + "/demo/Images/" + name;
}

TEST(PictureDecoderTest, DecodesTheDemoPicturesAndBitmaps) {
  EXPECT_EQ(DecodePicture(DemoPicture("osd_4ft.gif")).Raster().size(), QSize(100, 100));
  TempDir dir;
  QImage square(8, 6, QImage::Format_RGB32);
  square.fill(Qt::red);
  ASSERT_TRUE(square.save(QString::fromStdString(dir / "x.BMP"), "BMP"));
  EXPECT_EQ(DecodePicture(dir / "x.BMP").Raster().size(), QSize(8, 6));
}

// A metafile is drawn afresh at the size asked for: the flange plate, its
// black waveguide opening and its white bolt holes land where the drawing
// puts them, at the box's size and at twice that. At the size it was decoded
// for it is not played again.
TEST(PictureDecoderTest, DrawsMetafilesAtAnySize) {
  const TPicture flange = DecodePicture(DemoPicture("flg_cpr112g.wmf"), QSize(136, 96));
  EXPECT_EQ(flange.At(QSize(136, 96)).cacheKey(), flange.At(QSize(136, 96)).cacheKey());
  for (int scale : {1, 2}) {
    const QImage image = flange.At(QSize(136, 96) * scale);
    ASSERT_EQ(image.size(), QSize(136, 96) * scale);
    EXPECT_EQ(image.pixelColor(QPoint(68, 38) * scale), QColor(0, 0, 0));
    EXPECT_EQ(image.pixelColor(QPoint(30, 38) * scale), QColor(200, 170, 80));
    EXPECT_EQ(image.pixelColor(QPoint(24, 14) * scale), QColor(255, 255, 255));
  }
  // An enhanced metafile: the radome sketch's grey mast.
  const QImage radome = DecodePicture(DemoPicture("rad_hydro_small.emf")).At(QSize(121, 120));
  EXPECT_EQ(radome.pixelColor(110, 20), QColor(128, 128, 128));
}

// A name in Windows-1252 (byte E9) is opened by the very bytes the loader
// found it by, never re-read through Qt's idea of the local encoding.
TEST(PictureDecoderTest, OpensWindows1252NamesByTheirBytes) {
  TempDir dir;
  const std::string gif = dir / "lat\xE9.gif", wmf = dir / "lat\xE9.wmf";
  WriteFile(gif, ReadFile(DemoPicture("osd_4ft.gif")));
  WriteFile(wmf, ReadFile(DemoPicture("flg_cpr112g.wmf")));
  if (!FileExists(gif) || !FileExists(wmf)) GTEST_SKIP() << "the file system refuses the name";
  EXPECT_EQ(ErrorOf(wmf), "");
  EXPECT_EQ(DecodePicture(gif).Raster().size(), QSize(100, 100));
}

TEST(PictureDecoderTest, BrokenPicturesGiveTheDecodersTexts) {
  TempDir dir;
  auto errorOf = [&](const std::string& name, const std::string& contents) {
    WriteFile(dir / name, contents);
    return ErrorOf(dir / name);
  };
  EXPECT_EQ(errorOf("old.gif", "GIF88a...."), "Unknown GIF version");
  const std::string gif = ReadFile(DemoPicture("osd_4ft.gif"));
  EXPECT_EQ(errorOf("cut.gif", gif.substr(0, 20)), "GIF encoded data is corrupt");
  EXPECT_EQ(errorOf("bad.bmp", "BM not really"), "Bitmap image is not valid");
  EXPECT_EQ(errorOf("bad.ico", gif), "Icon image is not valid");  // read as what its name says
  // A metafile cut in the middle of its records, and one that is no metafile.
  const std::string wmf = ReadFile(DemoPicture("flg_cpr112g.wmf"));
  EXPECT_EQ(errorOf("cut.wmf", wmf.substr(0, 300)), "Metafile is not valid");
  EXPECT_EQ(errorOf("a.wmf", "x"), "Metafile is not valid");
  EXPECT_EQ(errorOf("a.emf", std::string(200, '\1')), "Metafile is not valid");
  EXPECT_EQ(ErrorOf(dir / "a.png"), "Unknown picture file extension (.png)");
}

TEST(PictureDecoderTest, PictureBoxKeepsItsPictureWhenALoadFails) {
  TQtPictureBox box;
  box.SetSize(121, 120);
  box.LoadPicture(DemoPicture("osd_4ft.gif"));
  EXPECT_EQ(std::pair(box.HasPicture(), box.size()), std::pair(true, QSize(121, 120)));
  TempDir dir;
  WriteFile(dir / "bad.gif", "GIF89a");
  EXPECT_THROW(box.LoadPicture(dir / "bad.gif"), EKavError);
  EXPECT_TRUE(box.HasPicture());
  box.ClearPicture();
  EXPECT_EQ(std::pair(box.HasPicture(), box.size()), std::pair(false, QSize(121, 120)));
}

}  // namespace
