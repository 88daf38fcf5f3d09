#pragma once
// A sunken line along the bottom edge of a box, as the window's headings use.
#include <QPainter>
#include <QWidget>

#include "controls/wizard/Wizard.h"

class TEtchedLine : public QWidget {
 public:
  // `box` is the bevel's box on its parent: the line lies along its bottom.
  TEtchedLine(QWidget* parent, QRect box) : QWidget(parent) {
    setGeometry(box.x(), box.y() + box.height() - 2, box.width(), 2);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    DrawEtchedTop(painter, palette(), 0, width(), 0);
  }
};
