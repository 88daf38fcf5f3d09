#include "pictures/WmfPicture.h"

#include "pictures/QtCanvas.h"
#include "pictures/WmfReader.h"

QImage RenderWindowsMetafile(const std::string& bytes, QSize size) {
  return RenderMetafile(
      size, [&] { return WmfNaturalSize(bytes); },
      [&](int width, int height, TEmfCanvas& canvas) { PlayWmf(bytes, width, height, canvas); });
}
