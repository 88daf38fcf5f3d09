// Playing a Windows metafile of arbitrary bytes through libwmf: it is drawn,
// or refused with the one message for damaged files, and every value the
// canvas receives is defined and within what a painter can take.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/CheckingCanvas.h"
#include "pictures/WmfReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzz::PlayChecked(
      data, size, WmfNaturalSize,
      [](std::string_view bytes, int w, int h, TEmfCanvas& c) { PlayWmf(bytes, w, h, c); });
}
