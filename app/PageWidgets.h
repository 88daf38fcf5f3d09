#pragma once
// Small builders for the controls of the window's two pages.
#include <QLabel>

#include "controls/Artwork.h"
#include "controls/DBGrid.h"
#include "controls/ZQLabel.h"

// The headings' font: Verdana, bold, 8 points.
inline QFont HeadingFont() { return WindowsFont("Verdana", 11, true); }

inline QLabel* Heading(const QString& text, QWidget* page, QRect box) {
  auto* label = new QLabel(text, page);
  label->setFont(HeadingFont());
  label->setGeometry(box);
  label->adjustSize();
  return label;
}

// A framed caption with white top and bottom edges, one pixel wide.
inline TZQLabel* Caption(const QString& text, QWidget* page, QRect box) {
  auto* label = new TZQLabel(text, page);
  label->setGeometry(box);
  label->SetTopColor(Qt::white);
  label->SetBottomColor(Qt::white);
  label->SetBorderWidth(1);
  return label;
}

// Widens a control whose caption does not fit in its given width.
inline void WidenToFit(QWidget* control) {
  const int wanted = control->sizeHint().width();
  if (wanted > control->width()) control->resize(wanted, control->height());
}

inline TDBGridColumn CentredColumn(const char* field, const char* title, int width) {
  TDBGridColumn column;
  column.FieldName = field;
  column.Title = QString::fromLatin1(title);
  column.Width = width;
  column.Alignment = column.TitleAlignment = Qt::AlignCenter;
  return column;
}
