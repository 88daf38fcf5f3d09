// Windows metafiles: damaged ones fail with one message, huge shapes in a
// tiny frame reach the canvas cut to the widened picture, and a file that
// asks for more work than a picture may is refused before it is played.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "RecordingCanvas.h"
#include "TestSupport.h"
#include "pictures/LibwmfCost.h"
#include "pictures/WmfReader.h"
#include "pictures/WorkBudget.h"

namespace {

std::string Words(std::initializer_list<int> words) {
  std::string out;
  for (const int w : words)
    out += {char(w & 0xFF), char((w >> 8) & 0xFF)};
  return out;
}

// A record of its parameter words, then `data` of whole words.
std::string Record(int function, std::initializer_list<int> words, const std::string& data = "") {
  const uint32_t size = 3 + uint32_t(words.size() + data.size() / 2);
  return Words({int(size & 0xFFFF), int(size >> 16), function}) + Words(words) + data;
}

// A placeable metafile with the frame (0, 0)-(side, side) at 1440 units an inch.
std::string Placeable(const std::string& records, int side = 1) {
  const std::string frame = Words({0xCDD7, 0x9AC6, 0, 0, 0, side, side, 1440, 0, 0});
  int checksum = 0;
  for (size_t i = 0; i < frame.size(); i += 2)
    checksum ^= uint8_t(frame[i]) | uint8_t(frame[i + 1]) << 8;
  const std::string body = records + Record(0, {});
  const uint32_t total = 9 + uint32_t(body.size() / 2);
  return frame + Words({checksum}) +
         Words({1, 9, 0x0300, int(total & 0xFFFF), int(total >> 16), 8, 200, 0, 0}) + body;
}

// Every value a shape or pen brings, how far the shapes reach, and the calls (a letter each).
class TBoundsCanvas final : public TEmfCanvas {
 public:
  double widest = 0;
  TEmfRect reach{1e300, 1e300, -1e300, -1e300};
  uint64_t bitmapPixels = 0;
  std::string calls;

  void SetPen(const TEmfPen& pen) override {
    widest = std::max(widest, pen.width);
    if (pen.cap != TEmfCap::Round || pen.join != TEmfJoin::Round) calls += 'S';  // squared
  }
  void SetBrush(const TEmfBrush&, TEmfColor, bool) override {}
  void DrawPolyline(const std::vector<TEmfPoint>& points) override { Take(points, 'l'); }
  void DrawBeziers(const std::vector<TEmfPoint>& points) override { Take(points, 'b'); }
  void DrawPolygons(const std::vector<std::vector<TEmfPoint>>& polygons, bool) override {
    for (const auto& polygon : polygons)
      Take(polygon, 'g');
  }
  void DrawRect(const TEmfRect& r) override { Take(r, 'r'); }
  void DrawRoundRect(const TEmfRect& r, double, double) override { Take(r, 'R'); }
  void DrawEllipse(const TEmfRect& r) override { Take(r, 'e'); }
  void DrawArc(const TEmfRect& r, double, double, TEmfArc k) override { Take(r, "acp"[int(k)]); }
  void FillRect(const TEmfRect& r, TEmfColor) override { Take(r, 'f'); }
  void DrawText(const TEmfText& text) override {
    calls += std::string("t") + (text.font.underline ? "u" : "") +
             (text.font.strikeOut ? "s" : "") + (text.opaque ? "o" : "");
  }
  void DrawBitmap(const TEmfRect& r, int w, int h, const std::vector<uint32_t>& pixels) override {
    Take(r, 'm');
    bitmapPixels += uint64_t(w) * uint64_t(h);
    EXPECT_EQ(pixels.size(), size_t(w) * size_t(h));  // rows of w pixels, h of them
    lastPixels = pixels;
  }
  std::vector<uint32_t> lastPixels;

