#pragma once
// A canvas that cuts every shape to the output widened by a margin before
// passing it on. The antialiased painter works through every pixel a shape
// spans, seconds for one a million pixels across, so a metafile with huge
// coordinates must not reach it whole. What the painter will spend on each
// shape is charged to the picture's budget first. No Qt.
#include "pictures/EmfCanvas.h"
#include "pictures/PaintCost.h"
#include "pictures/WorkBudget.h"

class TClippedCanvas final : public TEmfCanvas {
 public:
  TClippedCanvas(TEmfCanvas& target, int outWidth, int outHeight, TWorkBudget& budget);

  // Twice the output's larger side: wider than any pen or font let through,
  // so cut edges are never seen.
  double Margin() const { return margin_; }

  void SetPen(const TEmfPen& pen) override;
  void SetBrush(const TEmfBrush& brush, TEmfColor background, bool opaque) override;
  void DrawPolyline(const std::vector<TEmfPoint>& points) override;
  void DrawBeziers(const std::vector<TEmfPoint>& points) override;
  void DrawPolygons(const std::vector<std::vector<TEmfPoint>>& polygons, bool winding) override;
  void DrawRect(const TEmfRect& rect) override;
  void DrawRoundRect(const TEmfRect& rect, double rx, double ry) override;
  void DrawEllipse(const TEmfRect& rect) override;
  void DrawArc(const TEmfRect& box, double startAngle, double sweepAngle, TEmfArc kind) override;
  void FillRect(const TEmfRect& rect, TEmfColor color) override;
  void DrawText(const TEmfText& text) override;
  void DrawBitmap(const TEmfRect& target, int width, int height,
                  const std::vector<uint32_t>& pixels) override;

 private:
  bool Inside(const TEmfRect& r) const;
  bool Inside(const std::vector<TEmfPoint>& points) const;
  bool Cut(TEmfRect& r) const;
  std::vector<TEmfPoint> CutRing(std::vector<TEmfPoint> ring) const;
  void Fill(std::vector<std::vector<TEmfPoint>> rings, bool winding);

  TEmfCanvas& target_;
  TWorkBudget& budget_;
  TPaintCost cost_;
  double margin_;
  TEmfRect area_;
};
