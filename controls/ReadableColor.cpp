#include "controls/ReadableColor.h"

#include <algorithm>
#include <cmath>

namespace {

double Luminance(const QColor& color) {
  const auto channel = [](double c) {
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  const QColor rgb = color.toRgb();
  return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) +
         0.0722 * channel(rgb.blueF());
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor& designed, const QColor& background) {
  if (ContrastRatio(designed, background) >= kReadableContrast) return designed;
  // Towards white on a dark background, towards black on a light one, in
  // small steps of lightness, keeping the hue.
  const bool lighten = Luminance(background) < 0.18;
  QColor color = designed.toHsl();
  const int hue = color.hslHue(), saturation = color.hslSaturation();
  for (int lightness = color.lightness(); lightness >= 0 && lightness <= 255;
       lightness += lighten ? 5 : -5) {
    color = QColor::fromHsl(hue, saturation, lightness);
    if (ContrastRatio(color, background) >= kReadableContrast) return color.toRgb();
  }
  return lighten ? QColor(Qt::white) : QColor(Qt::black);
}
