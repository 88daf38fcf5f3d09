#include "pictures/ClippedCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace {

// Curves cut to the visible area become lines that stray this far from
// them at most, in output pixels; a shape has at most kMaxCurvePoints.
constexpr double kFlatness = 0.2;
constexpr double kMaxCurvePoints = 16384;
// Points are held inside this, far beyond any picture yet within the
// painter's fixed-point range.
constexpr double kFar = 4e6;

// Points along the ellipse about (cx, cy), angles as TEmfCanvas::DrawArc.
void Curve(double cx, double cy, double rx, double ry, double start, double sweep,
           std::vector<TEmfPoint>& out) {
  const double full = std::numbers::pi / std::sqrt(2 * kFlatness / std::max({rx, ry, 1.0}));
  const int steps = int(std::clamp(std::ceil(full * sweep / 360), 1.0, kMaxCurvePoints / 4));
  // Turned step by step rather than through a sine and cosine each: the
  // ring of a huge ellipse has thousands of points.
  const double a = start * std::numbers::pi / 180, step = sweep * std::numbers::pi / 180 / steps;
  const double turnCos = std::cos(step), turnSin = std::sin(step);
  double c = std::cos(a), s = std::sin(a);
  for (int i = 0; i <= steps; ++i) {
    out.push_back({cx + rx * c, cy - ry * s});
    const double next = c * turnCos - s * turnSin;
    s = s * turnCos + c * turnSin;
    c = next;
  }
}

std::vector<TEmfPoint> FlatBeziers(const std::vector<TEmfPoint>& p) {
  std::vector<TEmfPoint> out{p[0]};
  const size_t curves = p.size() / 3;
  const double most = std::max(4.0, kMaxCurvePoints / double(curves));
  for (size_t c = 0; c < curves; ++c) {
    const TEmfPoint* q = &p[3 * c];
    // Lines along a cubic stray at most an eighth of its largest second
    // difference, times six, over the square of their number.
    const double d =
        std::max(std::hypot(q[0].x - 2 * q[1].x + q[2].x, q[0].y - 2 * q[1].y + q[2].y),
                 std::hypot(q[1].x - 2 * q[2].x + q[3].x, q[1].y - 2 * q[2].y + q[3].y));
    const int steps = int(std::clamp(std::ceil(std::sqrt(0.75 * d / kFlatness)), 1.0, most));
    for (int i = 1; i <= steps; ++i) {
      const double t = double(i) / steps, u = 1 - t;
      const double a = u * u * u, b = 3 * u * u * t, e = 3 * u * t * t, f = t * t * t;
      out.push_back({a * q[0].x + b * q[1].x + e * q[2].x + f * q[3].x,
                     a * q[0].y + b * q[1].y + e * q[2].y + f * q[3].y});
    }
  }
  return out;
}

// The ring of a rectangle with corners of a quarter ellipse each.
std::vector<TEmfPoint> RoundedRing(const TEmfRect& box, double rx, double ry) {
  std::vector<TEmfPoint> points;
  Curve(box.right - rx, box.top + ry, rx, ry, 0, 90, points);
  Curve(box.left + rx, box.top + ry, rx, ry, 90, 90, points);
  Curve(box.left + rx, box.bottom - ry, rx, ry, 180, 90, points);
  Curve(box.right - rx, box.bottom - ry, rx, ry, 270, 90, points);
  return points;
}

}  // namespace

TClippedCanvas::TClippedCanvas(TEmfCanvas& target, int outWidth, int outHeight, TWorkBudget& budget)
    : target_(target),
      budget_(budget),
      cost_(outWidth, outHeight),
      margin_(2.0 * std::max({outWidth, outHeight, 1})) {
  area_ = {-margin_, -margin_, outWidth + margin_, outHeight + margin_};
}

bool TClippedCanvas::Inside(const TEmfRect& r) const {
  return r.left >= area_.left && r.right <= area_.right && r.top >= area_.top &&
         r.bottom <= area_.bottom;
}

bool TClippedCanvas::Inside(const std::vector<TEmfPoint>& points) const {
  return std::all_of(points.begin(), points.end(), [&](const TEmfPoint& p) {
    return Inside(TEmfRect{p.x, p.y, p.x, p.y});
  });
}

bool TClippedCanvas::Cut(TEmfRect& r) const {
  r = {std::max(r.left, area_.left), std::max(r.top, area_.top), std::min(r.right, area_.right),
       std::min(r.bottom, area_.bottom)};
  return r.left <= r.right && r.top <= r.bottom;
}

