#pragma once
// The rules of a picture-index file and of picture files, shared by the
// picture chooser and the catalogue checker so the checker judges a
// catalogue by what the window does.
#include <algorithm>
#include <string>
#include <string_view>

#include "platform/Text1252.h"

// An index line's cells are split at this delimiter; filter j compares cell
// j whole, letter case included, and the first line that passes every filter
// names the picture.
inline constexpr const char* kPictureIndexDelimiter = "|";

// How many cells an index line must have for `filters` filters and the
// picture named in cell `imageIndex`: fewer fail with the list index error.
inline size_t PictureIndexCellsNeeded(int filters, int imageIndex) {
  return static_cast<size_t>(std::max(std::max(filters, imageIndex + 1), 1));
}

// Whether a picture index line's cells pass `filters`: filter j compares
// cell j whole. Every filter is tried, so a line too short for the filters
// fails even when an earlier cell already differs.
template <typename Cells, typename Filters>
bool PictureIndexLineMatches(const Cells& cells, const Filters& filters) {
  bool matches = true;
  for (int j = 0; j < filters.Count(); ++j)
    if (cells[j] != filters.Value(filters.Name(j))) matches = false;
  return matches;
}

// Whether a picture file's extension is one the decoder reads.
inline bool HasPictureDecoder(std::string_view extension) {
  for (const char* known : {"bmp", "ico", "wmf", "emf", "gif"})
    if (ansi::SameText(extension, known)) return true;
  return false;
}

// The failure of showing a picture whose extension has no decoder.
inline std::string UnknownExtensionError(std::string_view extension) {
  return "Unknown picture file extension (." + std::string(extension) + ")";
}
