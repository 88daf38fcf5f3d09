#pragma once
// Helpers over 8-bit Windows-1252 text kept as bytes. Header-only and
// standard-library only, so the INI engine can use them too.
#include <string>
#include <string_view>

namespace ansi {

// Lower-case partner of a Windows-1252 byte (A-Z, the Latin-1 capitals and
// the four capitals of the 0x80-0x9F table); any other byte is returned as is.
inline unsigned char Fold(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A:
      return 0x9A;  // S caron
    case 0x8C:
      return 0x9C;  // OE
    case 0x8E:
      return 0x9E;  // Z caron
    case 0x9F:
      return 0xFF;  // Y diaeresis
    default:
      return c;
  }
}

inline unsigned char Upper(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  switch (c) {
    case 0x9A:
      return 0x8A;
    case 0x9C:
      return 0x8C;
    case 0x9E:
      return 0x8E;
    case 0xFF:
      return 0x9F;
    default:
      return c;
  }
}

// Whether a byte is a digit or a letter of Windows-1252 (accented ones,
// the ligatures and the ordinals too): the stuff words are made of.
inline bool IsWordByte(unsigned char c) {
  if ((c >= '0' && c <= '9') || Fold(c) != c || Upper(c) != c) return true;
  return c == 0x83 || c == 0xAA || c == 0xB5 || c == 0xBA ||
         c == 0xDF;  // f hook, ordinals, micro, sharp s
}

// Equality without regard to letter case.
inline bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Fold(static_cast<unsigned char>(a[i])) != Fold(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Three-way comparison without regard to letter case (for sorting by name).
inline int CompareText(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const int ca = Fold(static_cast<unsigned char>(a[i]));
    const int cb = Fold(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

inline std::string UpperCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = static_cast<char>(Upper(static_cast<unsigned char>(c)));
  return out;
}

// Drops blanks and control characters (codes up to 32) from both ends.
inline std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32)
    ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32)
    --e;
  return s.substr(b, e - b);
}

}  // namespace ansi
