// Damaged metafiles fail with one message, whatever the damage; the records
// the demo pictures do not use reach the canvas as they should.
#include <gtest/gtest.h>

#include <cstring>

#include "EmfWriter.h"
#include "RecordingCanvas.h"
#include "TestSupport.h"
#include "pictures/ClippedCanvas.h"
#include "pictures/EmfReader.h"
#include "pictures/PaintCost.h"

namespace {

// What the canvas gets of `emf` played at width x height.
std::vector<std::string> Calls(const std::string& emf, int width, int height) {
  TRecordingCanvas canvas;
  PlayEmf(emf, width, height, canvas);
  return canvas.calls;
}

std::string Played(const std::string& bytes) {
  return ErrorOf([&] {
    EmfNaturalSize(bytes);
    Calls(bytes, 64, 64);
  });
}

uint32_t WordAt(const std::string& emf, size_t at) {
  uint32_t word;
  std::memcpy(&word, emf.data() + at, 4);
  return word;
}

// The byte offset of record `index` (0 is the header).
size_t RecordAt(const std::string& emf, int index) {
  size_t at = 0;
  while (index-- > 0)
    at += WordAt(emf, at + 4);
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
  const size_t dibHeader = bitmap + WordAt(good, bitmap + offsetof(U_EMRSTRETCHDIBITS, offBmiSrc));
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
  // The size is the header's alone, if it holds its fixed fields.
  const std::string fixed = With(good, 4, U_SIZE_EMRHEADER_MIN).substr(0, U_SIZE_EMRHEADER_MIN);
  for (const std::string& header : {good.substr(0, RecordAt(good, 1)), fixed})
    EXPECT_EQ(ErrorOf([&] { EmfNaturalSize(header); }), "");
  EXPECT_EQ(ErrorOf([&] { EmfNaturalSize(With(good, 4, U_SIZE_EMRHEADER_MIN - 4)); }),
            "Metafile is not valid");

  // Whole records, but more work than a picture may cost: 20,000 ellipses
  // that each fill the picture.
  TEmfWriter costly(20, 20);
  for (int i = 0; i < 20000; ++i)
    costly.Add(U_EMRELLIPSE_set(U_RECTL{0, 0, 19, 19}));
  EXPECT_EQ(Played(costly.Finish()), "Metafile is not valid");
  // What the painter is charged: a ring the same from any corner, a bitmap wholly off the
  // output its pixels alone, on whichever side.
  const TPaintCost cost(100, 100);
  TPaintCost outlined(100, 100), none(100, 100), wide(100, 100);
  outlined.SetFilled(false);  // a shape is filled until told otherwise
  none.SetPen(0);
  wide.SetPen(2);
  EXPECT_GT(cost.Shape({0, 0, 50, 50}), outlined.Shape({0, 0, 50, 50}));
  EXPECT_EQ(cost.Polygons({{{0, 0}, {30, 0}, {30, 40}}}),
            cost.Polygons({{{30, 0}, {30, 40}, {0, 0}}}));
  EXPECT_EQ(cost.Bitmap({-20, 0, -10, 50}, 2, 2), cost.Bitmap({-20, -60, -10, -50}, 2, 2));
  // Exact charges, worked out from the rates: a line by where a thin pen (1.5 px beyond the
  // output at most) or a wide one reaches, a shape off the output or touching its edge by its
  // set-ups alone.
  const std::vector<TEmfPoint> corner{{0, 0}, {10, 0}, {10, 10}};
  EXPECT_EQ(
      (std::vector<uint64_t>{cost.Line(corner), none.Line(corner), wide.Line(corner),
                             cost.Line({{-30.5, 50}, {97.5, 50}}),
                             cost.Line({{0, -1.5}, {10, -1.5}}), cost.Shape({10, 200, 20, 210}),
                             cost.Shape({-10, 10, -0.5, 20}), cost.Shape({10, -10, 20, -0.5})}),
      (std::vector<uint64_t>{596 + 30 * 20, 596, 596 + 6000 + 250 * 20, 564 + 30 * 99,
                             564 + 30 * 10, 500 + 3000, 500 + 3000, 500 + 3000}));
}

TEST(EmfReaderTest, BlocksPolygonRunsLinesAndRestoredStateReachTheCanvas) {
  auto blt = [&](int x, int y, int w, int h, uint32_t rop) {
    return U_EMRBITBLT_set(U_RCL_DEF, point32_set(x, y), point32_set(w, h), point32_set(0, 0),
                           xform_set(1, 0, 0, 1, 0, 0), colorref3_set(0, 0, 0), U_DIB_RGB_COLORS,
                           rop, nullptr, 0, nullptr);
  };
  // A triangle, and a ring out past both sides of the cut with a corner on each: kept, cut there.
  const U_POINT16 rings[] = {{1, 0}, {4, 0}, {0, 4}, {-40, 10}, {60, 10}, {70, 14}, {-50, 14}};
  const uint32_t counts[] = {3, 4}, three[] = {3};
  const U_POINT16 lineTo[] = {{2, 2}, {3, 1}};
  const U_POINTL line[] = {{0, 0}, {1, 1}}, across[] = {{1, 1}, {2, 2}, {100, 1}};
  const U_POINTL wide[] = {{0, 0}, {4, 0}, {0, 4}};  // 32-bit points
  TEmfWriter writer(20, 20);                         // drawn at 40 x 40: every coordinate doubles
  writer.Add(U_EMRSAVEDC_set())
      .Pen(255, 0, 0, 1)
      .Add(U_EMRRESTOREDC_set(-1))  // the red pen goes with the restore
      .Add(U_EMRRESTOREDC_set(-1))  // nothing saved now: ignored
      .Add(U_EMRRECTANGLE_set(U_RECTL{1, 1, 4, 4}))
      .Add(U_EMRRECTANGLE_set(U_RECTL{5, 1, 5, 1}))  // of no size: still its outline
      .Add(blt(0, 0, 5, 5, U_BLACKNESS))
      .Add(blt(5, 5, 5, 5, U_WHITENESS))
      .Brush(0, 0, 255)
      .Add(blt(10, 10, 2, 2, U_PATCOPY))  // the brush, without an outline
      .Add(U_EMRSETPOLYFILLMODE_set(U_WINDING))
      .Add(U_EMRPOLYPOLYGON16_set(U_RCL_DEF, 2, counts, 7, rings))
      .Add(U_EMRPOLYPOLYGON_set(U_RCL_DEF, 1, three, 3, wide))
      .Add(U_EMRMOVETOEX_set(point32_set(1, 1)))
      .Add(U_EMRPOLYLINETO16_set(U_RCL_DEF, 2, lineTo))
      .Add(U_EMRLINETO_set(point32_set(4, 4)))           // on from the last point
      .Add(U_EMRPOLYLINE_set(U_RCL_DEF, 2, line))        // not from the current position
      .Add(U_EMRPOLYLINE_set(U_RCL_DEF, 3, across))      // cut in its last segment
      .Add(U_EMRELLIPSE_set(U_RECTL{-40, -40, 60, 60}))  // as large as the cut, so whole
      .Bitmap(10, -50, 0, 100, {0, 0, 0, 0})             // of no width, across the cut: nothing
      .Bitmap(0, 0, 2, 1, {0, 0, 0xFF00, 0}, 1)          // its bottom row
      .Bitmap(0, 0, 2, 1, {0xFF, 0, 0, 0}, 1, true)      // a block transfer's top row
      .Bitmap(-100, 0, 61, 1, {0, 0, 0xFF, 0xFF00}, 1)   // only its last column inside the cut
      .Bitmap(39, 39, 61, 61, {0xFF0000, 0, 0, 0})       // only its first pixel
      .Bitmap(0, 0, 2, 1, {0, 0, 0, 0}, 0)               // no source rows: nothing
      .Text(1, 1, "plain")                               // before any font is chosen
      .Brush(0, 0, 255, U_BS_HATCHED, 5)                 // the last of the hatches
      .Add(U_EMRRECTANGLE_set(U_RECTL{1, 1, 2, 2}))
      .Brush(0, 0, 255, U_BS_HATCHED, 6)  // past them: solid
      .Add(U_EMRRECTANGLE_set(U_RECTL{1, 1, 2, 2}))
      .Font("Sans", -10, true, false, true)
      .Text(1, 1, "ab");
  EXPECT_EQ(Calls(writer.Finish(), 40, 40),
            (std::vector<std::string>{
                "rect 2,2-8,8 pen 000000 brush FFFFFF",
                "rect 10,2-10,2 pen 000000 brush FFFFFF",
                "fill 0,0-10,10 000000",
                "fill 10,10-20,20 FFFFFF",
                "rect 20,20-24,24 pen none brush 0000FF",
                "polygons [ 2,0 8,0 0,8 ] [ -80,20 -80,20 120,20 120,20 120,28 -80,28 ] winding "
                "pen 000000 brush 0000FF",
                "polygons [ 0,0 8,0 0,8 ] winding pen 000000 brush 0000FF",
                "polyline 2,2 4,4 6,2 pen 000000 brush 0000FF",
                "polyline 6,2 8,8 pen 000000 brush 0000FF",
                "polyline 0,0 2,2 pen 000000 brush 0000FF",
                "polyline 2,2 4,4 120,2.81633 pen 000000 brush 0000FF",
                "ellipse -80,-80-120,120 pen 000000 brush 0000FF",
                "bitmap 0,0-4,2 2x1 00FF00 000000",
                "bitmap 0,0-4,2 2x1 0000FF 000000",
                "bitmap -139,0--78,2 1x1 00FF00",
                "bitmap 78,78-139,139 1x1 FF0000",
                "text plain at 2,2 LT 24 in ",
                "rect 2,2-4,4 pen 000000 brush 0000FF hatch 5 on FFFFFF",
                "rect 2,2-4,4 pen 000000 brush 0000FF",
                "text ab at 2,2 LT 20 in Sans italic struck out",
            }));
}

// Shapes that reach past the cut, here a 10 x 10 output widened by 20 on each side.
TEST(EmfReaderTest, CutShapesKeepTheirEndsAndWhatTouchesTheEdge) {
  TRecordingCanvas canvas;
  TWorkBudget budget;
  TClippedCanvas cut(canvas, 10, 10, budget);
  cut.DrawArc({-25, -25, 25, 25}, 0, 45, TEmfArc::Open);  // wider than the cut, its points inside
  cut.DrawBeziers({{0, 0}, {100, 0}, {0, 10}, {10, 10}, {20, 10}, {20, 20}, {10, 20}});
  cut.DrawBeziers({{0, 0}, {100, 0}});                   // not whole curves: nothing
  cut.DrawPolyline({{0, 30}, {100, 30}});                // along the cut's edge, then out
  cut.DrawPolyline({{0, 50}, {10, 50}});                 // along it, outside
  cut.DrawPolyline({{20, 40}, {40, 20}});                // touching its corner
  cut.DrawRect({100, 0, 110, 5});                        // beside it
  cut.DrawBitmap({5, -50, 5, 50}, 1, 1, {0xFF});         // of no width
  cut.DrawBitmap({-50, 5, 50, 5}, 1, 1, {0xFF});         // of no height
  cut.DrawBitmap({-100, 0, 20, 2}, 2, 2, {1, 2, 3, 4});  // its right column shown
  const std::vector<std::string>& calls = canvas.calls;
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls[0],
            "polyline 25,0 24.5196,-4.87726 23.097,-9.56709 20.7867,-13.8893 17.6777,-17.6777 "
            "pen  brush ");
  // Out past the right edge and back: two runs, the first curve's end and the second's.
  EXPECT_EQ(calls[1].substr(0, 13), "polyline 0,0 ");
  EXPECT_NE(calls[2].find(" 10,10 "), std::string::npos);
  EXPECT_EQ(calls[2].substr(calls[2].size() - 18), " 10,20 pen  brush ");
  EXPECT_EQ(std::vector<std::string>(calls.begin() + 3, calls.end()),
            (std::vector<std::string>{"polyline 0,30 30,30 pen  brush ",
                                      "polyline 30,30 30,30 pen  brush ",
                                      "bitmap -40,0-20,2 1x2 000002 000004"}));
}

