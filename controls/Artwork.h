#pragma once
// The program's own pictures, drawn at run time: the program icon (a dish
// antenna) and the maker's logo shown in the About box.
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <QFont>
#include <QString>

// A font by its Windows name and pixel height. Where that family is missing,
// the metric-compatible Liberation Sans comes before the desktop's default,
// so that captions laid out for the Windows fonts still fit.
QFont WindowsFont(const QString& family, int pixels, bool bold = false);

// The program icon in the usual sizes (16, 32 and 48 pixels).
QIcon KavProgramIcon();
// The program icon drawn at `size` x `size` pixels (needs no display).
QImage KavProgramIconImage(int size);
// The maker's logo, 126 x 47 pixels on a transparent background.
QPixmap OstrelLogo();
