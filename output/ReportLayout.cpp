#include "output/ReportLayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "platform/Error.h"
#include "platform/QString1252.h"

void TReportLayout::SetPrintableArea(int widthPixels, int heightPixels) {
  XScale = widthPixels / 1000.0;
  YScale = heightPixels / 1000.0;
}

TLayoutRect TReportLayout::ScaleRect(const TLayoutRect& r) const {
  return {ScaleX(r.Left), ScaleY(r.Top), ScaleX(r.Right), ScaleY(r.Bottom)};
}

int TReportLayout::CenteredLeft(double x, int width) const {
  return RoundHalfEven(x * XScale - (width / 2));
}

QPainter& TReportLayout::Painter() const {
  if (Canvas == nullptr) throw EKavError("Printer is not currently printing");
  return *Canvas;
}

int PixelSizeForCellHeight(const QString& family, bool bold, int cellHeight, QPainter& painter) {
  if (cellHeight <= 0) return 1;
  // Measure the face at a large size once and scale: the cell height is
  // proportional to the pixel size.
  constexpr int kProbe = 1000;
  QFont probe(family);
  probe.setBold(bold);
  probe.setPixelSize(kProbe);
  const QFontMetricsF metrics(probe, painter.device());
  const double cellAtProbe = metrics.ascent() + metrics.descent();
  if (cellAtProbe <= 0) return cellHeight;
  return std::max(1, RoundHalfEven(cellHeight * kProbe / cellAtProbe));
}

void TReportLayout::ApplyFont() {
  QPainter& painter = Painter();
  const QString family = FromAnsi(fontName_);
  QFont font(family);
  font.setBold(fontBold_);
  font.setPixelSize(PixelSizeForCellHeight(family, fontBold_, fontHeight_, painter));
  painter.setFont(font);
}

void TReportLayout::SetFont(const std::string& name, int cellHeight, bool bold) {
  fontName_ = name;
  fontHeight_ = cellHeight;
  fontBold_ = bold;
  ApplyFont();
}

void TReportLayout::SetFontHeight(int cellHeight) {
  fontHeight_ = cellHeight;
  ApplyFont();
}

void TReportLayout::SetFontBold(bool bold) {
  fontBold_ = bold;
  ApplyFont();
}

int TReportLayout::TextWidth(const std::string& text) const {
  QPainter& painter = Painter();
  const QFontMetricsF metrics(painter.font(), painter.device());
  return RoundHalfEven(metrics.horizontalAdvance(FromAnsi(text)));
}

void TReportLayout::TextOutAt(int x, int y, const std::string& text) {
  QPainter& painter = Painter();
  const QFontMetricsF metrics(painter.font(), painter.device());
  painter.drawText(QPointF(ScaleX(x), ScaleY(y) + metrics.ascent()), FromAnsi(text));
}

void TReportLayout::TextOutCentered(int x, int y, const std::string& text) {
  QPainter& painter = Painter();
  const QFontMetricsF metrics(painter.font(), painter.device());
  const int left = CenteredLeft(x, TextWidth(text));
  painter.drawText(QPointF(left, ScaleY(y) + metrics.ascent()), FromAnsi(text));
}

int TReportLayout::DrawTextIn(const TLayoutRect& r, const std::string& text, unsigned flags) {
  QPainter& painter = Painter();
  const TLayoutRect d = ScaleRect(r);
  // Lines follow one another at the font's cell height, as the system's
  // formatted-text routine sets them; Qt's own spacing would add the font's
  // leading to every line.
  const QFontMetricsF metrics(painter.font(), painter.device());
  const double lineHeight = metrics.ascent() + metrics.descent();
  QString shown = FromAnsi(text);
  shown.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
  shown.replace(QLatin1Char('\r'), QChar::LineSeparator);
  shown.replace(QLatin1Char('\n'), QChar::LineSeparator);
  QTextLayout layout(shown, painter.font(), painter.device());
  QTextOption option(Qt::AlignLeft);
  option.setWrapMode((flags & dtWordBreak) ? QTextOption::WordWrap : QTextOption::ManualWrap);
  layout.setTextOption(option);
  int lines = 0;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(d.Width());
    line.setPosition(QPointF(0, lines * lineHeight));
    ++lines;
  }
  layout.endLayout();
  if (!(flags & dtCalcRect)) {
    painter.save();
    painter.setClipRect(QRect(d.Left, d.Top, d.Width(), d.Height()), Qt::IntersectClip);
    layout.draw(&painter, QPointF(d.Left, d.Top));
    painter.restore();
  }
  return RoundHalfEven(lines * lineHeight);
}

void TReportLayout::MoveToPoint(int x, int y) {
  penX_ = ScaleX(x);
  penY_ = ScaleY(y);
}

void TReportLayout::LineToPoint(int x, int y) {
  const int toX = ScaleX(x);
  const int toY = ScaleY(y);
  Painter().drawLine(penX_, penY_, toX, toY);
  penX_ = toX;
  penY_ = toY;
}

void TReportLayout::RectangleAt(const TLayoutRect& r) {
  const TLayoutRect d = ScaleRect(r);
  Painter().drawRect(QRectF(d.Left, d.Top, d.Width(), d.Height()));
}

void TReportLayout::StretchBitmapInto(const TLayoutRect& r, const QImage& bitmap) {
  const TLayoutRect d = ScaleRect(r);
  Painter().drawImage(QRectF(d.Left, d.Top, d.Width(), d.Height()), bitmap,
                      QRectF(0, 0, bitmap.width(), bitmap.height()));
}
