#pragma once
// The header record of an enhanced metafile: where the picture lies on the
// device it was made on, and that device's resolution. No Qt.
#include <string_view>

#include "pictures/EmfCanvas.h"

struct TEmfHeader {
  // The picture's rectangle on the reference device, in its pixels.
  double left = 0, top = 0, width = 1, height = 1;
  double pxPerMmX = 96 / 25.4, pxPerMmY = 96 / 25.4;
  TEmfBounds natural;
};

// Fails with EKavError "Metafile is not valid" unless `bytes` start with a
// whole header record that places the picture.
TEmfHeader ReadEmfHeader(std::string_view bytes);
