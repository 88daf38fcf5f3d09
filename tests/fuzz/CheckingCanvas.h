#pragma once
// A metafile canvas for the fuzz targets: every value it receives must be
// defined and within what a painter can take, shapes within the output
// widened on each side by twice its larger side.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "pictures/EmfCanvas.h"
#include "platform/Error.h"

namespace fuzz {

// Holds what the canvas was given, so that no value goes unread.
inline volatile uint64_t sink;

class TCheckingCanvas final : public TEmfCanvas {
 public:
  TCheckingCanvas(int width, int height) : width_(width), height_(height) {
    margin_ = 2.0 * std::max(width, height);
  }

  void SetPen(const TEmfPen& pen) override {
    FUZZ_CHECK(int(pen.style) >= 0 && int(pen.style) <= int(TEmfLineStyle::None));
    FUZZ_CHECK(int(pen.cap) >= 0 && int(pen.cap) <= int(TEmfCap::Flat));
    FUZZ_CHECK(int(pen.join) >= 0 && int(pen.join) <= int(TEmfJoin::Miter));
    FUZZ_CHECK(std::isfinite(pen.width) && pen.width >= 1 && pen.width <= margin_);
    Touch(pen.width, pen.color);
  }
  void SetBrush(const TEmfBrush& brush, TEmfColor background, bool opaque) override {
    FUZZ_CHECK(int(brush.fill) >= 0 && int(brush.fill) <= int(TEmfFill::Hatched));
    FUZZ_CHECK(brush.hatch >= 0 && brush.hatch <= 5);
    Touch(brush.color, background, opaque);
  }
  void DrawPolyline(const std::vector<TEmfPoint>& points) override {
    FUZZ_CHECK(points.size() >= 2);
    Shape(points);
  }
  void DrawBeziers(const std::vector<TEmfPoint>& points) override {
    FUZZ_CHECK(points.size() % 3 == 1);
    Shape(points);
  }
  void DrawPolygons(const std::vector<std::vector<TEmfPoint>>& polygons, bool winding) override {
    for (const auto& polygon : polygons)
      Shape(polygon);
    Touch(winding);
  }
  void DrawRect(const TEmfRect& rect) override { Shape(rect); }
  void DrawRoundRect(const TEmfRect& rect, double rx, double ry) override {
    Shape(rect);
    FUZZ_CHECK(rx >= 0 && ry >= 0);
    Touch(rx, ry);
  }
  void DrawEllipse(const TEmfRect& rect) override { Shape(rect); }
  void DrawArc(const TEmfRect& box, double startAngle, double sweepAngle, TEmfArc kind) override {
    Shape(box);
    FUZZ_CHECK(startAngle >= -180 && startAngle <= 180);
    FUZZ_CHECK(sweepAngle > 0 && sweepAngle <= 360);
    Touch(int(kind));
  }
  void FillRect(const TEmfRect& rect, TEmfColor color) override {
    Shape(rect);
    Touch(color);
  }
  void DrawText(const TEmfText& text) override {
    Touch(text.at);
    FUZZ_CHECK(ValidUtf8(text.utf8));
    FUZZ_CHECK(ValidUtf8(text.font.face));
    FUZZ_CHECK(std::isfinite(text.font.height) && text.font.height >= 1 &&
               text.font.height <= margin_);
    FUZZ_CHECK(std::isfinite(text.font.angle) && std::abs(text.font.angle) < 360);
    Touch(text.font.height, text.font.weight,
          text.font.italic + 2 * text.font.underline + 4 * text.font.strikeOut, text.color,
          text.background, int(text.hAlign) * 3 + int(text.vAlign) + 9 * text.opaque);
  }
  void DrawBitmap(const TEmfRect& target, int width, int height,
                  const std::vector<uint32_t>& pixels) override {
    Touch(target);
    FUZZ_CHECK(width > 0 && height > 0);
    FUZZ_CHECK(pixels.size() == size_t(width) * size_t(height));
    for (const uint32_t pixel : pixels)
      Touch(pixel);
  }

 private:
  // Within the widened output, give or take rounding.
  void Shape(const TEmfPoint& p) {
    Touch(p);
    const double slack = 1e-6 * margin_;
    FUZZ_CHECK(p.x >= -margin_ - slack && p.x <= width_ + margin_ + slack);
    FUZZ_CHECK(p.y >= -margin_ - slack && p.y <= height_ + margin_ + slack);
  }
  void Shape(const std::vector<TEmfPoint>& points) {
    for (const TEmfPoint& p : points)
      Shape(p);
  }
  void Shape(const TEmfRect& r) {
    Touch(r);
    Shape(TEmfPoint{r.left, r.top});
    Shape(TEmfPoint{r.right, r.bottom});
  }

  void Touch(double v) {
    FUZZ_CHECK(std::isfinite(v));
    sink = sink + (v > 0 ? 1 : 2);
  }
  void Touch(const TEmfPoint& p) {
    FUZZ_CHECK(std::abs(p.x) <= 4e6 && std::abs(p.y) <= 4e6);
    Touch(p.x, p.y);
  }
  void Touch(const TEmfRect& r) {
    Touch(TEmfPoint{r.left, r.top}, TEmfPoint{r.right, r.bottom});
    FUZZ_CHECK(r.left <= r.right && r.top <= r.bottom);
  }
  void Touch(TEmfColor c) { Touch(double(c.red + c.green + c.blue)); }
  template <typename... Values>
  requires(sizeof...(Values) > 1) void Touch(const Values&... values) { (Touch(values), ...); }

  static bool ValidUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
      const unsigned char c = s[i];
      const size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
      if (n == 0 || i + n > s.size()) return false;
      for (size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
      i += n;
    }
    return true;
  }

  int width_, height_;
  double margin_;
};

// Plays a picture of arbitrary bytes with a reader's `naturalSize` and `play`:
// it is drawn, or refused with the one message for damaged files.
template <typename Size, typename Play>
int PlayChecked(const uint8_t* data, size_t size, Size naturalSize, Play play) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const TEmfBounds natural = naturalSize(bytes);
    FUZZ_CHECK(natural.width >= 1 && natural.height >= 1);
    // Small pictures are drawn at their own size, large ones shrunk.
    const int width = std::min(natural.width, 300), height = std::min(natural.height, 300);
    TCheckingCanvas canvas(width, height);
    play(bytes, width, height, canvas);
  } catch (const EKavError& error) {
    FUZZ_CHECK(std::string_view(error.what()) == "Metafile is not valid");
  }
  return 0;
}

}  // namespace fuzz
