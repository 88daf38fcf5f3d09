// Damaged metafiles fail with one message, whatever the damage.
#include <gtest/gtest.h>

#include <cstring>

#include "EmfWriter.h"
#include "TestSupport.h"
#include "pictures/EmfReader.h"

namespace {

class TNullCanvas final : public TEmfCanvas {
 public:
  void SetPen(const TEmfPen&) override {}
  void SetBrush(const TEmfBrush&, TEmfColor, bool) override {}
  void DrawPolyline(const std::vector<TEmfPoint>&) override {}
  void DrawBeziers(const std::vector<TEmfPoint>&) override {}
  void DrawPolygons(const std::vector<std::vector<TEmfPoint>>&, bool) override {}
  void DrawRect(const TEmfRect&) override {}
  void DrawRoundRect(const TEmfRect&, double, double) override {}
  void DrawEllipse(const TEmfRect&) override {}
  void DrawArc(const TEmfRect&, double, double, TEmfArc) override {}
  void FillRect(const TEmfRect&, TEmfColor) override {}
  void DrawText(const TEmfText&) override {}
  void DrawBitmap(const TEmfRect&, int, int, const std::vector<uint32_t>&) override {}
};

std::string Played(const std::string& bytes) {
  return ErrorOf([&] {
    EmfNaturalSize(bytes);
    TNullCanvas canvas;
    PlayEmf(bytes, 64, 64, canvas);
  });
}

// The byte offset of record `index` (0 is the header).
size_t RecordAt(const std::string& emf, int index) {
  size_t at = 0;
  for (; index > 0; --index) {
    uint32_t size;
    std::memcpy(&size, emf.data() + at + 4, 4);
    at += size;
  }
  return at;
}

std::string With(std::string emf, size_t at, uint32_t value) {
  std::memcpy(&emf[at], &value, 4);
  return emf;
}

TEST(EmfReaderTest, DamagedFilesAreNotValid) {
  const U_POINT16 line[] = {{1, 1}, {9, 9}};
  const U_POINTL squares[] = {{0, 0}, {5, 0}, {5, 5}, {6, 6}, {9, 6}, {9, 9}};
  const uint32_t counts[] = {3, 3};
  TEmfWriter writer(20, 20);
  writer
      .Add(U_EMRPOLYLINE16_set(U_RCL_DEF, 2, line))                 // record 1
      .Add(U_EMRPOLYPOLYGON_set(U_RCL_DEF, 2, counts, 6, squares))  // record 2
      .Bitmap(0, 0, 10, 10, {0, 0xFF0000, 0xFF, 0xFFFFFF});         // record 3
  const std::string good = writer.Finish();
  ASSERT_EQ(Played(good), "");

  const size_t polyline = RecordAt(good, 1), polygons = RecordAt(good, 2),
               bitmap = RecordAt(good, 3);
  uint32_t offBmi;
  std::memcpy(&offBmi, good.data() + bitmap + offsetof(U_EMRSTRETCHDIBITS, offBmiSrc), 4);
  const size_t dibHeader = bitmap + offBmi;
  const std::string damaged[] = {
      good.substr(0, good.size() - 4),        // the last record cut
      good.substr(0, RecordAt(good, 4)),      // no end record
      good.substr(0, 60),                     // a header cut
      With(good, 40, 0x12345678),             // not the metafile signature
      With(good, polyline + 4, 0),            // a record of no size
      With(good, polyline + 4, 30),           // a size not in whole words
      With(good, polygons + 4, 0x7FFFFFF0),   // a record past the end
      With(good, polyline + 24, 0x40000000),  // more points than the record holds
      With(good, polygons + 32, 4),           // counts that miss the total
      With(good, dibHeader + 8, 3000),        // bitmap rows beyond its bits
      With(good, dibHeader + 4, 0x10000),     // bitmap columns beyond its bits
  };
  for (const std::string& bytes : damaged)
    EXPECT_EQ(Played(bytes), "Metafile is not valid");
}

}  // namespace
