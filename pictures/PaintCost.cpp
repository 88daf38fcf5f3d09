#include "pictures/PaintCost.h"

#include <algorithm>
#include <cmath>

namespace {

// Setting up any call of the painter.
constexpr double kCall = 500;
// A point of a line or ring, built into a path and cut.
constexpr double kPoint = 32;
// An antialiased line one pixel wide, per pixel of its length.
constexpr double kThinPerPixel = 30;
// A wider pen's outline is stroked into a path and filled: a set-up, then
// per pixel of its length whatever its width.
constexpr double kWideStroke = 6000;
constexpr double kWidePerPixel = 250;
// A filled path: a set-up, then per output pixel it covers.
constexpr double kFilledPath = 3000;
constexpr double kFillPerPixel = 4;
// A rectangle of one colour, per output pixel.
constexpr double kSolidPerPixel = 1;
// A glyph: a set-up and an eighth of its square in pixels, at most what the
// largest glyphs cost.
constexpr double kGlyph = 300, kGlyphMost = 2000;
// A bitmap's pixels are copied; the output it covers is sampled from them.
constexpr double kBitmapPerPixel = 1, kSampledPerPixel = 4;

// A measure that may be anything, NaN included, as whole units.
uint64_t Units(double v) {
  return v > 0 ? uint64_t(std::min(v, 1e15)) : 0;
}

}  // namespace

TPaintCost::TPaintCost(int outWidth, int outHeight)
    : width_(std::max(outWidth, 1)), height_(std::max(outHeight, 1)) {}

// The part of the output `r` covers, widened by the pen.
TEmfBounds TPaintCost::Covered(const TEmfRect& r) const {
  const double w = std::min(r.right + pen_ / 2, width_) - std::max(r.left - pen_ / 2, 0.0);
  const double h = std::min(r.bottom + pen_ / 2, height_) - std::max(r.top - pen_ / 2, 0.0);
  return w > 0 && h > 0 ? TEmfBounds{int(std::ceil(w)), int(std::ceil(h))} : TEmfBounds{};
}

// The length of the part of a segment the pen draws on the output: the
// painter cuts what lies beyond.
double TPaintCost::Length(const TEmfPoint& a, const TEmfPoint& b) const {
  const double dx = b.x - a.x, dy = b.y - a.y, pen = pen_ / 2 + 1;
  double t0 = 0, t1 = 1;
  auto side = [&](double p, double q) {  // the part where p * t <= q
    if (p == 0) {
      if (q < 0) t1 = -1;
    } else if (p < 0) {
      t0 = std::max(t0, q / p);
    } else {
      t1 = std::min(t1, q / p);
    }
  };
  side(-dx, a.x + pen);
  side(dx, width_ + pen - a.x);
  side(-dy, a.y + pen);
  side(dy, height_ + pen - a.y);
  return t1 > t0 ? (t1 - t0) * std::hypot(dx, dy) : 0;
}

uint64_t TPaintCost::Outline(double length) const {
  if (!(pen_ > 0)) return 0;
  if (pen_ <= 1) return Units(kThinPerPixel * length);
  return Units(kWideStroke + kWidePerPixel * length);
}

uint64_t TPaintCost::Area(const TEmfRect& box) const {
  const TEmfBounds covered = Covered(box);
  return filled_ ? Units(kFilledPath + kFillPerPixel * covered.width * covered.height) : 0;
}

uint64_t TPaintCost::Points(size_t count) const {
  return Units(kPoint * double(count));
}

uint64_t TPaintCost::Line(const std::vector<TEmfPoint>& points) const {
  double length = 0;
  for (size_t i = 1; i < points.size(); ++i)
    length += Length(points[i - 1], points[i]);
  return Units(kCall + kPoint * double(points.size())) + Outline(length);
}

uint64_t TPaintCost::Polygons(const std::vector<std::vector<TEmfPoint>>& rings) const {
  double points = 0, length = 0;
  TEmfRect box{INFINITY, INFINITY, -INFINITY, -INFINITY};
  for (const auto& ring : rings) {
    points += double(ring.size());
    for (size_t i = 0; i < ring.size(); ++i) {
      const TEmfPoint& p = ring[i];
      length += Length(ring[i == 0 ? ring.size() - 1 : i - 1], p);
      box = {std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x),
             std::max(box.bottom, p.y)};
    }
  }
  return Units(kCall + kPoint * points) + Outline(length) + Area(box);
}

uint64_t TPaintCost::Shape(const TEmfRect& box) const {
  const TEmfBounds covered = Covered(box);
  return Units(kCall) + Outline(2.0 * (covered.width + covered.height)) + Area(box);
}

uint64_t TPaintCost::Fill(const TEmfRect& rect) const {
  const double w = std::min(rect.right, width_) - std::max(rect.left, 0.0);
  const double h = std::min(rect.bottom, height_) - std::max(rect.top, 0.0);
  return Units(kCall) + (w > 0 && h > 0 ? Units(kSolidPerPixel * w * h) : 0);
}

uint64_t TPaintCost::Text(size_t glyphs, double height) const {
  const double glyph = std::min(kGlyph + height * height / 8, kGlyphMost);
  return Units(kCall + double(glyphs) * (std::isnan(glyph) ? kGlyphMost : glyph));
}

uint64_t TPaintCost::Bitmap(const TEmfRect& target, int width, int height) const {
  const double w = std::min(target.right, width_) - std::max(target.left, 0.0);
  const double h = std::min(target.bottom, height_) - std::max(target.top, 0.0);
  return Units(kCall + kBitmapPerPixel * double(width) * double(height) +
               (w > 0 && h > 0 ? kSampledPerPixel * w * h : 0));
}
