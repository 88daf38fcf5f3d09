// Playing a metafile of arbitrary bytes: it is drawn, or refused with the one
// message for damaged files, and every value the canvas receives is defined
// and within what a painter can take.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/CheckingCanvas.h"
#include "fuzz/FuzzSupport.h"
#include "pictures/EmfReader.h"
#include "platform/Error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const TEmfBounds natural = EmfNaturalSize(bytes);
    FUZZ_CHECK(natural.width >= 1 && natural.height >= 1);
    // Small pictures are drawn at their own size, large ones shrunk.
    const int width = std::min(natural.width, 300), height = std::min(natural.height, 300);
    fuzz::TCheckingCanvas canvas(width, height);
    PlayEmf(bytes, width, height, canvas);
  } catch (const EKavError& error) {
    FUZZ_CHECK(std::string_view(error.what()) == "Metafile is not valid");
  }
  return 0;
}
