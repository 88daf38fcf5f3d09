#include "platform/Cp1252.h"

namespace {

// Unicode code points of bytes 0x80-0x9F; 0 marks the five unassigned bytes,
// which map to the C1 control of the same value.
constexpr char16_t kHighTable[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t ToUnicode(unsigned char c) {
  if (c >= 0x80 && c <= 0x9F && kHighTable[c - 0x80] != 0) return kHighTable[c - 0x80];
  return c;
}

}  // namespace

QString FromAnsi(std::string_view bytes) {
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (size_t i = 0; i < bytes.size(); ++i)
    out[i] = QChar(ToUnicode(static_cast<unsigned char>(bytes[i])));
  return text;
}

std::string ToAnsi(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  for (QChar ch : text) {
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      bytes += static_cast<char>(u);
      continue;
    }
    char found = '?';
    for (int i = 0; i < 32; ++i) {
      const char16_t mapped = kHighTable[i] != 0 ? kHighTable[i] : static_cast<char16_t>(0x80 + i);
      if (mapped == u) {
        found = static_cast<char>(0x80 + i);
        break;
      }
    }
    bytes += found;
  }
  return bytes;
}
