#pragma once
// UTF-8 out of code points, and out of UTF-16LE text as Windows files hold
// it (at any byte, with lone surrogates as U+FFFD). Header-only.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

inline void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

inline std::string Utf8FromUtf16Le(const char* bytes, size_t units) {
  auto unit = [&](size_t i) {
    uint16_t u;
    std::memcpy(&u, bytes + 2 * i, 2);
    return char32_t{u};
  };
  std::string out;
  out.reserve(units);
  for (size_t i = 0; i < units; ++i) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 &&
        unit(i + 1) < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(++i) - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

// The code point of the well-formed UTF-8 sequence that starts at `at`, and
// its length in bytes; 0 when none does (no overlong forms, surrogates or
// code points past U+10FFFF).
inline size_t Utf8SequenceAt(std::string_view bytes, size_t at, char32_t& c) {
  const unsigned char lead = static_cast<unsigned char>(bytes[at]);
  // The number of continuation bytes the lead byte announces; -1: no lead byte.
  int more = -1;
  if (lead < 0x80)
    more = 0;
  else if (lead >= 0xC2 && lead < 0xE0)
    more = 1;
  else if (lead >= 0xE0 && lead < 0xF0)
    more = 2;
  else if (lead >= 0xF0 && lead < 0xF5)
    more = 3;
  if (more < 0 || bytes.size() - at <= static_cast<size_t>(more)) return 0;
  c = more == 0 ? lead : lead & (0x3F >> more);
  for (int k = 1; k <= more; ++k) {
    const unsigned char next = static_cast<unsigned char>(bytes[at + static_cast<size_t>(k)]);
    if ((next & 0xC0) != 0x80) return 0;
    c = (c << 6) | (next & 0x3F);
  }
  if ((more == 2 && c < 0x800) || (more == 3 && (c < 0x10000 || c > 0x10FFFF)) ||
      (c >= 0xD800 && c < 0xE000))
    return 0;
  return static_cast<size_t>(more) + 1;
}

// UTF-16 out of UTF-8; false (and `out` unspecified) unless `bytes` is
// well-formed UTF-8.
inline bool Utf16FromUtf8(std::string_view bytes, std::u16string& out) {
  out.clear();
  for (size_t i = 0; i < bytes.size();) {
    char32_t c = 0;
    const size_t length = Utf8SequenceAt(bytes, i, c);
    if (length == 0) return false;
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
    i += length;
  }
  return true;
}
