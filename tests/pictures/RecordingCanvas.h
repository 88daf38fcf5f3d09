#pragma once
// A canvas that writes down what it is given, one text a call: each shape in output pixels,
// with the pen and brush in force.
#include <cstdio>
#include <string>
#include <vector>

#include "pictures/EmfCanvas.h"

class TRecordingCanvas final : public TEmfCanvas {
 public:
  std::vector<std::string> calls;

  void SetPen(const TEmfPen& pen) override {
    pen_ = pen.style == TEmfLineStyle::None ? "none" : Hex(pen.color);
    if (pen.style != TEmfLineStyle::None && pen.width != 1) pen_ += "/" + Number(pen.width);
  }
  void SetBrush(const TEmfBrush& brush, TEmfColor background, bool opaque) override {
    brush_ = brush.fill == TEmfFill::None ? "none" : Hex(brush.color);
    if (brush.fill == TEmfFill::Hatched)
      brush_ += " hatch " + std::to_string(brush.hatch) + (opaque ? " on " + Hex(background) : "");
  }
  void DrawPolyline(const std::vector<TEmfPoint>& p) override { Add("polyline" + Points(p)); }
  void DrawBeziers(const std::vector<TEmfPoint>& p) override { Add("beziers" + Points(p)); }
  void DrawPolygons(const std::vector<std::vector<TEmfPoint>>& polygons, bool winding) override {
    std::string text = "polygons";
    for (const auto& polygon : polygons)
      text += " [" + Points(polygon) + " ]";
    Add(text + (winding ? " winding" : ""));
  }
  void DrawRect(const TEmfRect& r) override { Add("rect" + Box(r)); }
  void DrawRoundRect(const TEmfRect& r, double rx, double ry) override {
    Add("roundrect" + Box(r) + " " + Number(rx) + "," + Number(ry));
  }
  void DrawEllipse(const TEmfRect& r) override { Add("ellipse" + Box(r)); }
  void DrawArc(const TEmfRect& r, double start, double sweep, TEmfArc kind) override {
    Add("arc" + Box(r) + " " + Number(start) + "+" + Number(sweep) + " " + "OCP"[int(kind)]);
  }
  void FillRect(const TEmfRect& r, TEmfColor color) override {
    calls.push_back("fill" + Box(r) + " " + Hex(color));
  }
  void DrawText(const TEmfText& t) override {
    calls.push_back("text " + t.utf8 + " at" + Points({t.at}) + " " + "LCR"[int(t.hAlign)] +
                    "T_B"[int(t.vAlign)] + " " + Number(t.font.height) + " in " + t.font.face +
                    (t.font.italic ? " italic" : "") + (t.font.underline ? " underlined" : "") +
                    (t.font.strikeOut ? " struck out" : ""));
  }
  void DrawBitmap(const TEmfRect& r, int w, int h, const std::vector<uint32_t>& argb) override {
    std::string text = "bitmap" + Box(r) + " " + Number(w) + "x" + Number(h);
    for (const uint32_t pixel : argb)
      text += " " + Hex(pixel);
    calls.push_back(text);
  }

 private:
  static std::string Hex(TEmfColor c) { return Hex(uint32_t{c.red} << 16 | c.green << 8 | c.blue); }
  static std::string Hex(uint32_t rgb) { return Format("%06X", rgb & 0xFFFFFFu); }
  static std::string Number(double v) { return Format("%g", v); }
  template <typename T>
  static std::string Format(const char* format, T v) {
    char text[32];
    std::snprintf(text, sizeof text, format, v);
    return text;
  }
  static std::string Points(const std::vector<TEmfPoint>& points) {
    std::string text;
    for (const TEmfPoint& p : points)
      text += " " + Number(p.x) + "," + Number(p.y);
    return text;
  }
  static std::string Box(const TEmfRect& r) {
    return " " + Number(r.left) + "," + Number(r.top) + "-" + Number(r.right) + "," +
           Number(r.bottom);
  }
  void Add(const std::string& shape) {
    calls.push_back(shape + " pen " + pen_ + " brush " + brush_);
  }
  std::string pen_, brush_;
};
