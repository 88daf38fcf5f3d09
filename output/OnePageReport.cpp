#include "output/OnePageReport.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPrinter>

#include "platform/Error.h"

// ---------------------------------------------------------------- page layout

std::vector<page::TFooterLine> page::FooterLines() {
  return {
      {167, 926, "OSTREL MICROWAVE SYSTEMS"},
      {167, 939, "2210 Ferrant Ridge Road"},
      {167, 951, "Kessington, OH 45999  U.S.A."},
      {585, 930, "Corporate Web Site:  www.ostrel.example"},
      {585, 945, "Customer Service Center: +1 (614) 555-0142"},
  };
}

TBodyLayout LayOutBody(const TReportLayout& scales, const TNameValueList& values,
                       const std::string& title, int textHeight, int nameColumnLeft,
                       int valueColumnLeft, const TMeasureValue& measure) {
  TBodyLayout layout;
  int top = page::kRowsTopWithoutTitle;
  if (!title.empty()) {
    layout.HasTitle = true;
    top = page::kRowsTopWithTitle;
  }
  TLayoutRect nameRect{nameColumnLeft, top, valueColumnLeft - 10, top + textHeight};
  TLayoutRect valueRect{valueColumnLeft, top, page::kValueColumnRight, top + textHeight};
  for (int i = 0; i < values.Count(); ++i) {
    TReportRow row{values.Name(i), values.ValueFromIndex(i), nameRect, valueRect};
    const int height = measure(valueRect, row.Value);
    row.ValueRect.Bottom = row.ValueRect.Top + scales.UnscaleY(height);
    const int next = row.ValueRect.Bottom + page::kRowGap;
    layout.Rows.push_back(std::move(row));
    nameRect.Top = valueRect.Top = next;
    nameRect.Bottom = valueRect.Bottom = next + textHeight;
  }
  return layout;
}

// ---------------------------------------------------------------- the logo

QImage CompanyLogo() {
  // An emblem (a dish beaming three waves) beside the word mark, drawn at a
  // size that prints sharp at the logo's place on the page.
  constexpr int kWidth = 1200;
  constexpr int kHeight = 400;
  const QColor navy(0x1b, 0x36, 0x6b);
  const QColor signal(0xd2, 0x3c, 0x2a);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  // Emblem: a navy disc with a white dish opening to the right, its feed,
  // and the waves leaving the feed.
  p.setPen(Qt::NoPen);
  p.setBrush(navy);
  p.drawEllipse(QRectF(20, 20, 360, 360));
  QPainterPath dish;
  dish.moveTo(180, 78);
  dish.quadTo(20, 200, 180, 322);
  dish.lineTo(200, 322);
  dish.quadTo(62, 200, 200, 78);
  dish.closeSubpath();
  p.setBrush(Qt::white);
  p.drawPath(dish);
  p.setPen(QPen(Qt::white, 12, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(120, 200), QPointF(205, 200));
  p.drawLine(QPointF(190, 90), QPointF(205, 200));
  p.drawLine(QPointF(190, 310), QPointF(205, 200));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(208, 200), 14, 14);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(signal, 15, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 3; ++i) {
    const double r = 48 + i * 36;
    p.drawArc(QRectF(208 - r, 200 - r, 2 * r, 2 * r), -38 * 16, 76 * 16);
  }

  // Word mark over a red rule and the line of business, each sized to the
  // room beside the emblem.
  const double left = 425, room = kWidth - left - 15;
  auto fitted = [&](const QString& text, bool bold, int pixelSize, double spacing, double width) {
    QFont font("Liberation Sans");
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    font.setPixelSize(pixelSize);
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    const double natural = QFontMetricsF(font, &image).horizontalAdvance(text);
    if (natural > width) font.setPixelSize(static_cast<int>(pixelSize * width / natural));
    return font;
  };
  const QFont mark = fitted("OSTREL", true, 200, 10, room);
  p.setFont(mark);
  p.setPen(navy);
  const double markWidth = QFontMetricsF(mark, &image).horizontalAdvance("OSTREL");
  p.drawText(QRectF(left, 0, room, 255), Qt::AlignLeft | Qt::AlignBottom, "OSTREL");
  p.fillRect(QRectF(left + 4, 268, markWidth - 14, 9), signal);
  p.setFont(fitted("MICROWAVE SYSTEMS", false, 70, 6, markWidth - 10));
  p.setPen(QColor(0x4a, 0x4a, 0x4a));
  p.drawText(QRectF(left + 4, 288, room, 110), Qt::AlignLeft | Qt::AlignTop, "MICROWAVE SYSTEMS");
  p.end();
  return image;
}

