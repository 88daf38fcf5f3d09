#pragma once
// Plays a Windows enhanced metafile held in memory onto an abstract canvas:
// the records are checked, the drawing state kept and logical coordinates
// mapped to output pixels here, so that the Qt painter (and the fuzz target)
// only draw. No Qt. A damaged file fails with EKavError "Metafile is not valid",
// and so does one that costs more work than its budget allows.
#include <string_view>

#include "pictures/EmfCanvas.h"
#include "pictures/WorkBudget.h"

// The picture's own size in pixels: the header's bounds, or its frame at
// 96 dpi when the bounds are empty.
TEmfBounds EmfNaturalSize(std::string_view bytes);

// Draws the picture scaled to outWidth x outHeight pixels, charging the
// work to `budget` (a picture's own budget when none is given).
void PlayEmf(std::string_view bytes, int outWidth, int outHeight, TEmfCanvas& canvas,
             TWorkBudget& budget);
void PlayEmf(std::string_view bytes, int outWidth, int outHeight, TEmfCanvas& canvas);
