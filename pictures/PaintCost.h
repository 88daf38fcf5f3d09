#pragma once
// What the antialiased painter spends on each thing a metafile draws, in the
// work budget's units (about a nanosecond each), measured with QPainter on
// an image of a picture box's size. Every call costs a set-up; a thin line
// then costs by its length, a wide pen's outline (built and filled as a
// path) by its length at a far higher rate, a filled shape by the output
// pixels it covers, text by its glyphs, a bitmap by its pixels and the
// output it covers. No Qt.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "pictures/EmfCanvas.h"

class TPaintCost {
 public:
  TPaintCost(int outWidth, int outHeight);

  // The pen's width in output pixels after the cut, 0 when it draws nothing.
  void SetPen(double width) { pen_ = width; }
  void SetFilled(bool filled) { filled_ = filled; }

  // Points read and cut before anything is drawn.
  uint64_t Points(size_t count) const;
  // An open line through `points` (a curve: its control points).
  uint64_t Line(const std::vector<TEmfPoint>& points) const;
  // Rings filled together and outlined.
  uint64_t Polygons(const std::vector<std::vector<TEmfPoint>>& rings) const;
  // A rectangle, ellipse or arc within `box`, filled and outlined.
  uint64_t Shape(const TEmfRect& box) const;
  // A rectangle filled with one colour, no pen.
  uint64_t Fill(const TEmfRect& rect) const;
  uint64_t Text(size_t glyphs, double height) const;
  // A bitmap of width x height pixels stretched onto `target`.
  uint64_t Bitmap(const TEmfRect& target, int width, int height) const;

 private:
  TEmfBounds Covered(const TEmfRect& r) const;
  double Length(const TEmfPoint& a, const TEmfPoint& b) const;
  uint64_t Outline(double length) const;
  uint64_t Area(const TEmfRect& box) const;

  double width_, height_;
  double pen_ = 1;
  bool filled_ = true;
};
