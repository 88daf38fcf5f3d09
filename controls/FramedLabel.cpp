#include "controls/FramedLabel.h"

#include <QPainter>

TFramedLabel::TFramedLabel(QWidget* parent) : TFramedLabel(QString(), parent) {}

TFramedLabel::TFramedLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
  setAlignment(Qt::AlignCenter);
}

void TFramedLabel::SetTopColor(const QColor& color) {
  topColor_ = color;
  update();
}

void TFramedLabel::SetBottomColor(const QColor& color) {
  bottomColor_ = color;
  update();
}

void TFramedLabel::SetBorderWidth(int width) {
  borderWidth_ = width;
  update();
}

void TFramedLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, false);
  // Each ring one pixel inside the one before; the bottom-right colour is
  // drawn last, so it owns the top-right and bottom-left corners.
  int left = 0, top = 0, right = width() - 1, bottom = height() - 1;
  for (int ring = 0; ring < borderWidth_ && left <= right && top <= bottom; ++ring) {
    p.setPen(QPen(topColor_, 0));
    p.drawLine(left, bottom, left, top);
    if (right > left) p.drawLine(left, top, right - 1, top);
    p.setPen(QPen(bottomColor_, 0));
    p.drawLine(right, top, right, bottom);
    p.drawLine(right, bottom, left, bottom);
    ++left, ++top, --right, --bottom;
  }
}
