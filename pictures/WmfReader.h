#pragma once
// Plays a Windows metafile (WMF) held in memory onto the metafile canvas:
// libwmf reads the records and keeps the drawing state, and a device layer of
// ours maps its device coordinates to output pixels and passes each shape on
// cut to the output, as the enhanced metafiles are. No Qt. A damaged file
// fails with EKavError "Metafile is not valid", and so does one that costs
// more work than its budget allows.
#include <string_view>

#include "pictures/EmfCanvas.h"
#include "pictures/WorkBudget.h"

// The picture's own size in pixels at 96 dots per inch: its placeable frame,
// or without one the extent of what it draws.
TEmfBounds WmfNaturalSize(std::string_view bytes);

// Draws the placeable frame (or without one, what the picture draws)
// stretched onto outWidth x outHeight pixels, charging the work to `budget`
// (a picture's own budget when none is given).
void PlayWmf(std::string_view bytes, int outWidth, int outHeight, TEmfCanvas& canvas,
             TWorkBudget& budget);
void PlayWmf(std::string_view bytes, int outWidth, int outHeight, TEmfCanvas& canvas);
