#pragma once
// What libwmf itself spends on the records of a Windows metafile, before any
// shape reaches the canvas, in the work budget's units: it measures text
// glyph by glyph, merges a region's rectangles pairwise, and grows the
// clipping region and the stack of saved states record by record, copying
// them whole. Measured with libwmf 0.2.12. No Qt, no libwmf.
#include <cstdint>
#include <string_view>

class TLibwmfCost {
 public:
  // The work of one record; `params` are its words after the function.
  uint64_t Of(uint32_t function, std::string_view params);

 private:
  uint64_t Extra(uint32_t function, std::string_view params);

  uint64_t clipChanges_ = 0;
  uint64_t savedStates_ = 0;
};
