#include "controls/ProgramStyle.h"

#include <QPainter>
#include <QStyleOption>

void TProgramStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
  if (element != PE_FrameFocusRect) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    return;
  }
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->setBrush(Qt::NoBrush);
  painter->setPen(QPen(option->palette.color(QPalette::Active, QPalette::Highlight), 0));
  painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
  painter->restore();
}

void TProgramStyle::drawControl(ControlElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
  QProxyStyle::drawControl(element, option, painter, widget);
  if (element == CE_PushButton && (option->state & State_HasFocus))
    DrawFocusRing(*painter, option->rect, option->palette);
}

void DrawFocusRing(QPainter& painter, const QRect& rect, const QPalette& palette) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(palette.color(QPalette::Active, QPalette::Highlight), 2));
  // A two-pixel pen straddles its line: one pixel in from the edge keeps the
  // whole ring inside.
  painter.drawRect(rect.adjusted(1, 1, -1, -1));
  painter.restore();
}
