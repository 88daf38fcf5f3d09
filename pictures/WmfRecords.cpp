#include "pictures/WmfRecords.h"

#include <cstdint>

#include "platform/Error.h"

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

[[noreturn]] void Invalid() {
  throw EKavError("Metafile is not valid");
}

}  // namespace

std::optional<TWmfFrame> CheckWmfRecords(std::string_view bytes) {
  size_t at = 0;
  std::optional<TWmfFrame> frame;
  if (bytes.size() >= 22 && Unsigned(bytes, 0, 4) == 0x9AC6CDD7u) {
    const TWmfFrame placeable{Signed16(bytes, 6), Signed16(bytes, 8), Signed16(bytes, 10),
                              Signed16(bytes, 12), int(Unsigned(bytes, 14, 2))};
    if (placeable.right > placeable.left && placeable.bottom > placeable.top &&
        placeable.unitsPerInch > 0)
      frame = placeable;
    at = 22;
  }
  if (bytes.size() - at < 18) Invalid();
  const uint32_t type = Unsigned(bytes, at, 2);
  if ((type != 1 && type != 2) || Unsigned(bytes, at + 2, 2) != 9) Invalid();
  at += 18;
  // libwmf trusts the record sizes; a chain that leaves the file is refused
  // before it gets there.
  while (bytes.size() - at >= 6) {
    const uint64_t size = uint64_t(Unsigned(bytes, at, 4)) * 2;
    if (size < 6 || size > bytes.size() - at) break;
    if (Unsigned(bytes, at + 4, 2) == 0) return frame;  // end of file
    at += size;
  }
  Invalid();
}
