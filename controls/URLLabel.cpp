#include "controls/URLLabel.h"

#include <QMouseEvent>

#include "platform/Cp1252.h"
#include "platform/Shell.h"

TURLLabel::TURLLabel(QWidget* parent) : QLabel(parent) {
  setText(QStringLiteral("www.ostrel.example"));
  url_ = QStringLiteral("http://www.ostrel.example/");
  QFont f = font();
  f.setUnderline(true);
  setFont(f);
  SetFontColor(colorNormal_);
}

void TURLLabel::SetColorNormal(const QColor& color) {
  colorNormal_ = color;
  SetFontColor(color);
}

QColor TURLLabel::FontColor() const {
  return palette().color(QPalette::WindowText);
}

void TURLLabel::SetFontColor(const QColor& color) {
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, color);
  setPalette(pal);
}

void TURLLabel::mousePressEvent(QMouseEvent* event) {
  pressed_ = true;
  SetFontColor(colorClick_);
  event->accept();
}

void TURLLabel::enterEvent(QEnterEvent*) {
  SetFontColor(pressed_ ? colorClick_ : colorMoveOver_);
}

void TURLLabel::leaveEvent(QEvent*) {
  SetFontColor(colorNormal_);
}

void TURLLabel::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const bool inside = pos.x() >= 0 && pos.x() <= width() && pos.y() >= 0 && pos.y() <= height();
  if (inside) {
    if (pressed_ && shell_ != nullptr) shell_->Open(ToAnsi(url_.isEmpty() ? text() : url_));
    SetFontColor(colorMoveOver_);
  } else {
    SetFontColor(colorNormal_);
  }
  pressed_ = false;
  event->accept();
}
