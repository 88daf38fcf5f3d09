#include "pictures/EmfHeader.h"

#include <uemf.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "pictures/MetafileCommon.h"

namespace {

int Saturated(double v) {
  return static_cast<int>(std::clamp(std::round(v), 1.0, 2147483647.0));
}

}  // namespace

TEmfHeader ReadEmfHeader(std::string_view bytes) {
  U_EMRHEADER h{};
  if (bytes.size() < U_SIZE_EMRHEADER_MIN) InvalidMetafile();
  std::memcpy(&h, bytes.data(), U_SIZE_EMRHEADER_MIN);
  if (h.emr.iType != U_EMR_HEADER || h.emr.nSize < U_SIZE_EMRHEADER_MIN || h.emr.nSize % 4 != 0 ||
      h.emr.nSize > bytes.size() || h.dSignature != U_ENHMETA_SIGNATURE)
    InvalidMetafile();
  TEmfHeader out;
  if (h.szlDevice.cx > 0 && h.szlDevice.cy > 0 && h.szlMillimeters.cx > 0 &&
      h.szlMillimeters.cy > 0) {
    out.pxPerMmX = double(h.szlDevice.cx) / h.szlMillimeters.cx;
    out.pxPerMmY = double(h.szlDevice.cy) / h.szlMillimeters.cy;
  }
  const U_RECTL& b = h.rclBounds;
  const U_RECTL& f = h.rclFrame;
  if (b.right > b.left && b.bottom > b.top) {
    // Bounds hold their last pixel.
    out.left = b.left;
    out.top = b.top;
    out.width = double(b.right) - b.left + 1;
    out.height = double(b.bottom) - b.top + 1;
    out.natural = {Saturated(out.width), Saturated(out.height)};
  } else if (f.right > f.left && f.bottom > f.top) {
    // The frame is in hundredths of a millimetre.
    out.left = f.left * out.pxPerMmX / 100;
    out.top = f.top * out.pxPerMmY / 100;
    out.width = (double(f.right) - f.left) * out.pxPerMmX / 100;
    out.height = (double(f.bottom) - f.top) * out.pxPerMmY / 100;
    out.natural = {Saturated((double(f.right) - f.left) * 96 / 2540),
                   Saturated((double(f.bottom) - f.top) * 96 / 2540)};
  } else {
    InvalidMetafile();
  }
  return out;
}
