#include "controls/LinkLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include "platform/QString1252.h"
#include "platform/Shell.h"

TLinkLabel::TLinkLabel(QWidget* parent) : QLabel(parent) {
  setText(QStringLiteral("www.ostrel.example"));
  url_ = QStringLiteral("http://www.ostrel.example/");
  QFont f = font();
  f.setUnderline(true);
  setFont(f);
  SetFontColor(colorNormal_);
  setFocusPolicy(Qt::StrongFocus);
}

void TLinkLabel::SetColorNormal(const QColor& color) {
  colorNormal_ = color;
  SetFontColor(color);
}

QColor TLinkLabel::FontColor() const {
  return palette().color(QPalette::WindowText);
}

void TLinkLabel::SetFontColor(const QColor& color) {
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, color);
  setPalette(pal);
}

// The right and bottom edges count as inside.
bool TLinkLabel::Inside(QPoint pos) const {
  return pos.x() >= 0 && pos.x() <= width() && pos.y() >= 0 && pos.y() <= height();
}

void TLinkLabel::mousePressEvent(QMouseEvent* event) {
  pressed_ = true;
  SetFontColor(colorClick_);
  event->accept();
}

void TLinkLabel::mouseMoveEvent(QMouseEvent* event) {
  // While the button is held the label keeps the mouse, so leaving and coming
  // back show here rather than as leave and enter events.
  if (pressed_) SetFontColor(Inside(event->position().toPoint()) ? colorClick_ : colorNormal_);
  event->accept();
}

void TLinkLabel::enterEvent(QEnterEvent*) {
  SetFontColor(pressed_ ? colorClick_ : colorMoveOver_);
}

void TLinkLabel::leaveEvent(QEvent*) {
  SetFontColor(colorNormal_);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (Inside(event->position().toPoint())) {
    if (pressed_) Open();
    SetFontColor(colorMoveOver_);
  } else {
    SetFontColor(colorNormal_);
  }
  pressed_ = false;
  event->accept();
}

void TLinkLabel::Open() {
  if (shell_ != nullptr) shell_->Open(ToAnsi(url_.isEmpty() ? text() : url_));
}

void TLinkLabel::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (event->modifiers() == Qt::NoModifier &&
      (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
    Open();
    event->accept();
    return;
  }
  QLabel::keyPressEvent(event);
}

void TLinkLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  QStylePainter painter(this);
  QStyleOptionFocusRect focus;
  focus.initFrom(this);
  painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}
