#pragma once
// Conversion between the catalogue's 8-bit Windows-1252 text and Unicode:
// UTF-16 for the window and for the Windows file and registry calls, UTF-8
// for text that leaves the program as Unicode (the headless tool's JSON). Header-only, so the
// INI engine's file names convert the same way.
#include <string>
#include <string_view>

#include "platform/Utf8.h"

namespace cp1252 {

// Unicode code points of bytes 0x80-0x9F; 0 marks the five unassigned bytes,
// which map to the C1 control of the same value.
inline constexpr char16_t kHighTable[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

inline char16_t ToUnicode(unsigned char c) {
  if (c >= 0x80 && c <= 0x9F && kHighTable[c - 0x80] != 0) return kHighTable[c - 0x80];
  return c;
}

}  // namespace cp1252

inline std::u16string Utf16FromAnsi(std::string_view bytes) {
  std::u16string text(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i)
    text[i] = cp1252::ToUnicode(static_cast<unsigned char>(bytes[i]));
  return text;
}

inline std::string Utf8FromAnsi(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (const char byte : bytes)
    AppendUtf8(text, cp1252::ToUnicode(static_cast<unsigned char>(byte)));
  return text;
}

// Text that mixes the two, as a Linux message does that names a path
// (UTF-8) and quotes the catalogue (Windows-1252), as UTF-8: each
// well-formed UTF-8 sequence is kept, every other byte read as Windows-1252.
inline std::string Utf8FromMixed(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    char32_t c = 0;
    const size_t length = Utf8SequenceAt(bytes, i, c);
    if (length == 0) {
      AppendUtf8(text, cp1252::ToUnicode(static_cast<unsigned char>(bytes[i++])));
    } else {
      text.append(bytes.substr(i, length));
      i += length;
    }
  }
  return text;
}

// Characters that Windows-1252 cannot hold become "?".
inline std::string AnsiFromUtf16(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (const char16_t u : text) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      bytes += static_cast<char>(u);
      continue;
    }
    char found = '?';
    for (int i = 0; i < 32; ++i) {
      const char16_t mapped =
          cp1252::kHighTable[i] != 0 ? cp1252::kHighTable[i] : static_cast<char16_t>(0x80 + i);
      if (mapped == u) {
        found = static_cast<char>(0x80 + i);
        break;
      }
    }
    bytes += found;
  }
  return bytes;
}
