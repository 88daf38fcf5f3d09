#pragma once
// Windows-1252 text to and from QString, for the window, the clipboard, the
// printer and the launcher. Header-only: the platform library itself needs
// no Qt; only the code that uses Qt includes this.
#include <QString>
#include <string>
#include <string_view>

#include "platform/Cp1252.h"

inline QString FromAnsi(std::string_view bytes) {
  const std::u16string text = Utf16FromAnsi(bytes);
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// Characters that Windows-1252 cannot hold become "?".
inline std::string ToAnsi(const QString& text) {
  return AnsiFromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                           static_cast<size_t>(text.size())));
}
