#include "pictures/LibwmfCost.h"

#include <algorithm>

namespace {

// Every record is read twice, scanning and playing, into its own state.
constexpr uint64_t kRecord = 128;
// About 12 microseconds a character: each is measured through FreeType.
constexpr uint64_t kGlyph = 16384;
// A change of the clipping region works through what the earlier ones made.
constexpr uint64_t kClipPerChange = 4;
// Saving the state copies the saved states and the clipping region.
constexpr uint64_t kSavePerState = 8;
// A region's scan merges its rectangles pairwise.
constexpr uint64_t kRegionPerPair = 128;

// Word `i` of `params`, 0 past their end.
uint64_t Word(std::string_view params, size_t i) {
  if (params.size() / 2 <= i) return 0;
  return uint64_t(static_cast<unsigned char>(params[2 * i])) |
         uint64_t(static_cast<unsigned char>(params[2 * i + 1])) << 8;
}

// A region is 11 words of header, then scans of a count, a top, a bottom,
// `count` edges and the count again.
uint64_t RegionWork(std::string_view params) {
  const size_t words = params.size() / 2;
  uint64_t work = 0;
  for (size_t at = 11; at < words;) {
    const uint64_t edges = std::min<uint64_t>(Word(params, at), words - at);
    work += (edges / 2) * (edges / 2) * kRegionPerPair;
    at += 4 + edges;
  }
  return work;
}

}  // namespace

uint64_t TLibwmfCost::Of(uint32_t function, std::string_view params) {
  return kRecord + Extra(function, params);
}

uint64_t TLibwmfCost::Extra(uint32_t function, std::string_view params) {
  switch (function) {
    case 0x0521:  // TEXTOUT: the count first
      return Word(params, 0) * kGlyph;
    case 0x0A32:  // EXTTEXTOUT: after the position
      return Word(params, 2) * kGlyph;
    case 0x0415:  // EXCLUDECLIPRECT
    case 0x0416:  // INTERSECTCLIPRECT
    case 0x0220:  // OFFSETCLIPRGN
    case 0x012C:  // SELECTCLIPREGION
      return ++clipChanges_ * kClipPerChange;
    case 0x001E:  // SAVEDC
      return (++savedStates_ + clipChanges_) * kSavePerState;
    case 0x0127:  // RESTOREDC: at least one state goes
      savedStates_ -= std::min<uint64_t>(savedStates_, 1);
      return 0;
    case 0x06FF:  // CREATEREGION
      return RegionWork(params);
    default:
      return 0;
  }
}
