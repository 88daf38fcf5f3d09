#pragma once
// Small builders for the controls of the window's two pages.
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "controls/Artwork.h"
#include "controls/ControlHooks.h"
#include "controls/FramedLabel.h"
#include "controls/ReadableColor.h"
#include "controls/TableGrid.h"

// The headings' font: Verdana, bold, 8 points.
inline QFont HeadingFont() {
  return WindowsFont("Verdana", 11, true);
}

inline QLabel* Heading(const QString& text, QWidget* page, QRect box) {
  auto* label = new QLabel(text, page);
  label->setFont(HeadingFont());
  label->setGeometry(box);
  label->adjustSize();
  return label;
}

// A framed caption with white top and bottom edges, one pixel wide.
inline TFramedLabel* Caption(const QString& text, QWidget* page, QRect box) {
  auto* label = new TFramedLabel(text, page);
  label->setGeometry(box);
  // White on the designed light face; on another theme the frame follows its
  // palette rather than glare.
  const QColor face = page->palette().color(QPalette::Window);
  const QColor frame = ContrastRatio(face, Qt::white) < 1.5 ? QColor(Qt::white)
                                                            : page->palette().color(QPalette::Mid);
  label->SetTopColor(frame);
  label->SetBottomColor(frame);
  label->SetBorderWidth(1);
  // A caption wider than its box grows to the left: its right edge meets the
  // control it names.
  const int wanted = label->sizeHint().width();
  if (wanted > box.width()) label->setGeometry(box.adjusted(box.width() - wanted, 0, 0, 0));
  return label;
}

// Widens a control whose caption does not fit in its given width, up to
// `rightLimit` (the first pixel it must leave free).
inline void WidenToFit(QWidget* control, int rightLimit = 1 << 20) {
  const int wanted = std::min(control->sizeHint().width(), rightLimit - control->x());
  if (wanted > control->width()) control->resize(wanted, control->height());
}

// Runs `owner`'s `handler` when `button` is clicked, its failures shown as
// the program shows every handler's.
template <typename Owner>
void OnClick(QPushButton* button, Owner* owner, void (Owner::*handler)()) {
  QObject::connect(button, &QPushButton::clicked, owner,
                   [owner, handler] { RunGuarded([owner, handler] { (owner->*handler)(); }); });
}
