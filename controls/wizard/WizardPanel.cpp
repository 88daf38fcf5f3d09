// The wizard's button panel and its buttons, and the drawing they share.
#include "controls/wizard/WizardParts_p.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>
#include <cmath>

#include "controls/Artwork.h"
#include "controls/ControlHooks.h"
#include "platform/Error.h"

void DrawEtchedTop(QPainter& painter, const QPalette& palette, int left, int right, int y) {
  if (right <= left) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(palette.color(QPalette::Dark), 0));
  painter.drawLine(left, y, right - 1, y);
  painter.setPen(QPen(palette.color(QPalette::Light), 0));
  painter.drawLine(left, y + 1, right - 1, y + 1);
  painter.restore();
}

QString WizardString(int id) {
  switch (id) {
    case wsHelp:
      return QStringLiteral("&Help");
    case wsBack:
      return QStringLiteral("< &Back");
    case wsNext:
      return QStringLiteral("Next >");
    case wsFinish:
      return QStringLiteral("&Finish");
    case wsCancel:
      return QStringLiteral("Cancel");
  }
  return {};
}

// ---------------------------------------------------------------- buttons

TWizardButton::TWizardButton(QWidget* parent) : QPushButton(parent) {
  resize(75, 25);
  connect(this, &QPushButton::clicked, this, &TWizardButton::Clicked);
}

void TWizardButton::SetIsDefault(bool value) {
  default_ = value;
  setDefault(value);
}

void TWizardButton::Clicked() {
  QPointer<TWizardButton> self(this);
  RunGuarded([&] {
    if (OnClick) OnClick(this);
  });
  if (!self || modalResult_ == 0) return;
  if (auto* dialog = qobject_cast<QDialog*>(window()); dialog != nullptr && dialog->isModal())
    dialog->done(modalResult_);
}

// ---------------------------------------------------------------- panel

TWizardPanel::TWizardPanel(QWidget* parent) : QWidget(parent) {}

void TWizardPanel::AddButton(TWizardButton* button) {
  // The panel places its buttons in the order they were made.
  buttons_.push_back(button);
  button->installEventFilter(this);
}

bool TWizardPanel::event(QEvent* event) {
  if (event->type() == QEvent::ChildRemoved) {
    auto* child = static_cast<QChildEvent*>(event)->child();
    buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), child), buttons_.end());
    ArrangeButtons();
  }
  return QWidget::event(event);
}

bool TWizardPanel::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
    case QEvent::Resize:
      if (std::find(buttons_.begin(), buttons_.end(), watched) != buttons_.end()) ArrangeButtons();
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void TWizardPanel::ArrangeButtons() {
  if (arranging_) return;
  arranging_ = true;
  const int top = 10;
  const int bottom = height() - 7;
  int right = width() - 8;
  for (TWizardButton* button : buttons_) {
    if (button->isHidden()) continue;
    const int w = button->width();
    button->setGeometry(right - w, top, w, bottom - top);
    right = right - w - button->Gap();
  }
  arranging_ = false;
}

void TWizardPanel::resizeEvent(QResizeEvent*) {
  ArrangeButtons();
}

void TWizardPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(backgroundRole()));
  auto* wizard = qobject_cast<TWizard*>(parentWidget());
  if (wizard != nullptr && wizard->DrawEdge()) DrawEtchedTop(painter, palette(), 8, width() - 8, 0);
}
