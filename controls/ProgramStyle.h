#pragma once
// The program's look over the desktop's style: every focusable control shows
// where the focus is, distinctly from its other states. Some styles draw a
// focused push button as they draw the default button (the wizard's Next), so
// a focused button here also gets the focus ring; and the focus frame around
// a radio button's caption is drawn solid, where some styles draw it faint.
#include <QProxyStyle>

class QPainter;

class TProgramStyle : public QProxyStyle {
  Q_OBJECT
 public:
  // Over the application's default style.
  TProgramStyle() = default;

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
};

// The focus mark of controls whose style shows none or too little: a ring two
// pixels wide in the highlight colour, just inside `rect`.
void DrawFocusRing(QPainter& painter, const QRect& rect, const QPalette& palette);
