#pragma once
// A device-independent bitmap as an enhanced metafile carries it: an info
// block (header and palette) and the rows, each within its record. No Qt.
#include <cstdint>
#include <string_view>
#include <vector>

// The part of the bitmap to draw, in its pixels; `rowsFromBottom` when y
// counts up from the last row of a bottom-up bitmap.
struct TDibWindow {
  int64_t x = 0, y = 0, width = 0, height = 0;
  bool rowsFromBottom = false;
};

struct TDibPixels {
  int width = 0, height = 0;
  std::vector<uint32_t> argb;  // top-down rows of 0xAARRGGBB
};

// The window's pixels; none (width 0) for kinds not drawn (compressed, a
// palette of indices, other depths) or a window outside the bitmap. Fails
// with EKavError "Metafile is not valid" when the blocks are shorter than
// their header says.
TDibPixels DecodeDib(std::string_view info, std::string_view rows, bool rgbColors,
                     TDibWindow window);
