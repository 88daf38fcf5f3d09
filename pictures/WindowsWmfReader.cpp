// Windows metafiles on Windows: the records are checked and charged to the
// budget as everywhere, then Windows' own converter turns them into an
// enhanced metafile, which the EMF player draws onto the same canvas. So the
// Windows build needs no libwmf.
#undef NOGDI
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "pictures/EmfReader.h"
#include "pictures/MetafileCommon.h"
#include "pictures/WmfReader.h"
#include "pictures/WmfRecords.h"

namespace {

// The records from the metafile header on, as an enhanced metafile.
std::string AsEnhancedMetafile(std::string_view bytes, const TWmfOutline& outline) {
  const std::string_view records = bytes.substr(outline.headerAt);
  // Without a placeable frame Windows sizes the picture by what it draws.
  METAFILEPICT picture{MM_ANISOTROPIC, 0, 0, nullptr};
  if (outline.frame) {
    const TWmfFrame& f = *outline.frame;
    picture.xExt = static_cast<LONG>(std::lround((f.right - f.left) * 2540.0 / f.unitsPerInch));
    picture.yExt = static_cast<LONG>(std::lround((f.bottom - f.top) * 2540.0 / f.unitsPerInch));
  }
  HENHMETAFILE handle = SetWinMetaFileBits(static_cast<UINT>(records.size()),
                                           reinterpret_cast<const BYTE*>(records.data()), nullptr,
                                           outline.frame ? &picture : nullptr);
  if (handle == nullptr) InvalidMetafile();
  std::string enhanced(GetEnhMetaFileBits(handle, 0, nullptr), '\0');
  const UINT copied = GetEnhMetaFileBits(handle, static_cast<UINT>(enhanced.size()),
                                         reinterpret_cast<BYTE*>(enhanced.data()));
  DeleteEnhMetaFile(handle);
  if (copied == 0 || copied != enhanced.size() || enhanced.size() < 24) InvalidMetafile();
  // The converter bounds the picture by what it draws; a placeable frame is
  // the picture, as the player elsewhere takes it: no bounds, so the
  // frame, made from that frame, is what is shown.
  if (outline.frame) std::fill_n(enhanced.begin() + 8, 16, '\0');
  return enhanced;
}

}  // namespace

TEmfBounds WmfNaturalSize(std::string_view bytes) {
  TWorkBudget budget;
  const TWmfOutline outline = CheckWmfRecords(bytes, budget);
  if (outline.frame) {
    const TWmfFrame& f = *outline.frame;
    return {static_cast<int>(std::lround((f.right - f.left) * 96.0 / f.unitsPerInch)),
            static_cast<int>(std::lround((f.bottom - f.top) * 96.0 / f.unitsPerInch))};
  }
  return EmfNaturalSize(AsEnhancedMetafile(bytes, outline));
}

void PlayWmf(std::string_view bytes, int outWidth, int outHeight, TEmfCanvas& canvas,
             TWorkBudget& budget) {
  const TWmfOutline outline = CheckWmfRecords(bytes, budget);
  PlayEmf(AsEnhancedMetafile(bytes, outline), outWidth, outHeight, canvas, budget);
}

void PlayWmf(std::string_view bytes, int outWidth, int outHeight, TEmfCanvas& canvas) {
  TWorkBudget budget;
  PlayWmf(bytes, outWidth, outHeight, canvas, budget);
}