// Mapping modes, saved states, arcs, curves and text as the canvas gets them, at a scale of
// 2 across and 1 down.
TEST(EmfReaderTest, MappingStatesArcsCurvesAndTextReachTheCanvas) {
  const U_POINT16 curve[] = {{0, 0}, {1, 2}, {3, 2}, {4, 0}}, curveTo[] = {{5, 5}, {6, 6}, {7, 5}};
  const U_RECTL box{0, 0, 10, 10}, unit{0, 0, 1, 1}, corners{1, 2, 3, 6};
  TEmfWriter writer(20, 20);
  writer.Add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC))
      .Add(U_EMRSETWINDOWEXTEX_set(sizel_set(10, 20)))
      .Add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(20, 10)))
      .Add(U_EMRSETWINDOWEXTEX_set(sizel_set(0, 5)))    // refused
      .Add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(5, 0)))  // refused
      .Add(U_EMRSETWINDOWORGEX_set(point32_set(1, 2)))
      .Add(U_EMRSETVIEWPORTORGEX_set(point32_set(3, 4)))
      .Add(U_EMRSETMAPMODE_set(U_MM_MAX + 1))  // no such mode: ignored
      .Add(U_EMRRECTANGLE_set(corners))        // x * 4 + 2, y / 2 + 3
      .Add(U_EMRSETMAPMODE_set(U_MM_ISOTROPIC))
      .Add(U_EMRRECTANGLE_set(corners))  // the smaller scale both ways: x + 5, y / 2 + 3
      .Add(U_EMRSETMAPMODE_set(U_MM_TEXT))
      .Add(U_EMRSETWINDOWORGEX_set(point32_set(0, 0)))
      .Add(U_EMRSETVIEWPORTORGEX_set(point32_set(0, 0)))
      .Add(U_EMRSAVEDC_set())
      .Pen(0, 0, 0, 3)
      .Add(U_EMRSAVEDC_set())
      .Pen(0, 0, 0, 5)
      .Add(U_EMRRESTOREDC_set(3))  // past the saved states: ignored
      .Add(U_EMRRECTANGLE_set(unit))
      .Add(U_EMRRESTOREDC_set(1))  // the first state saved
      .Add(U_EMRRECTANGLE_set(unit))
      .Add(U_EMRARC_set(box, point32_set(10, 5), point32_set(5, 0)))
      .Add(U_EMRCHORD_set(box, point32_set(5, 0), point32_set(5, 0)))  // a whole turn
      .Add(U_EMRPIE_set(box, point32_set(5, 10), point32_set(10, 5)))
      .Add(U_EMRARC_set(U_RECTL{0, 0, 0, 10}, point32_set(0, 0), point32_set(0, 5)))  // no width
      .Add(U_EMRARC_set(U_RECTL{0, 0, 10, 0}, point32_set(0, 0), point32_set(5, 0)))  // no height
      .Add(U_EMRPOLYBEZIER16_set(U_RCL_DEF, 4, curve))
      .Add(U_EMRMOVETOEX_set(point32_set(1, 1)))
      .Add(U_EMRPOLYBEZIERTO16_set(U_RCL_DEF, 3, curveTo))
      .Add(U_EMRPOLYGON16_set(U_RCL_DEF, 2, curve))     // two points still fill
      .Add(U_EMRPOLYLINE16_set(U_RCL_DEF, 0, nullptr))  // no points: nothing
      .Font("Sans", -10)
      .Add(U_EMRSETTEXTALIGN_set(U_TA_CENTER | U_TA_BASELINE))
      .Text(1, 1, "c")
      .Add(U_EMRSETTEXTALIGN_set(U_TA_UPDATECP | U_TA_RIGHT | U_TA_BOTTOM))
      .Text(0, 0, "r")  // at the curve's end
      .Font("Sans", 0)  // the default height
      .Text(0, 0, "z")
      .Font("Sans", 20)  // a cell height: the em is 0.85 of it
      .Text(0, 0, "p")
      .Add(U_EMRSETBKCOLOR_set(colorref3_set(0, 255, 0)))
      .Brush(0, 0, 255, U_BS_HATCHED, 2)
      .Add(U_EMRRECTANGLE_set(unit))
      .Add(U_EMRSETBKMODE_set(U_TRANSPARENT))
      .Add(U_EMRRECTANGLE_set(unit))
      .ExtPen(U_PS_GEOMETRIC, 4, U_BS_NULL)
      .Add(U_EMRRECTANGLE_set(unit));
  const std::string plain = " pen 000000 brush FFFFFF";
  EXPECT_EQ(Calls(writer.Finish(), 40, 20),
            (std::vector<std::string>{
                "rect 6,4-14,6" + plain, "rect 6,4-8,6" + plain,
                "rect 0,0-2,1 pen 000000/10 brush FFFFFF", "rect 0,0-2,1" + plain,
                "arc 0,0-20,10 -0+90 O" + plain, "arc 0,0-20,10 90+360 C" + plain,
                "arc 0,0-20,10 -90+90 P" + plain, "beziers 0,0 2,2 6,2 8,0" + plain,
                "beziers 2,1 10,5 12,6 14,5" + plain, "polygons [ 0,0 2,2 ]" + plain,
                "text c at 2,1 C_ 10 in Sans", "text r at 14,5 RB 10 in Sans",
                "text z at 14,5 RB 12 in Sans", "text p at 14,5 RB 17 in Sans",
                "rect 0,0-2,1 pen 000000 brush 0000FF hatch 2 on 00FF00",
                "rect 0,0-2,1 pen 000000 brush 0000FF hatch 2",
                "rect 0,0-2,1 pen none brush 0000FF hatch 2"}));
}

