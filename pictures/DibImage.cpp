#include "pictures/DibImage.h"

#include <uemf.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "pictures/MetafileCommon.h"

TDibPixels DecodeDib(std::string_view info, std::string_view rows, bool rgbColors,
                     TDibWindow window) {
  if (info.size() < sizeof(U_BITMAPINFOHEADER)) InvalidMetafile();
  U_BITMAPINFOHEADER bi;
  std::memcpy(&bi, info.data(), sizeof bi);
  if (bi.biSize < sizeof bi || bi.biSize > info.size() || bi.biWidth <= 0 || bi.biHeight == 0)
    InvalidMetafile();
  const int64_t width = bi.biWidth, height = std::abs(int64_t{bi.biHeight});
  const uint32_t bits = bi.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return {};
  if (bi.biCompression != U_BI_RGB || !rgbColors) return {};
  const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
  if (stride * uint64_t(height) > rows.size()) InvalidMetafile();
  std::vector<uint32_t> palette;
  if (bits <= 8) {
    const uint32_t colors = bi.biClrUsed == 0 ? 1u << bits : std::min(bi.biClrUsed, 1u << bits);
    if (colors > (info.size() - bi.biSize) / 4) InvalidMetafile();
    for (uint32_t i = 0; i < colors; ++i) {
      U_RGBQUAD quad;
      std::memcpy(&quad, info.data() + bi.biSize + 4 * i, sizeof quad);
      palette.push_back(0xFF000000u | quad.Red << 16 | quad.Green << 8 | quad.Blue);
    }
  }
  int64_t sy = window.y;
  if (window.rowsFromBottom && bi.biHeight > 0) sy = height - window.y - window.height;
  const int64_t x0 = std::clamp<int64_t>(window.x, 0, width),
                x1 = std::clamp<int64_t>(window.x + window.width, 0, width);
  const int64_t y0 = std::clamp<int64_t>(sy, 0, height),
                y1 = std::clamp<int64_t>(sy + window.height, 0, height);
  if (x1 <= x0 || y1 <= y0 || uint64_t(x1 - x0) * uint64_t(y1 - y0) > kMaxBitmapPixels) return {};
  TDibPixels out{int(x1 - x0), int(y1 - y0), {}};
  out.argb.reserve(size_t(out.width) * size_t(out.height));
  for (int64_t y = y0; y < y1; ++y) {
    const auto* row = reinterpret_cast<const uint8_t*>(rows.data()) +
                      stride * uint64_t(bi.biHeight > 0 ? height - 1 - y : y);
    for (int64_t x = x0; x < x1; ++x) {
      uint32_t argb = 0xFF000000u;
      if (bits <= 8) {
        const uint32_t index =
            (row[x * bits / 8] >> (8 - bits - x * bits % 8)) & ((1u << bits) - 1);
        if (index < palette.size()) argb = palette[index];
      } else if (bits == 16) {  // 5-5-5
        const uint32_t v = row[x * 2] | row[x * 2 + 1] << 8;
        argb |= ((v >> 10) & 31) * 255 / 31 << 16 | ((v >> 5) & 31) * 255 / 31 << 8 |
                (v & 31) * 255 / 31;
      } else {
        const uint8_t* p = row + x * (bits / 8);
        argb |= uint32_t(p[2]) << 16 | p[1] << 8 | p[0];
      }
      out.argb.push_back(argb);
    }
  }
  return out;
}
