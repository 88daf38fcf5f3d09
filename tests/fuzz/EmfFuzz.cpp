// Playing a metafile of arbitrary bytes: it is drawn, or refused with the one
// message for damaged files, and every value the canvas receives is defined
// and within what a painter can take.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/CheckingCanvas.h"
#include "pictures/EmfReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzz::PlayChecked(
      data, size, EmfNaturalSize,
      [](std::string_view bytes, int w, int h, TEmfCanvas& c) { PlayEmf(bytes, w, h, c); });
}
