#pragma once
// What a metafile player draws onto: shapes, text and bitmaps in output
// pixels, the drawing state already applied. The Qt painter draws them for
// the window and the printer; the fuzz target only checks them.
#include <cstdint>
#include <string>
#include <vector>

struct TEmfPoint {
  double x = 0, y = 0;
};
// In output pixels, left <= right and top <= bottom.
struct TEmfRect {
  double left = 0, top = 0, right = 0, bottom = 0;
};
struct TEmfColor {
  uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const TEmfColor&) const = default;
};

enum class TEmfLineStyle { Solid, Dash, Dot, DashDot, DashDotDot, None };
enum class TEmfCap { Round, Square, Flat };
enum class TEmfJoin { Round, Bevel, Miter };
struct TEmfPen {
  TEmfLineStyle style = TEmfLineStyle::Solid;
  double width = 1;  // output pixels
  TEmfColor color;
  TEmfCap cap = TEmfCap::Round;
  TEmfJoin join = TEmfJoin::Round;
  bool operator==(const TEmfPen&) const = default;
};

// Hatches are the GDI ones: 0 horizontal, 1 vertical, 2 "\", 3 "/", 4 cross,
// 5 diagonal cross.
enum class TEmfFill { Solid, None, Hatched };
struct TEmfBrush {
  TEmfFill fill = TEmfFill::Solid;
  TEmfColor color{255, 255, 255};
  int hatch = 0;
  bool operator==(const TEmfBrush&) const = default;
};

struct TEmfFont {
  std::string face;
  double height = 12;  // em height in output pixels
  int weight = 400;
  bool italic = false, underline = false, strikeOut = false;
  double angle = 0;  // degrees, counter-clockwise on the output
};

enum class TEmfHAlign { Left, Center, Right };
enum class TEmfVAlign { Top, Baseline, Bottom };
struct TEmfText {
  TEmfPoint at;
  std::string utf8;
  TEmfFont font;
  TEmfColor color;
  TEmfHAlign hAlign = TEmfHAlign::Left;
  TEmfVAlign vAlign = TEmfVAlign::Top;
  bool opaque = false;  // the text cells filled with `background`
  TEmfColor background;
};

enum class TEmfArc { Open, Chord, Pie };

// Everything arrives in output pixels; shapes are stroked with the last pen
// and filled with the last brush set. Shapes (all but text and bitmaps) lie
// within the output widened on each side by twice its larger side, and pens
// and fonts are at most that twice as wide or high.
class TEmfCanvas {
 public:
  virtual ~TEmfCanvas() = default;
  virtual void SetPen(const TEmfPen& pen) = 0;
  // `background` fills between the hatch lines when `opaque`.
  virtual void SetBrush(const TEmfBrush& brush, TEmfColor background, bool opaque) = 0;
  virtual void DrawPolyline(const std::vector<TEmfPoint>& points) = 0;
  // A start point, then three points (two controls and an end) per curve.
  virtual void DrawBeziers(const std::vector<TEmfPoint>& points) = 0;
  // Closed and filled together, so that holes stay holes.
  virtual void DrawPolygons(const std::vector<std::vector<TEmfPoint>>& polygons, bool winding) = 0;
  virtual void DrawRect(const TEmfRect& rect) = 0;
  virtual void DrawRoundRect(const TEmfRect& rect, double rx, double ry) = 0;
  virtual void DrawEllipse(const TEmfRect& rect) = 0;
  // Along the ellipse in `box`, angles in degrees counter-clockwise from
  // three o'clock, measured on the circle the ellipse is squeezed from.
  virtual void DrawArc(const TEmfRect& box, double startAngle, double sweepAngle, TEmfArc kind) = 0;
  virtual void FillRect(const TEmfRect& rect, TEmfColor color) = 0;
  virtual void DrawText(const TEmfText& text) = 0;
  // Top-down rows of 0xAARRGGBB pixels stretched onto `target`.
  virtual void DrawBitmap(const TEmfRect& target, int width, int height,
                          const std::vector<uint32_t>& pixels) = 0;
};

struct TEmfBounds {
  int width = 0, height = 0;
};
