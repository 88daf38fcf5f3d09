#include "pictures/EmfPicture.h"

#include "pictures/EmfReader.h"
#include "pictures/QtCanvas.h"

QImage RenderEnhancedMetafile(const std::string& bytes, QSize size) {
  return RenderMetafile(
      size, [&] { return EmfNaturalSize(bytes); },
      [&](int width, int height, TEmfCanvas& canvas) { PlayEmf(bytes, width, height, canvas); });
}
