#pragma once
// The rules of a picture-index file and of picture files, shared by the
// picture chooser and the catalogue checker so the checker judges a
// catalogue by what the window does.
#include <string>
#include <string_view>

#include "platform/Text1252.h"

// An index line's cells are split at this delimiter; filter j compares cell
// j whole, letter case included, and the first line that passes every filter
// names the picture.
inline constexpr const char* kPictureIndexDelimiter = "|";

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
