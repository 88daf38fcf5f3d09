#include "controls/RecordNavigator.h"

#include <QEvent>
#include <QPainter>
#include <QToolButton>

#include "controls/ControlHooks.h"
#include "flatfile/Table.h"

namespace {

// An arrow glyph in `color`: a bar and a triangle pointing left or right.
QPixmap Glyph(TRecordNavigator::TNavigateBtn which, const QColor& color) {
  QPixmap pixmap(12, 12);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  const bool left = which == TRecordNavigator::nbFirst || which == TRecordNavigator::nbPrior;
  const bool bar = which == TRecordNavigator::nbFirst || which == TRecordNavigator::nbLast;
  const double tipX = left ? (bar ? 3.5 : 2.5) : (bar ? 8.5 : 9.5);
  const double baseX = left ? tipX + 6.0 : tipX - 6.0;
  const QPointF triangle[] = {{tipX, 6.0}, {baseX, 0.5}, {baseX, 11.5}};
  p.drawPolygon(triangle, 3);
  if (bar) p.fillRect(left ? QRectF(1.0, 0.5, 2.0, 11.0) : QRectF(9.0, 0.5, 2.0, 11.0), color);
  return pixmap;
}

// The glyph as the button's caption colours would draw it: a style's own
// greying of a black picture stays dark, so a disabled arrow would look
// enabled beside disabled buttons whose captions are light grey.
QIcon GlyphIcon(TRecordNavigator::TNavigateBtn which, const QPalette& palette) {
  QIcon icon;
  icon.addPixmap(Glyph(which, palette.color(QPalette::Active, QPalette::ButtonText)),
                 QIcon::Normal);
  icon.addPixmap(Glyph(which, palette.color(QPalette::Disabled, QPalette::ButtonText)),
                 QIcon::Disabled);
  return icon;
}

// Each button's tooltip and its name for screen readers.
const char* const kHints[] = {"First record", "Prior record", "Next record", "Last record"};

}  // namespace

TRecordNavigator::TRecordNavigator(QWidget* parent) : QWidget(parent) {
  for (int i = 0; i < 4; ++i) {
    const auto which = static_cast<TNavigateBtn>(i);
    auto* button = new QToolButton(this);
    button->setIconSize(QSize(12, 12));
    button->setToolTip(QString::fromLatin1(kHints[i]));
    button->setAccessibleName(QString::fromLatin1(kHints[i]));  // a glyph alone says nothing
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, which] { BtnClick(which); });
    buttons_[static_cast<size_t>(i)] = button;
  }
  source_.OnDataChange = [this](TField*) { UpdateButtons(); };
  source_.OnStateChange = [this] { UpdateButtons(); };
  resize(228, 25);
  PaintGlyphs();
  UpdateButtons();
}

void TRecordNavigator::PaintGlyphs() {
  for (int i = 0; i < 4; ++i)
    buttons_[static_cast<size_t>(i)]->setIcon(
        GlyphIcon(static_cast<TNavigateBtn>(i), buttons_[static_cast<size_t>(i)]->palette()));
}

void TRecordNavigator::SetDataSet(TTable* dataSet) {
  source_.SetDataSet(dataSet);
  UpdateButtons();
}

void TRecordNavigator::BtnClick(TNavigateBtn which) {
  TTable* table = DataSet();
  if (table != nullptr && table->Active()) {
    RunGuarded([&] {
      switch (which) {
        case nbFirst:
          table->First();
          break;
        case nbPrior:
          table->Prior();
          break;
        case nbNext:
          table->Next();
          break;
        case nbLast:
          table->Last();
          break;
      }
    });
  }
  // A step past either end sets the end flag without a notification.
  UpdateButtons();
}

void TRecordNavigator::UpdateButtons() {
  TTable* table = DataSet();
  const bool active = isEnabled() && table != nullptr && table->Active();
  const bool up = active && !table->Bof();
  const bool down = active && !table->Eof();
  buttons_[nbFirst]->setEnabled(up);
  buttons_[nbPrior]->setEnabled(up);
  buttons_[nbNext]->setEnabled(down);
  buttons_[nbLast]->setEnabled(down);
}

void TRecordNavigator::ArrangeButtons() {
  // Equal widths; the pixels left over go one each to the first buttons.
  const int count = static_cast<int>(buttons_.size());
  const int each = width() / count;
  int extra = width() - each * count;
  int x = 0;
  for (QToolButton* button : buttons_) {
    const int w = each + (extra > 0 ? 1 : 0);
    if (extra > 0) --extra;
    button->setGeometry(x, 0, w, height());
    x += w;
  }
}

void TRecordNavigator::resizeEvent(QResizeEvent*) {
  ArrangeButtons();
}

void TRecordNavigator::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) UpdateButtons();
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) PaintGlyphs();
  QWidget::changeEvent(event);
}
