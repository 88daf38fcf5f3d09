// The wizard's page area: the pages fill the wizard above the button panel,
// and where the wizard is smaller than the pages may be (a large font scale
// on a small screen), they keep their size and scroll under the panel.
#include <QApplication>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

#include "controls/wizard/WizardParts_p.h"

void TWizard::MakePageScrolling() {
  hbar_ = new QScrollBar(Qt::Horizontal, this);
  vbar_ = new QScrollBar(Qt::Vertical, this);
  corner_ = new QWidget(this);
  corner_->setAutoFillBackground(true);
  for (QWidget* part : {static_cast<QWidget*>(hbar_), static_cast<QWidget*>(vbar_), corner_})
    part->hide();
  for (QScrollBar* bar : {hbar_, vbar_})
    connect(bar, &QScrollBar::valueChanged, this, [this] { Realign(); });
  // A control reached by Tab comes into view, as a scroll area's would; the
  // focus a window regains as it is activated moves nothing.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    if (old != nullptr) ScrollToControl(now);
  });
}

void TWizard::SetPageMinimumSize(QSize size) {
  pageMinimum_ = size;
  Realign();
}

void TWizard::Realign() {
  if (realignLocks_ > 0) return;
  const int panelHeight = panel_->height();
  panel_->setGeometry(0, height() - panelHeight, width(), panelHeight);

  // Each bar takes room from the other direction, so one may bring the other.
  const int areaWidth = width();
  const int areaHeight = std::max(0, height() - panelHeight);
  const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  bool across = pageMinimum_.width() > areaWidth;
  bool down = pageMinimum_.height() > areaHeight;
  if (down && !across) across = pageMinimum_.width() > areaWidth - extent;
  if (across && !down) down = pageMinimum_.height() > areaHeight - extent;
  const int viewWidth = std::max(0, areaWidth - (down ? extent : 0));
  const int viewHeight = std::max(0, areaHeight - (across ? extent : 0));

  hbar_->setRange(0, std::max(0, pageMinimum_.width() - viewWidth));
  hbar_->setPageStep(viewWidth);
  hbar_->setGeometry(0, viewHeight, viewWidth, extent);
  hbar_->setVisible(across);
  vbar_->setRange(0, std::max(0, pageMinimum_.height() - viewHeight));
  vbar_->setPageStep(viewHeight);
  vbar_->setSingleStep(20);
  vbar_->setGeometry(viewWidth, 0, extent, viewHeight);
  vbar_->setVisible(down);
  corner_->setGeometry(viewWidth, viewHeight, extent, extent);
  corner_->setVisible(across && down);

  const QRect page(-hbar_->value(), -vbar_->value(), std::max(viewWidth, pageMinimum_.width()),
                   std::max(viewHeight, pageMinimum_.height()));
  for (int i = 0; i < pages_->Count(); ++i)
    pages_->Items(i)->setGeometry(across || down ? page : QRect(0, 0, areaWidth, areaHeight));
  // A page brought to the front must not cover what lies over the page area.
  panel_->raise();
  for (QWidget* part : {static_cast<QWidget*>(hbar_), static_cast<QWidget*>(vbar_), corner_})
    part->raise();
}

void TWizard::ShowPageStart() {
  hbar_->setValue(0);
  vbar_->setValue(0);
  if (activePage_ == nullptr) return;
  // The focus first (the page's own, while the window is not yet active);
  // then what the page shows on entry too, where all fit.
  QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr || !activePage_->isAncestorOf(focus)) focus = activePage_->focusWidget();
  std::vector<QWidget*> wanted{focus};
  ScrollToControl(wanted.front());
  for (QWidget* control : activePage_->ShownOnEntry())
    wanted.push_back(control);
  ScrollToControls(wanted);
}

void TWizard::ScrollToControl(QWidget* control) {
  ScrollToControls({control});
}

void TWizard::ScrollToControls(const std::vector<QWidget*>& controls) {
  if (activePage_ == nullptr || (hbar_->isHidden() && vbar_->isHidden())) return;
  // The controls' box on the page, with a little room around it where there is.
  QRect box;
  for (QWidget* control : controls)
    if (control != nullptr && activePage_->isAncestorOf(control))
      box |= QRect(control->mapTo(activePage_, QPoint(0, 0)), control->size());
  if (box.isEmpty()) return;
  // A box taller or wider than the view is not brought: the last view stays.
  if (controls.size() > 1 &&
      (box.height() + 16 > vbar_->pageStep() || box.width() + 16 > hbar_->pageStep()))
    return;
  box.adjust(-8, -8, 8, 8);
  const auto bring = [](QScrollBar* bar, int low, int high) {
    const int view = bar->pageStep();
    if (high - low > view || low < bar->value())
      bar->setValue(low);
    else if (high > bar->value() + view)
      bar->setValue(high - view);
  };
  bring(hbar_, box.left(), box.right() + 1);
  bring(vbar_, box.top(), box.bottom() + 1);
}

void TWizard::resizeEvent(QResizeEvent*) {
  Realign();
}

void TWizard::wheelEvent(QWheelEvent* event) {
  // The wheel over a page that does not use it scrolls the page area.
  QScrollBar* bar = vbar_->isHidden() ? hbar_ : vbar_;
  if (!bar->isHidden()) {
    QApplication::sendEvent(bar, event);
    return;
  }
  QWidget::wheelEvent(event);
}