// ---------------------------------------------------------------- printing

void TOnePageReport::Print(TPrintDialog& dialog) {
  QPrinter printer(QPrinter::HighResolution);
  TReportLayout ez;
  if (!dialog.Execute(printer)) return;
  const QRect printable = printer.pageRect(QPrinter::DevicePixel).toRect();
  ez.SetPrintableArea(printable.width(), printable.height());

  QPainter painter;
  if (!painter.begin(&printer))
    throw EKavError("Printing failed: the print job could not be started");
  ez.Canvas = &painter;
  try {
    PrintReport(ez, ReportValues, Title);
  } catch (...) {
    printer.abort();
    painter.end();
    throw;
  }
  if (!painter.end() || printer.printerState() == QPrinter::Error)
    throw EKavError("Printing failed: the printer reported an error");
}

void TOnePageReport::PrintReport(TReportLayout& printer, const TNameValueList& values,
                                 const std::string& title) {
  PrintFrame(printer);
  PrintBody(printer, values, title);
}

void TOnePageReport::PrintFrame(TReportLayout& printer) {
  QPainter& canvas = *printer.Canvas;
  canvas.setPen(
      QPen(Qt::black, printer.ScaleX(page::kPenWidth), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  canvas.setBrush(Qt::NoBrush);
  printer.RectangleAt(page::kFrame);
  printer.MoveToPoint(page::kFrame.Left, page::kFooterTop);
  printer.LineToPoint(page::kFrame.Right, page::kFooterTop);
  printer.MoveToPoint(page::kFooterDivider, page::kFooterTop);
  printer.LineToPoint(page::kFooterDivider, page::kFrame.Bottom);

  printer.SetFont(page::kFontName, printer.ScaleY(page::kFooterFontHeight), true);
  for (const page::TFooterLine& line : page::FooterLines())
    printer.TextOutAt(line.X, line.Y, line.Text);

  printer.StretchBitmapInto(page::kLogo, CompanyLogo());
}

void TOnePageReport::PrintBody(TReportLayout& printer, const TNameValueList& values,
                               const std::string& title) {
  if (!title.empty()) {
    printer.SetFontHeight(printer.ScaleY(page::kTitleFontHeight));
    printer.TextOutCentered(page::kTitleCentre, page::kTitleTop, title);
  }
  printer.Canvas->setBrush(Qt::NoBrush);
  printer.SetFontHeight(printer.ScaleY(TextHeight));

  // A value is measured in the regular face it is drawn in: measured in the
  // names' bold face, it may take a line more than it is drawn on, and the
  // next row would start below an empty line.
  printer.SetFontBold(false);
  const TBodyLayout layout =
      LayOutBody(printer, values, title, TextHeight, NameColumnLeft, ValueColumnLeft,
                 [&](const TLayoutRect& rect, const std::string& value) {
                   return printer.DrawTextIn(rect, value, dtCalcRect | dtWordBreak);
                 });
  for (const TReportRow& row : layout.Rows) {
    printer.SetFontBold(true);
    printer.DrawTextIn(row.NameRect, row.Name, dtWordBreak);
    printer.SetFontBold(false);
    printer.DrawTextIn(row.ValueRect, row.Value, dtWordBreak);
  }
}
