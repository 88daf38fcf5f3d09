#include "controls/Artwork.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kNavy(0x00, 0x00, 0x80);

// A dish antenna on a short mast, drawn into a 32 x 32 unit square.
void DrawDish(QPainter& p, const QColor& outline, bool waves) {
  p.setRenderHint(QPainter::Antialiasing, true);
  // Mast and foot.
  p.setPen(QPen(QColor(0x40, 0x40, 0x40), 2.0, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(12.5, 19.0), QPointF(12.5, 29.0));
  p.setPen(QPen(QColor(0x40, 0x40, 0x40), 2.0, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(7.0, 29.5), QPointF(18.0, 29.5));
  // The reflector, seen from the side and turned toward the upper right.
  p.save();
  p.translate(11.0, 14.0);
  p.rotate(-35.0);
  QLinearGradient shade(QPointF(-4, -11), QPointF(4, 11));
  shade.setColorAt(0.0, QColor(0xF4, 0xF4, 0xF4));
  shade.setColorAt(1.0, QColor(0xA8, 0xB0, 0xBC));
  p.setBrush(shade);
  p.setPen(QPen(outline, 1.4));
  QPainterPath bowl;
  bowl.moveTo(0, -11.5);
  bowl.cubicTo(-7.5, -6.0, -7.5, 6.0, 0, 11.5);
  bowl.closeSubpath();
  p.drawPath(bowl);
  // Feed arm and horn.
  p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(-2.5, 0), QPointF(8.5, 0));
  p.setBrush(QColor(0xC0, 0x20, 0x20));
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(7.5, -1.8, 3.0, 3.6));
  p.restore();
  if (waves) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xD0, 0x30, 0x20), 1.5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
      const double r = 4.0 + 3.5 * i;
      p.drawArc(QRectF(22.0 - r, 6.0 - r, 2 * r, 2 * r), 200 * 16, 70 * 16);
    }
  }
}

// The largest font of `base`'s family, up to `pixels` high, in which `text`
// fits `width`.
QFont Fitting(QFont font, int pixels, const QString& text, int width) {
  for (; pixels > 6; --pixels) {
    font.setPixelSize(pixels);
    if (QFontMetrics(font).horizontalAdvance(text) <= width) break;
  }
  return font;
}

}  // namespace

QFont WindowsFont(const QString& family, int pixels, bool bold) {
  QFont font(family);
  font.setFamilies({family, QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QImage KavProgramIconImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.scale(size / 32.0, size / 32.0);
  DrawDish(p, kNavy, true);
  return image;
}

QIcon KavProgramIcon() {
  static const QIcon icon = [] {
    QIcon result;
    for (int size : {16, 32, 48})
      result.addPixmap(QPixmap::fromImage(KavProgramIconImage(size)));
    return result;
  }();
  return icon;
}

QPixmap OstrelLogo() {
  QPixmap pixmap(126, 47);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);

  p.save();
  p.translate(1, 4);
  p.scale(38.0 / 32.0, 38.0 / 32.0);
  DrawDish(p, kNavy, true);
  p.restore();

  const QString title = QStringLiteral("OSTREL");
  const QString line2 = QStringLiteral("MICROWAVE SYSTEMS");
  QFont name = WindowsFont(QStringLiteral("Verdana"), 21, true);
  name.setLetterSpacing(QFont::AbsoluteSpacing, 1.0);
  name = Fitting(name, 21, title, 84);
  p.setFont(name);
  p.setPen(kNavy);
  p.drawText(QRect(40, 2, 86, 28), Qt::AlignHCenter | Qt::AlignVCenter, title);

  p.setPen(QPen(QColor(0xC0, 0x20, 0x20), 1.5));
  p.drawLine(QPointF(41, 30.5), QPointF(124, 30.5));

  QFont line = WindowsFont(QStringLiteral("Verdana"), 9, true);
  line.setLetterSpacing(QFont::AbsoluteSpacing, 0.3);
  p.setFont(Fitting(line, 9, line2, 84));
  p.setPen(QColor(0x40, 0x40, 0x40));
  p.drawText(QRect(40, 32, 86, 13), Qt::AlignHCenter | Qt::AlignVCenter, line2);
  return pixmap;
}
