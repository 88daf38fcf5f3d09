// Bitmaps of every depth a metafile may carry, read into top-down pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "pictures/DibImage.h"

namespace {

void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out += char(v >> (8 * i));
}

// A BITMAPINFOHEADER of a 2-pixel-wide bitmap, uncompressed, then its
// palette (0xRRGGBB entries) as the block holds it.
std::string Info(int bits, int height, uint32_t colorsUsed, const std::vector<uint32_t>& palette) {
  std::string out;
  Put32(out, 40);
  Put32(out, 2);
  Put32(out, uint32_t(height));
  out += std::string{1, 0, char(bits), 0};             // planes, bit count
  for (uint32_t v : {0u, 0u, 0u, 0u, colorsUsed, 0u})  // compression ... important colours
    Put32(out, v);
  for (uint32_t rgb : palette)
    out += std::string{char(rgb), char(rgb >> 8), char(rgb >> 16), 0};
  return out;
}

std::string Bytes(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes)
    out += char(b);
  return out;
}

TEST(DibImageTest, ReadsEveryDepthTopDownThroughItsPalette) {
  const TDibWindow whole{0, 0, 2, 2, false};
  struct Case {
    std::string info, rows;
    std::vector<uint32_t> pixels;
  };
  const Case cases[] = {
      // 1 bit, bottom-up, the whole palette implied: rows (1 0) over (0 1).
      {Info(1, 2, 0, {0x000000, 0xFFFFFF}),
       Bytes({0x40, 0, 0, 0, 0x80, 0, 0, 0}),
       {0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFFFFFFFF}},
      // 4 bits, top-down, two colours used of the three the block holds: an
      // index past them is black.
      {Info(4, -2, 2, {0xFF0000, 0x00FF00, 0x0000FF}),
       Bytes({0x21, 0, 0, 0, 0x03, 0, 0, 0}),
       {0xFF000000, 0xFF00FF00, 0xFFFF0000, 0xFF000000}},
      {Info(8, -2, 2, {0x123456, 0xABCDEF}),
       Bytes({1, 0, 0, 0, 0, 1, 0, 0}),
       {0xFFABCDEF, 0xFF123456, 0xFF123456, 0xFFABCDEF}},
      // 16 bits: five each of red, green and blue.
      {Info(16, -2, 0, {}),
       Bytes({0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x10, 0x42}),
       {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF838383}},
      {Info(32, -2, 0, {}),
       Bytes({1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0}),
       {0xFF030201, 0xFF060504, 0xFF090807, 0xFF0C0B0A}},
  };
  for (const Case& c : cases) {
    const TDibPixels out = DecodeDib(c.info, c.rows, true, whole);
    EXPECT_EQ(out.width, 2);
    EXPECT_EQ(out.height, 2);
    EXPECT_EQ(out.argb, c.pixels) << "bits " << int(c.info[14]);
  }

  // A window: cut to the bitmap, and counted from the bottom when asked.
  const Case& bits1 = cases[0];
  TDibPixels out = DecodeDib(bits1.info, bits1.rows, true, {1, 0, 5, 1, false});
  EXPECT_EQ((std::vector<int>{out.width, out.height}), (std::vector<int>{1, 1}));
  EXPECT_EQ(out.argb, (std::vector<uint32_t>{0xFF000000}));
  out = DecodeDib(bits1.info, bits1.rows, true, {0, 0, 2, 1, true});
  EXPECT_EQ(out.argb, (std::vector<uint32_t>{0xFF000000, 0xFFFFFFFF}));
  for (const TDibWindow& off : {TDibWindow{2, 0, 2, 2, false}, TDibWindow{0, 2, 2, 2, false}}) {
    out = DecodeDib(bits1.info, bits1.rows, true, off);  // wholly beside or below: nothing
    EXPECT_EQ(out.width + out.height, 0);
  }

  // Palette indices and compressed rows are not drawn; short blocks are damage.
  EXPECT_EQ(DecodeDib(bits1.info, bits1.rows, false, whole).width, 0);
  std::string compressed = cases[2].info;
  compressed[16] = 1;  // run-length
  EXPECT_EQ(DecodeDib(compressed, cases[2].rows, true, whole).width, 0);
  EXPECT_EQ(ErrorOf([&] { DecodeDib(bits1.info, bits1.rows.substr(0, 7), true, whole); }),
            "Metafile is not valid");
  EXPECT_EQ(ErrorOf([&] { DecodeDib(cases[2].info.substr(0, 44), cases[2].rows, true, whole); }),
            "Metafile is not valid");
  EXPECT_EQ(ErrorOf([&] { DecodeDib(Info(32, 0, 0, {}), cases[4].rows, true, whole); }),
            "Metafile is not valid");
  // A header shorter than its fields, one longer than its block, a bitmap of no width.
  for (const auto& [at, value] : std::vector<std::pair<size_t, char>>{{0, 39}, {0, 41}, {4, 0}}) {
    std::string info = cases[4].info;
    info[at] = value;
    EXPECT_EQ(ErrorOf([&] { DecodeDib(info, cases[4].rows, true, whole); }),
              "Metafile is not valid")
        << at;
  }
}

}  // namespace
