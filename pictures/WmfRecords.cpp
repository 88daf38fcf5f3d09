#include "pictures/WmfRecords.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "pictures/LibwmfCost.h"
#include "pictures/MetafileCommon.h"

namespace {

uint32_t Unsigned(std::string_view bytes, size_t at, size_t width) {
  uint32_t value = 0;
  for (size_t i = 0; i < width; ++i)
    value |= uint32_t(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  return value;
}

int Signed16(std::string_view bytes, size_t at) {
  return static_cast<int16_t>(Unsigned(bytes, at, 2));
}

// Where a record of `size` bytes holds a device-independent bitmap, if it
// holds one.
size_t BitmapAt(uint32_t function, uint64_t size) {
  switch (function) {
    case 0x0940:  // DIBBITBLT, without a bitmap in 24 bytes
      return size > 24 ? 22 : 0;
    case 0x0B41:  // DIBSTRETCHBLT, without one in 28
      return size > 28 ? 26 : 0;
    case 0x0F43:  // STRETCHDIB
      return size > 28 ? 28 : 0;
    case 0x0D33:  // SETDIBTODEV
      return size > 24 ? 24 : 0;
    case 0x0142:  // DIBCREATEPATTERNBRUSH
      return size > 10 ? 10 : 0;
    default:
      return 0;
  }
}

// libwmf allocates a bitmap's palette and pixels for the sizes its header
// claims before reading them: 8 GB for a few bytes of file. Bitmaps larger
// than the players draw, or with fewer palette entries or uncompressed rows
// than they claim, are refused (none); the others claim their pixels, which
// a run-length bitmap does whatever its size.
std::optional<uint64_t> BitmapPixels(std::string_view dib) {
  if (dib.size() < 4) return std::nullopt;
  const uint32_t header = Unsigned(dib, 0, 4);
  int64_t width, height;
  uint32_t bits, compression = 0;
  if (header == 12 && dib.size() >= 12) {  // the old core header
    width = Unsigned(dib, 4, 2);
    height = Unsigned(dib, 6, 2);
    bits = Unsigned(dib, 10, 2);
  } else if (header >= 40 && header <= dib.size()) {
    width = int32_t(Unsigned(dib, 4, 4));
    height = int32_t(Unsigned(dib, 8, 4));
    bits = Unsigned(dib, 14, 2);
    compression = Unsigned(dib, 16, 4);
    // Entries of two bytes at least, when they index the palette.
    if (uint64_t{Unsigned(dib, 32, 4)} * 2 > dib.size() - header) return std::nullopt;
  } else {
    return std::nullopt;
  }
  // The bit counts and compressions a bitmap may have; libwmf sizes its
  // buffers by any other as given.
  if (bits != 0 && bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return std::nullopt;
  if (compression > 5) return std::nullopt;
  height = height < 0 ? -height : height;
  const uint64_t pixels = uint64_t(width) * uint64_t(height);
  if (width <= 0 || height == 0 || pixels > kMaxBitmapPixels) return std::nullopt;
  if (compression != 0 && compression != 3) return pixels;  // run-length or embedded image
  const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
  if (stride * uint64_t(height) > dib.size() - header) return std::nullopt;
  return pixels;
}

}  // namespace

TWmfOutline CheckWmfRecords(std::string_view bytes, TWorkBudget& budget) {
  size_t at = 0;
  TWmfOutline outline;
  if (bytes.size() >= 22 && Unsigned(bytes, 0, 4) == 0x9AC6CDD7u) {
    const TWmfFrame placeable{Signed16(bytes, 6), Signed16(bytes, 8), Signed16(bytes, 10),
                              Signed16(bytes, 12), int(Unsigned(bytes, 14, 2))};
    if (placeable.right > placeable.left && placeable.bottom > placeable.top &&
        placeable.unitsPerInch > 0)
      outline.frame = placeable;
    at = 22;
  }
  if (bytes.size() - at < 18) InvalidMetafile();
  const uint32_t type = Unsigned(bytes, at, 2);
  if ((type != 1 && type != 2) || Unsigned(bytes, at + 2, 2) != 9) InvalidMetafile();
  outline.headerAt = at;
  at += 18;
  // libwmf trusts the record sizes; a chain that leaves the file is refused
  // before it gets there.
  TLibwmfCost libwmf;
  while (bytes.size() - at >= 6) {
    const uint64_t size = uint64_t(Unsigned(bytes, at, 4)) * 2;
    if (size < 6 || size > bytes.size() - at) break;
    outline.largestRecord = std::max(outline.largestRecord, uint32_t(size / 2));
    const uint32_t function = Unsigned(bytes, at + 4, 2);
    budget.Spend(libwmf.Of(function, bytes.substr(at + 6, size - 6)));
    if (function == 0) {  // end of file
      outline.words = uint32_t((at + size - outline.headerAt) / 2);
      return outline;
    }
    if (const size_t dib = BitmapAt(function, size); dib != 0) {
      const std::optional<uint64_t> pixels = BitmapPixels(bytes.substr(at + dib, size - dib));
      if (!pixels) InvalidMetafile();
      budget.Spend(*pixels * TWorkBudget::kDecodedPixel);  // by libwmf as it plays the record
    }
    at += size;
  }
  InvalidMetafile();
}