 private:
  void Take(const TEmfRect& r, char call = 0) {
    if (call != 0) calls += call;
    reach = {std::min(reach.left, r.left), std::min(reach.top, r.top),
             std::max(reach.right, r.right), std::max(reach.bottom, r.bottom)};
  }
  void Take(const std::vector<TEmfPoint>& points, char call) {
    calls += call;
    for (const TEmfPoint& p : points)
      Take(TEmfRect{p.x, p.y, p.x, p.y});
  }
};

// A record stretching `dib`, a bitmap of w x h pixels, onto the frame.
std::string Stretch(int w, int h, const std::string& dib) {
  return Record(0x0F43, {0x0020, 0x00CC, 0, h, w, 0, 0, 1, 1, 0, 0}, dib);
}

// A 24-bit bitmap of w x h pixels, `colors` palette entries claimed, holding `bits`
// (one blue pixel's bytes unless given), stretched onto the frame.
std::string Bitmap(int w, int h, int colors = 0, std::initializer_list<int> bits = {0xFF, 0}) {
  return Stretch(
      w, h,
      Words({40, 0, w, 0, h, 0, 1, 24, 0, 0, 0, 0, 0, 0, 0, 0, colors, 0, 0, 0}) + Words(bits));
}

std::string Sized(const std::string& wmf) {
  return ErrorOf([&] { WmfNaturalSize(wmf); });
}

std::string Played(const std::string& wmf) {
  TBoundsCanvas canvas;
  return ErrorOf([&] { PlayWmf(wmf, 136, 96, canvas); });
}

TEST(WmfReaderTest, DamagedFilesAreNotValidAndHugeShapesAreCut) {
  const int big = 32000;
  const std::string wmf = Placeable(
      Record(0x020B, {0, 0}) + Record(0x020C, {1, 1}) +             // window (0, 0), 1 x 1
      Record(0x02FA, {0, 30000, 0, 0xFF, 0}) +                      // a pen 30000 wide
      Record(0x02FC, {0, 0xFF00, 0, 0}) + Record(0x012D, {0}) +     // a solid brush
      Record(0x012D, {1}) + Record(0x0418, {big, big, -big, -big})  // ellipse
      + Record(0x061C, {big, big, big, big, -big, -big})            // round rectangle
      + Record(0x081A, {0, big, big, 0, big, big, -big, -big})      // pie
      + Record(0x0817, {-big, 0, 0, -big, big, big, -big, -big})    // arc
      + Record(0x0325, {3, -big, -big, big, 7, -big, big})          // polyline
      + Record(0x061C, {0, 1, 1, 1, 0, 0})  // corners of no height: a rectangle
      + Record(0x0538, {2, 3, 3, 0, 0, 1, 0, 0, 1, 1, 1, 0, 1, 1, 0})   // two triangles
      + Record(0x02FB, {-12, 0, 0, 0, 400, 0x0100, 0x0001, 0, 0, 'A'})  // underlined, struck out
      + Record(0x012D, {2}) + Record(0x0521, {1, 'x', 0, 0})            // "x" in it
      + Record(0x06FF,
               {0, 6, 0, 0, 46, 2, 6, 0, 0, 3, 2, 2, 0, 1, 0, 1, 2, 2, 1, 2, 2, 3, 2})  // a region
      + Record(0x012B, {3})                    // of two rectangles, painted
      + Bitmap(1, 2, 0, {0xFF, 0, 0, 0xFF}));  // blue below red
  TBoundsCanvas canvas;
  EXPECT_EQ(Sized(wmf), "");
  EXPECT_EQ(ErrorOf([&] { PlayWmf(wmf, 136, 96, canvas); }), "");
  // Whole: a run-length bitmap of its header alone, two-byte palette entries filling its rest,
  // bitmap records one word too short to hold a bitmap (they hold none).
  std::vector<std::string> whole{
      Sized(Placeable(Stretch(1, 1, Words({40, 0, 1, 0, 1, 0, 1, 8, 1, 0}) + std::string(20, 0)))),
      Sized(Placeable(Bitmap(1, 1, 2)))};
  for (const auto& [function, words] : std::vector<std::pair<int, size_t>>{
           {0x0940, 9}, {0x0B41, 11}, {0x0F43, 11}, {0x0D33, 9}, {0x0142, 2}})
    whole.push_back(Sized(Placeable(Record(function, {}, std::string(2 * words, 0)))));
  EXPECT_EQ(whole, std::vector<std::string>(7, ""));
  std::string noWidth = Placeable(Record(0x041B, {4, 4, 1, 1}), 1440);
  noWidth[10] = noWidth[11] = 0;  // the frame's right edge at its left: no frame
  const TEmfBounds natural = WmfNaturalSize(noWidth);
  EXPECT_EQ(std::pair(natural.width, natural.height), std::pair(1, 1));
  TBoundsCanvas none;  // bitmaps of no source columns, or no rows: nothing
  const std::string dib = Bitmap(1, 1).substr(28);
  PlayWmf(Placeable(Stretch(0, 1, dib) + Stretch(1, 0, dib)), 136, 96, none);
  EXPECT_EQ(none.calls, "");
  std::string disk = wmf.substr(22);  // the same records without the placeable header, on disk
  disk[0] = 2;
  EXPECT_EQ(Played(disk), "");
  const double margin = 2 * 136, m = margin * (1 + 1e-9);
  // The filled shapes cut into polygons, the lines wholly past the cut gone.
  EXPECT_EQ(canvas.calls, "gggrggtusorrm");  // text opaque, as a new device context is
  EXPECT_EQ(canvas.lastPixels, (std::vector<uint32_t>{0xFFFF0000, 0xFF0000FF}));  // top row first
  // Drawn, out to the cut and no further.
  EXPECT_EQ(canvas.reach.right, 136 + margin);
  const TEmfRect& reach = canvas.reach;
  EXPECT_TRUE(reach.left >= -m && reach.top >= -m && reach.right <= 136 + m &&
              reach.bottom <= 96 + m && canvas.widest <= m);

  const size_t records = 22 + 18;
  const std::string damaged[] = {
      wmf.substr(0, wmf.size() - 9),                                         // cut inside a record
      wmf.substr(0, records) + Words({0, 0, 0x0418}) + wmf.substr(records),  // a record of size 0
      wmf.substr(0, records) + Words({0x7FFF, 0, 0x0418}) + wmf.substr(records),  // past the end
      wmf.substr(0, wmf.size() - 6),                                              // no end record
      Placeable(Bitmap(0, 1)),     // a bitmap of no columns
      Placeable(Bitmap(1, 0)),     // of no rows
      Placeable(Bitmap(1, 2)),     // of more rows than its bits hold
      Placeable(Bitmap(1, 1, 3)),  // of more palette entries (two bytes each) than it holds
      Placeable(Stretch(1, 1, Words({40, 0, 1, 0, 1, 0, 1, 24, 0, 0}))),  // header past its record
      // of a bit count no bitmap has, compressed by no known method: libwmf
      // sized its rows by the count, gigabytes
      Placeable(Stretch(0xFFFD, 254, Words({40, 0, 0xFFFD, 0, 254, 0, 1, 0xFFFF, 20, 0,
                                            0,  0, 0,      0, 0,   0, 0, 0,      0,  0}))),
  };
  for (const std::string& bytes : damaged)
    EXPECT_EQ((std::vector{Sized(bytes), Played(bytes)}),
              std::vector<std::string>(2, "Metafile is not valid"));
}

// Pens, brushes, fill modes, corners, arcs and fonts as the canvas gets them, at twice the
// frame's size.
TEST(WmfReaderTest, PensBrushesShapesAndFontsReachTheCanvas) {
  const std::string wmf = Placeable(
      Record(0x020B, {0, 0}) + Record(0x020C, {20, 20}) +                // window (0, 0), 20 x 20
          Record(0x02FA, {0, 3, 0, 0x00FF, 0}) + Record(0x012D, {0}) +   // a red pen 3 wide
          Record(0x02FC, {0, 0xFF00, 0, 0}) + Record(0x012D, {1}) +      // a green brush
          Record(0x041B, {4, 4, 1, 1}) +                                 // rectangle
          Record(0x061C, {2, 0, 4, 4, 1, 1}) +                           // corners of no width
          Record(0x061C, {1, 2, 4, 4, 1, 1}) +                           // round rectangle
          Record(0x0106, {2}) + Record(0x0324, {3, 0, 0, 4, 0, 0, 4}) +  // winding triangle
          Record(0x0538, {1, 3, 0, 0, 4, 0, 0, 4}) +                     // and as a set
          Record(0x0817, {2, 4, 2, 4, 4, 4, 0, 0}) +                     // an arc all round
          Record(0x02FA, {5, 1, 0, 0, 0}) + Record(0x012D, {2}) +        // no pen
          Record(0x02FC, {1, 0, 0, 0}) + Record(0x012D, {3}) +           // no brush
          Record(0x0418, {4, 4, 0, 0}) +                                 // ellipse
          Record(0x02FC, {2, 0xFF, 0, 5}) + Record(0x012D, {4}) +        // the last hatch
          Record(0x041B, {4, 4, 1, 1}) +                                 //
          Record(0x02FC, {2, 0xFF, 0, 6}) + Record(0x012D, {5}) +        // past it: solid
          Record(0x041B, {4, 4, 1, 1}) +                                 //
          Record(0x02FB, {-5, 0, 0, 0, 700, 1, 0, 0, 0, 'S' | 'a' << 8, 'n' | 's' << 8, 0}) +
          Record(0x012D, {6}) + Record(0x0521, {1, 'x', 2, 2}),  // "x" in it, on its baseline
      20);
  TRecordingCanvas canvas;
  PlayWmf(wmf, 40, 40, canvas);
  const std::string drawn = " pen FF0000/6 brush 00FF00";
  EXPECT_EQ(
      canvas.calls,
      (std::vector<std::string>{
          "rect 2,2-8,8" + drawn, "rect 2,2-8,8" + drawn, "roundrect 2,2-8,8 2,1" + drawn,
          "polygons [ 0,0 8,0 0,8 ] winding" + drawn, "polygons [ 0,0 8,0 0,8 ] winding" + drawn,
          "arc 0,0-8,8 -0+360 O" + drawn, "ellipse 0,0-8,8 pen none brush none",
          "rect 2,2-8,8 pen none brush FF0000 hatch 5 on FFFFFF",
          "rect 2,2-8,8 pen none brush FF0000", "text x at 4,14 L_ 10 in Sans italic"}));
}

// 200 run-length bitmaps of a few bytes each, every one claiming 4096 x 4096 pixels, as the fuzz
// seed regression-rle-bitmaps-claiming-4096-squared holds: once most of a minute of decoding.
// Refused by the budget, after charging the bitmaps that fit, before libwmf decodes any of them.
TEST(WmfReaderTest, BitmapsClaimingMoreThanTheBudgetAreRefusedUndecoded) {
  const int side = 4096;
  // An 8-bit run-length bitmap: its header, one colour, then 255 pixels, the
  // end of a line and the end of the bitmap.
  const std::string stretch =
      Stretch(side, side,
              Words({40, 0, side, 0, side, 0, 1, 8, 1, 0, 6, 0, 0, 0, 0, 0, 1, 0, 0, 0}) +
                  Words({0x0000, 0x00FF, 0x01FF, 0x0000, 0x0100}));
  std::string records;
  for (int i = 0; i < 200; ++i)
    records += stretch;
  const std::string wmf = Placeable(records);
  EXPECT_EQ(Sized(wmf), "Metafile is not valid");
  TBoundsCanvas canvas;
  TWorkBudget budget;
  EXPECT_EQ(ErrorOf([&] { PlayWmf(wmf, 136, 96, canvas, budget); }), "Metafile is not valid");
  EXPECT_EQ(canvas.bitmapPixels, 0u);
  // Stopped by the next bitmap's pixels, not before.
  const uint64_t oneBitmap = uint64_t{side} * side * TWorkBudget::kDecodedPixel;
  EXPECT_GT(budget.Spent() + oneBitmap, TWorkBudget::kPictureAllowance);
  EXPECT_LE(budget.Spent(), TWorkBudget::kPictureAllowance);
  TWorkBudget exact(100);
  exact.Spend(100);  // all that is left may be spent
  EXPECT_EQ(exact.Spent(), 100u);

  // What libwmf spends on a record, charged in the list's order: a set-up, then clipping by the
  // changes so far, a saved state by the states and changes it copies, text by its characters;
  // a count past the record's words is 0.
  TLibwmfCost work;
  const std::string counted = Words({0, 0, 5});  // its count one word past the record
  EXPECT_EQ(
      (std::vector<uint64_t>{work.Of(0x0415, ""), work.Of(0x0220, ""), work.Of(0x001E, ""),
                             work.Of(0x0127, ""), work.Of(0x001E, ""), work.Of(0x0521, Words({3})),
                             work.Of(0x0A32, std::string_view(counted).substr(0, 4))}),
      (std::vector<uint64_t>{128 + 4, 128 + 8, 128 + (1 + 2) * 8, 128, 128 + (1 + 2) * 8,
                             128 + 3 * 16384, 128}));
}

}  // namespace
