#pragma once
// Accent colours that stay readable on any theme: the designed colour where
// it stands out enough from the background actually drawn (a contrast of
// 4.5:1, WCAG 1.4.3), else the nearest colour of the same hue that does.
#include <QColor>

inline constexpr double kReadableContrast = 4.5;

// The WCAG contrast ratio of two colours, from 1 to 21.
double ContrastRatio(const QColor& a, const QColor& b);

// `designed` on `background`, lightened or darkened (away from the
// background) only as far as it takes to be readable.
QColor ReadableOn(const QColor& designed, const QColor& background);