// A header that gives its device no size, in pixels or in millimetres, is
// taken for 96 dpi: metric units still reach the canvas at their size.
TEST(EmfReaderTest, MetricUnitsAre96DpiWhereTheHeaderHasNoDeviceSize) {
  const std::string emf = TEmfWriter(100, 100)
                              .Add(U_EMRSETMAPMODE_set(U_MM_LOMETRIC))
                              .Add(U_EMRRECTANGLE_set(U_RECTL{0, 0, 254, -127}))
                              .Add(U_EMRSETMAPMODE_set(U_MM_TWIPS))
                              .Add(U_EMRRECTANGLE_set(U_RECTL{0, 0, 1440, -720}))
                              .Finish();
  const size_t device = offsetof(U_EMRHEADER, szlDevice),
               mm = offsetof(U_EMRHEADER, szlMillimeters);
  for (const size_t at : {size_t{0}, device, device + 4, mm, mm + 4})
    EXPECT_EQ(Calls(at == 0 ? emf : With(emf, at, 0), 100, 100),
              std::vector<std::string>(2, "rect 0,0-96,48 pen 000000 brush FFFFFF"))
        << at;
  // A corner scales with its own axis.
  TEmfWriter rounded(20, 20);
  rounded.Add(U_EMRROUNDRECT_set(U_RECTL{0, 0, 10, 10}, U_SIZEL{4, 4}));
  EXPECT_EQ(Calls(rounded.Finish(), 40, 20),
            std::vector<std::string>{"roundrect 0,0-20,10 4,2 pen 000000 brush FFFFFF"});

  // Bounds of no height, or of no width, give way to the frame; a frame of none is no picture.
  for (const size_t side : {size_t{0}, size_t{4}}) {
    const size_t bounds = offsetof(U_EMRHEADER, rclBounds) + side;
    const std::string flat = With(emf, bounds + 8, WordAt(emf, bounds));
    const TEmfBounds natural = EmfNaturalSize(flat);
    EXPECT_EQ(std::pair(natural.width, natural.height), std::pair(100, 100)) << side;
    EXPECT_EQ(Played(With(flat, offsetof(U_EMRHEADER, rclFrame) + side + 8, 0)),
              "Metafile is not valid")
        << side;
  }
}

}  // namespace
