#pragma once
#include "platform/Rounding.h"
// TReportLayout: a small drawing object that maps a 1000 x 1000 layout grid over
// the printer's printable area onto device units. x runs from 0 at the left
// edge to 1000 at the right edge, y from 0 at the top to 1000 at the bottom,
// so a layout unit is a thousandth of the printable width horizontally and a
// thousandth of the printable height vertically.
//
// The arithmetic (scaling, centring) needs no canvas and is usable on its
// own; the drawing operations need Canvas. Texts are the catalogue's 8-bit
// bytes and are decoded as Windows-1252 for drawing.
#include <QString>
#include <string>

class QImage;
class QPainter;

// A rectangle by its four edges, in layout or in device units.
struct TLayoutRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const TLayoutRect&) const = default;
};

// Flags of DrawTextIn.
enum : unsigned {
  dtWordBreak = 16,   // break lines between words to stay within the rectangle's width
  dtCalcRect = 1024,  // measure only, draw nothing
};

class TReportLayout {
 public:
  double XScale = 1.0;  // device units per horizontal layout unit
  double YScale = 1.0;  // device units per vertical layout unit
  QPainter* Canvas = nullptr;

  // Sets both scales from a printable area given in device units.
  void SetPrintableArea(int widthPixels, int heightPixels);

  int ScaleX(double x) const { return RoundHalfEven(x * XScale); }
  int ScaleY(double y) const { return RoundHalfEven(y * YScale); }
  // A device height back in layout units.
  int UnscaleY(double d) const { return RoundHalfEven(d / YScale); }
  TLayoutRect ScaleRect(const TLayoutRect& r) const;
  // Device x of the left edge of a text `width` device units wide centred on
  // layout x: half the width, truncated, is taken off before rounding.
  int CenteredLeft(double x, int width) const;

  // The canvas font. The height is the character cell height in device
  // units (ascent plus descent), as a positive font height on Windows.
  void SetFont(const std::string& name, int cellHeight, bool bold);
  void SetFontHeight(int cellHeight);
  void SetFontBold(bool bold);
  int FontHeight() const { return fontHeight_; }

  // Width of a text in the current font, in device units.
  int TextWidth(const std::string& text) const;
  // Text with its top-left corner at the scaled point.
  void TextOutAt(int x, int y, const std::string& text);
  // Text centred on layout x, its top at layout y.
  void TextOutCentered(int x, int y, const std::string& text);
  // Formatted text in the scaled copy of `r` (left-aligned, from the top,
  // clipped to the rectangle), its lines one cell height of the current font
  // apart. With dtWordBreak lines break between words; with dtCalcRect
  // nothing is drawn. Returns the height of the text in device units.
  int DrawTextIn(const TLayoutRect& r, const std::string& text, unsigned flags);
  void MoveToPoint(int x, int y);
  void LineToPoint(int x, int y);
  // The scaled rectangle with the current pen and brush.
  void RectangleAt(const TLayoutRect& r);
  // The whole bitmap stretched into the scaled rectangle.
  void StretchBitmapInto(const TLayoutRect& r, const QImage& bitmap);

 private:
  QPainter& Painter() const;
  void ApplyFont();

  std::string fontName_ = "TIMES NEW ROMAN";
  int fontHeight_ = 0;
  bool fontBold_ = false;
  int penX_ = 0;
  int penY_ = 0;
};

// The pixel size that gives `family` a character cell `cellHeight` device
// units tall on `painter`'s device.
int PixelSizeForCellHeight(const QString& family, bool bold, int cellHeight, QPainter& painter);
