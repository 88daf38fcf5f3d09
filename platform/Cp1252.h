#pragma once
// Conversion between the catalogue's 8-bit Windows-1252 text and QString,
// used only at the window and the clipboard.
#include <QString>
#include <string>
#include <string_view>

QString FromAnsi(std::string_view bytes);

// Characters that Windows-1252 cannot hold become "?".
std::string ToAnsi(const QString& text);
