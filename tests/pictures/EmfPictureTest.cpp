// Metafiles drawn with QPainter: shapes, lines, bitmaps and text where the
// picture puts them, at its own size or scaled.
#include <gtest/gtest.h>

#include "EmfWriter.h"
#include "pictures/EmfPicture.h"

namespace {

std::vector<QColor> At(const QImage& image, std::initializer_list<QPoint> points) {
  std::vector<QColor> colors;
  for (const QPoint& p : points)
    colors.push_back(image.pixelColor(p));
  return colors;
}

TEST(EmfPictureTest, DrawsShapesLinesAndBitmapsAtItsOwnSize) {
  const U_POINT16 line[] = {{10, 80}, {90, 80}};
  const std::string emf = TEmfWriter(100, 100)
                              .Brush(255, 0, 0)
                              .Add(U_EMRSELECTOBJECT_set(U_NULL_PEN))
                              .Add(U_EMRRECTANGLE_set({10, 10, 50, 50}))
                              .Pen(0, 0, 255, 3)
                              .Add(U_EMRPOLYLINE16_set(U_RCL_DEF, 2, line))
                              .Bitmap(60, 10, 30, 30, {0x000000, 0xFF00FF, 0x00FF00, 0xFFFF00})
                              .Bitmap(60, 50, 30, 10, {0x000000, 0xFF00FF, 0x00FF00, 0xFFFF00}, 1)
                              .Finish();
  const QImage image = RenderEnhancedMetafile(emf, QSize());
  ASSERT_EQ(image.size(), QSize(100, 100));
  // The bitmap's top row is its last in the file; a window of one row counts from the bottom.
  EXPECT_EQ(
      At(image, {QPoint(30, 30), QPoint(55, 30), QPoint(50, 80), QPoint(50, 84), QPoint(62, 12),
                 QPoint(87, 12), QPoint(62, 37), QPoint(87, 37), QPoint(62, 55)}),
      (std::vector<QColor>{Qt::red, Qt::white, Qt::blue, Qt::white, Qt::black, Qt::magenta,
                           Qt::green, Qt::yellow, Qt::green}));
}

TEST(EmfPictureTest, MapsTheWindowOntoTheViewportAndScalesToTheSizeAsked) {
  // Logical (-500, -500)-(500, 500) fills the picture; a red square in its lower right quarter.
  const std::string emf = TEmfWriter(100, 100)
                              .Add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC))
                              .Add(U_EMRSETWINDOWORGEX_set(point32_set(-500, -500)))
                              .Add(U_EMRSETWINDOWEXTEX_set(sizel_set(1000, 1000)))
                              .Add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(100, 100)))
                              .Brush(255, 0, 0)
                              .Add(U_EMRRECTANGLE_set({0, 0, 500, 500}))
                              .Finish();
  const QImage image = RenderEnhancedMetafile(emf, QSize(200, 50));
  ASSERT_EQ(image.size(), QSize(200, 50));
  EXPECT_EQ(At(image, {QPoint(150, 37), QPoint(195, 47), QPoint(90, 37), QPoint(150, 20)}),
            (std::vector<QColor>{Qt::red, Qt::red, Qt::white, Qt::white}));
}

// "Hg", its descender included, 30 pixels high at (50, 50): below and right
// of the point by default, above and left of it aligned to the bottom right.
TEST(EmfPictureTest, DrawsTextWhereItsAlignmentPutsIt) {
  for (const auto& [align, box] : {std::pair{U_TA_DEFAULT, QRect(50, 50, 50, 40)},
                                   std::pair{U_TA_BOTTOM | U_TA_RIGHT, QRect(0, 10, 50, 40)}}) {
    TEmfWriter emf(100, 100);
    emf.Add(U_EMRSETBKMODE_set(U_TRANSPARENT)).Add(U_EMRSETTEXTALIGN_set(align)).Font("Sans", -30);
    const QImage image = RenderEnhancedMetafile(emf.Text(50, 50, "Hg").Finish(), QSize());
    int inside = 0, outside = 0;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x)
        if (image.pixelColor(x, y) != QColor(Qt::white)) ++(box.contains(x, y) ? inside : outside);
    EXPECT_GT(inside, 50) << align;
    EXPECT_EQ(outside, 0) << align;
  }
}

}  // namespace
