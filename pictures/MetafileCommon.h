#pragma once
// What both metafile players share: their one error, their limits, and the
// meaning of a GDI pen's style word, the same in both formats.
#include <cstdint>

#include "pictures/EmfCanvas.h"
#include "platform/Error.h"

[[noreturn]] inline void InvalidMetafile() {
  throw EKavError("Metafile is not valid");
}

// Output coordinates are held inside this, far beyond any picture yet within
// the painter's fixed-point range.
inline constexpr double kFarPixels = 4e6;
// Larger bitmaps are not drawn (nor, in a WMF, read at all).
inline constexpr uint64_t kMaxBitmapPixels = uint64_t{1} << 24;

inline TEmfLineStyle GdiLineStyle(uint32_t style) {
  switch (style & 0x0F) {
    case 1:
      return TEmfLineStyle::Dash;
    case 2:
    case 8:  // alternate pixels
      return TEmfLineStyle::Dot;
    case 3:
      return TEmfLineStyle::DashDot;
    case 4:
      return TEmfLineStyle::DashDotDot;
    case 5:
      return TEmfLineStyle::None;
    default:  // inside frame, user styles
      return TEmfLineStyle::Solid;
  }
}

inline TEmfCap GdiCap(uint32_t style) {
  const uint32_t cap = style & 0x0F00;
  return cap == 0x0100 ? TEmfCap::Square : cap == 0x0200 ? TEmfCap::Flat : TEmfCap::Round;
}

inline TEmfJoin GdiJoin(uint32_t style) {
  const uint32_t join = style & 0xF000;
  return join == 0x1000 ? TEmfJoin::Bevel : join == 0x2000 ? TEmfJoin::Miter : TEmfJoin::Round;
}
