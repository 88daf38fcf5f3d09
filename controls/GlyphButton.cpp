#include "controls/GlyphButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

TGlyphButton::TGlyphButton(const QIcon& glyph, const QString& caption, QWidget* parent)
    : QPushButton(glyph, caption, parent) {}

void TGlyphButton::SetSpacing(int spacing) {
  spacing_ = spacing;
  update();
}

void TGlyphButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  painter.drawControl(QStyle::CE_PushButtonBevel, option);

  const QRect inside = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  const QSize glyph = iconSize();
  const int captionWidth = option.fontMetrics.horizontalAdvance(text());
  const int total = glyph.width() + spacing_ + captionWidth;
  // A pressed button shifts its content as the style shifts a plain one's.
  const int shift =
      isDown() ? style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this) : 0;
  const int left = inside.left() + (inside.width() - total) / 2 + shift;
  const int top = inside.top() + (inside.height() - glyph.height()) / 2 + shift;
  const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
  painter.drawPixmap(left, top, icon().pixmap(glyph, devicePixelRatio(), mode));
  const QRect caption(left + glyph.width() + spacing_, inside.top() + shift, captionWidth + 1,
                      inside.height());
  style()->drawItemText(&painter, caption, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                        text(), QPalette::ButtonText);
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}