// A closed ring cut by each side of the area in turn.
std::vector<TEmfPoint> TClippedCanvas::CutRing(std::vector<TEmfPoint> ring) const {
  const double bounds[] = {area_.left, area_.right, area_.top, area_.bottom};
  for (int side = 0; side < 4 && !ring.empty(); ++side) {
    const double bound = bounds[side];
    const bool vertical = side < 2;
    auto inside = [&](const TEmfPoint& p) {
      const double v = vertical ? p.x : p.y;
      return side % 2 == 0 ? v >= bound : v <= bound;
    };
    auto cross = [&](const TEmfPoint& a, const TEmfPoint& b) {
      if (vertical) return TEmfPoint{bound, a.y + (bound - a.x) / (b.x - a.x) * (b.y - a.y)};
      return TEmfPoint{a.x + (bound - a.y) / (b.y - a.y) * (b.x - a.x), bound};
    };
    std::vector<TEmfPoint> out;
    for (size_t i = 0; i < ring.size(); ++i) {
      const TEmfPoint& a = ring[(i + ring.size() - 1) % ring.size()];
      const TEmfPoint& b = ring[i];
      if (inside(a) != inside(b)) out.push_back(cross(a, b));
      if (inside(b)) out.push_back(b);
    }
    ring = std::move(out);
  }
  return ring;
}

void TClippedCanvas::Fill(std::vector<std::vector<TEmfPoint>> rings, bool winding) {
  for (auto& ring : rings) {
    if (Inside(ring)) continue;
    budget_.Spend(cost_.Points(ring.size()));
    ring = CutRing(std::move(ring));
  }
  budget_.Spend(cost_.Polygons(rings));
  target_.DrawPolygons(rings, winding);
}

void TClippedCanvas::SetPen(const TEmfPen& pen) {
  TEmfPen cut = pen;
  cut.width = std::isnan(pen.width) ? 1 : std::clamp(pen.width, 1.0, margin_);
  cost_.SetPen(pen.style == TEmfLineStyle::None ? 0 : cut.width);
  target_.SetPen(cut);
}

void TClippedCanvas::SetBrush(const TEmfBrush& brush, TEmfColor background, bool opaque) {
  cost_.SetFilled(brush.fill != TEmfFill::None);
  target_.SetBrush(brush, background, opaque);
}

// A line cut to the runs inside the area, segment by segment.
void TClippedCanvas::DrawPolyline(const std::vector<TEmfPoint>& line) {
  if (Inside(line)) {
    budget_.Spend(cost_.Line(line));
    if (line.size() >= 2) target_.DrawPolyline(line);
    return;
  }
  budget_.Spend(cost_.Points(line.size()));
  std::vector<TEmfPoint> run;
  auto flush = [&] {
    if (run.size() >= 2) {
      budget_.Spend(cost_.Line(run));
      target_.DrawPolyline(run);
    }
    run.clear();
  };
  for (size_t i = 1; i < line.size(); ++i) {
    const TEmfPoint a = line[i - 1], b = line[i];
    const double dx = b.x - a.x, dy = b.y - a.y;
    double t0 = 0, t1 = 1;
    bool seen = true;
    auto side = [&](double p, double q) {
      if (p == 0) {
        seen = seen && q >= 0;
      } else if (p < 0) {
        t0 = std::max(t0, q / p);
      } else {
        t1 = std::min(t1, q / p);
      }
    };
    side(-dx, a.x - area_.left);
    side(dx, area_.right - a.x);
    side(-dy, a.y - area_.top);
    side(dy, area_.bottom - a.y);
    if (!seen || t0 > t1) {
      flush();
      continue;
    }
    if (t0 > 0) flush();
    if (run.empty()) run.push_back(t0 > 0 ? TEmfPoint{a.x + t0 * dx, a.y + t0 * dy} : a);
    run.push_back(t1 < 1 ? TEmfPoint{a.x + t1 * dx, a.y + t1 * dy} : b);
    if (t1 < 1) flush();
  }
  flush();
}

void TClippedCanvas::DrawBeziers(const std::vector<TEmfPoint>& points) {
  if (points.size() % 3 != 1) return;
  // The curves are no longer than their control points' polygon; cut, they
  // become lines, charged again.
  budget_.Spend(cost_.Line(points));
  if (Inside(points))
    target_.DrawBeziers(points);
  else
    DrawPolyline(FlatBeziers(points));
}

