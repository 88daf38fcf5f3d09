// Bitmaps of every depth a metafile may carry, read into top-down pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "TestSupport.h"
#include "pictures/DibImage.h"

namespace {

// A BITMAPINFOHEADER of a 2-pixel-wide bitmap, uncompressed, then its
// palette (0xRRGGBB entries) as the block holds it.
std::string Info(int bits, int height, uint32_t colorsUsed, const std::vector<uint32_t>& palette) {
  // Size, width, height, planes and bit count, compression ... important colours.
  std::vector<uint32_t> words{
      40, 2, uint32_t(height), 1u | uint32_t(bits) << 16, 0, 0, 0, 0, colorsUsed, 0};
  words.insert(words.end(), palette.begin(), palette.end());  // in the file B, G, R, 0
  std::string out;
  for (const uint32_t word : words)
    for (int shift = 0; shift < 32; shift += 8)
      out += char(word >> shift);
  return out;
}

std::string Bytes(std::initializer_list<int> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

std::string With(std::string block, size_t at, char value) {
  block[at] = value;
  return block;
}

using TArgb = std::vector<uint32_t>;  // top-down rows of 0xAARRGGBB

// What a decode gives, to compare whole: its width, its height and its pixels.
std::tuple<int, int, TArgb> Shown(const TDibPixels& out) {
  return {out.width, out.height, out.argb};
}

TEST(DibImageTest, ReadsEveryDepthTopDownThroughItsPalette) {
  const TDibWindow whole{0, 0, 2, 2, false};
  struct Case {
    std::string info, rows;
    TArgb pixels;
  };
  const Case cases[] = {
      // 1 bit, bottom-up, the whole palette implied: rows (1 0) over (0 1).
      {Info(1, 2, 0, {0x000000, 0xFFFFFF}), Bytes({0x40, 0, 0, 0, 0x80, 0, 0, 0}),
       TArgb{0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFFFFFFFF}},
      // 4 bits, top-down, two colours used of the three the block holds: an
      // index past them is black.
      {Info(4, -2, 2, {0xFF0000, 0x00FF00, 0x0000FF}), Bytes({0x21, 0, 0, 0, 0x03, 0, 0, 0}),
       TArgb{0xFF000000, 0xFF00FF00, 0xFFFF0000, 0xFF000000}},
      {Info(8, -2, 2, {0x123456, 0xABCDEF}), Bytes({1, 0, 0, 0, 0, 1, 0, 0}),
       TArgb{0xFFABCDEF, 0xFF123456, 0xFF123456, 0xFFABCDEF}},
      // 16 bits: five each of red, green and blue.
      {Info(16, -2, 0, {}), Bytes({0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x10, 0x42}),
       TArgb{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF838383}},
      {Info(32, -2, 0, {}), Bytes({1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0}),
       TArgb{0xFF030201, 0xFF060504, 0xFF090807, 0xFF0C0B0A}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Shown(DecodeDib(c.info, c.rows, true, whole)), Shown({2, 2, c.pixels}))
        << "bits " << int(c.info[14]);

  // A window: cut to the bitmap, and counted from the bottom when asked; wholly beside or below
  // it, nothing. Palette indices and compressed (run-length) rows are not drawn.
  const auto bits1 = [&](const TDibWindow& window, bool rgb = true) {
    return Shown(DecodeDib(cases[0].info, cases[0].rows, rgb, window));
  };
  EXPECT_EQ(
      (std::vector{bits1({1, 0, 5, 1, false}), bits1({0, 0, 2, 1, true}),
                   bits1({2, 0, 2, 2, false}), bits1({0, 2, 2, 2, false}), bits1(whole, false),
                   Shown(DecodeDib(With(cases[2].info, 16, 1), cases[2].rows, true, whole))}),
      (std::vector{Shown({1, 1, {0xFF000000}}), Shown({2, 1, {0xFF000000, 0xFFFFFFFF}}), Shown({}),
                   Shown({}), Shown({}), Shown({})}));

  // Short blocks are damage: rows, a palette, a bitmap of no height; so are a header shorter
  // than its fields, one longer than its block, a bitmap of no width.
  const std::string& info32 = cases[4].info;
  const std::pair<std::string, std::string> damaged[] = {
      {cases[0].info, cases[0].rows.substr(0, 7)}, {cases[2].info.substr(0, 44), cases[2].rows},
      {Info(32, 0, 0, {}), cases[4].rows},         {With(info32, 0, 39), cases[4].rows},
      {With(info32, 0, 41), cases[4].rows},        {With(info32, 4, 0), cases[4].rows}};
  std::vector<std::string> errors;
  for (const auto& [info, rows] : damaged)
    errors.push_back(ErrorOf([&] { DecodeDib(info, rows, true, whole); }));
  EXPECT_EQ(errors, std::vector<std::string>(std::size(damaged), "Metafile is not valid"));
}

}  // namespace