void TClippedCanvas::DrawPolygons(const std::vector<std::vector<TEmfPoint>>& polygons,
                                  bool winding) {
  Fill(polygons, winding);
}

void TClippedCanvas::DrawRect(const TEmfRect& rect) {
  TEmfRect cut = rect;
  if (!Cut(cut)) return;
  budget_.Spend(cost_.Shape(cut));
  target_.DrawRect(cut);
}

void TClippedCanvas::DrawRoundRect(const TEmfRect& rect, double rx, double ry) {
  rx = std::clamp(rx, 0.0, (rect.right - rect.left) / 2);
  ry = std::clamp(ry, 0.0, (rect.bottom - rect.top) / 2);
  if (Inside(rect)) {
    budget_.Spend(cost_.Shape(rect));
    return target_.DrawRoundRect(rect, rx, ry);
  }
  Fill({RoundedRing(rect, rx, ry)}, false);
}

void TClippedCanvas::DrawEllipse(const TEmfRect& rect) {
  if (Inside(rect)) {
    budget_.Spend(cost_.Shape(rect));
    return target_.DrawEllipse(rect);
  }
  Fill({RoundedRing(rect, (rect.right - rect.left) / 2, (rect.bottom - rect.top) / 2)}, false);
}

void TClippedCanvas::DrawArc(const TEmfRect& box, double startAngle, double sweepAngle,
                             TEmfArc kind) {
  if (Inside(box)) {
    budget_.Spend(cost_.Shape(box));
    return target_.DrawArc(box, startAngle, sweepAngle, kind);
  }
  const double rx = (box.right - box.left) / 2, ry = (box.bottom - box.top) / 2;
  const double cx = box.left + rx, cy = box.top + ry;
  std::vector<TEmfPoint> points;
  if (kind == TEmfArc::Pie) points.push_back({cx, cy});
  Curve(cx, cy, rx, ry, startAngle, sweepAngle, points);
  if (kind == TEmfArc::Open)
    DrawPolyline(points);
  else
    Fill({points}, false);
}

void TClippedCanvas::FillRect(const TEmfRect& rect, TEmfColor color) {
  TEmfRect cut = rect;
  if (!Cut(cut)) return;
  budget_.Spend(cost_.Fill(cut));
  target_.FillRect(cut, color);
}

// Text costs by its glyphs, not by the area it spans: only its anchor and
// size are held in range.
void TClippedCanvas::DrawText(const TEmfText& text) {
  TEmfText held = text;
  held.at = {std::clamp(text.at.x, -kFar, kFar), std::clamp(text.at.y, -kFar, kFar)};
  held.font.height = std::clamp(text.font.height, 1.0, margin_);
  budget_.Spend(cost_.Text(held.utf8.size(), held.font.height));
  target_.DrawText(held);
}

// Only the whole source pixels the area shows are passed on, on their share
// of the target.
void TClippedCanvas::DrawBitmap(const TEmfRect& target, int width, int height,
                                const std::vector<uint32_t>& pixels) {
  budget_.Spend(cost_.Bitmap(target, width, height));
  if (Inside(target)) return target_.DrawBitmap(target, width, height, pixels);
  TEmfRect cut = target;
  const double w = target.right - target.left, h = target.bottom - target.top;
  if (!Cut(cut) || !(w > 0) || !(h > 0)) return;
  const double kx = width / w, ky = height / h;
  const int x0 = std::clamp(int(std::floor((cut.left - target.left) * kx)), 0, width - 1);
  const int x1 = std::clamp(int(std::ceil((cut.right - target.left) * kx)), x0 + 1, width);
  const int y0 = std::clamp(int(std::floor((cut.top - target.top) * ky)), 0, height - 1);
  const int y1 = std::clamp(int(std::ceil((cut.bottom - target.top) * ky)), y0 + 1, height);
  std::vector<uint32_t> shown;
  shown.reserve(size_t(x1 - x0) * size_t(y1 - y0));
  for (int y = y0; y < y1; ++y)
    shown.insert(shown.end(), pixels.begin() + std::ptrdiff_t(y) * width + x0,
                 pixels.begin() + std::ptrdiff_t(y) * width + x1);
  const TEmfRect part{target.left + x0 / kx, target.top + y0 / ky, target.left + x1 / kx,
                      target.top + y1 / ky};
  target_.DrawBitmap(part, x1 - x0, y1 - y0, shown);
}
