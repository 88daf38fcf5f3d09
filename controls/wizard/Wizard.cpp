// The wizard: its pages, layouts, buttons and the moves between pages.
#include "controls/wizard/WizardParts_p.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "controls/Artwork.h"
#include "controls/ControlHooks.h"
#include "platform/Error.h"

namespace {

// Suspends the realignment of the wizard's children while it lives, and
// realigns when it goes, also when a handler raised an error.
class RealignLock {
 public:
  RealignLock(int& locks, std::function<void()> realign)
      : locks_(locks), realign_(std::move(realign)) {
    ++locks_;
  }
  ~RealignLock() {
    if (--locks_ == 0) realign_();
  }

 private:
  int& locks_;
  std::function<void()> realign_;
};

}  // namespace

// ---------------------------------------------------------------- wizard

TWizard::TWizard(QWidget* parent)
    : QWidget(parent), layouts_(std::make_unique<TWizardLayouts>(this)) {
  if (parent != nullptr) {
    parent->installEventFilter(this);
    setGeometry(parent->rect());
  }
  pages_ = std::make_unique<TPageList>(this);
  panel_ = new TWizardPanel(this);
  // No placement until the panel has its height from the Next button.
  TWizardParts::HoldPlacement(*panel_, true);

  cancelButton_ = MakeButton(wsCancel, 8);
  cancelButton_->SetIsCancel(true);
  cancelButton_->SetModalResult(2);
  nextButton_ = MakeButton(wsNext, 0);
  nextButton_->SetIsDefault(true);
  nextButton_->OnClick = [this](QObject*) { NextClick(); };
  backButton_ = MakeButton(wsBack, 8);
  backButton_->OnClick = [this](QObject*) { BackClick(); };
  helpButton_ = MakeButton(wsHelp, 0);
  helpButton_->OnClick = [this](QObject*) { HelpClick(); };

  // Tab order Help, Back, Next, Cancel: a widget that joins a window goes to
  // the end of its focus chain, so the buttons join the panel in that order.
  for (TWizardButton* button : {helpButton_, backButton_, nextButton_, cancelButton_}) {
    button->setParent(panel_);
    button->resize(75, 25);
    button->show();
  }

  panel_->resize(width(), nextButton_->height() + 17);
  TWizardParts::HoldPlacement(*panel_, false);
  SetButtons(epwbCancel);
  MakePageScrolling();
  Realign();
}

TWizard::~TWizard() {
  // The pages are destroyed after this body as the wizard's children; they
  // must not call back into a wizard that is half gone.
  for (int i = 0; i < pages_->Count(); ++i)
    TWizardParts::Attach(*pages_->Items(i), nullptr);
  pages_->Clear();
  activePage_ = nullptr;
  firstPage_ = nullptr;
  currentLayout_ = nullptr;
  if (parentWidget() != nullptr) parentWidget()->removeEventFilter(this);
}

TWizardButton* TWizard::MakeButton(int caption, int gap) {
  auto* button = new TWizardButton(nullptr);
  TWizardParts::AddButton(*panel_, button);
  button->setText(WizardString(caption));
  button->SetGap(gap);
  return button;
}

void TWizard::BeginLoading() {
  loading_ = true;
}

void TWizard::EndLoading() {
  loading_ = false;
  if (pages_->Count() > 0) ApplyLayout();
}

void TWizard::SetActivePage(TWizardPage* page) {
  if (page == activePage_) return;
  if (page != nullptr && page->Wizard() != this) return;
  Changing();
  {
    RealignLock lock(realignLocks_, [this] { Realign(); });
    if (page != nullptr) {
      page->raise();
      page->show();
      FocusFirstControl(page);
    }
    if (activePage_ != nullptr) activePage_->hide();
    activePage_ = page;
    ShowPageStart();
    ApplyBackRule();
    ApplyNextRule();
    ApplyCaptionRule();
  }
  Change();
}

void TWizard::SetFirstPage(TWizardPage* page) {
  firstPage_ = page;
  if (loading_) SetActivePage(page);
}

void TWizard::SetButtons(TWizardButtonFlags buttons) {
  if (buttons == buttons_) return;
  helpButton_->setVisible(buttons.testFlag(epwbHelp));
  cancelButton_->setVisible(buttons.testFlag(epwbCancel));
  buttons_ = buttons;
}

void TWizard::SetDrawEdge(bool value) {
  if (value == drawEdge_) return;
  drawEdge_ = value;
  panel_->update();
}

void TWizard::SetLayouts(const TWizardLayouts& layouts) {
  layouts_->Assign(layouts);
  currentLayout_ = nullptr;
}

void TWizard::SetLayout(const QString& name) {
  if (name == layout_) return;
  layout_ = name;
  if (!loading_) ApplyLayout();
}

void TWizard::ApplyLayout() {
  const int index = layouts_->FindByName(layout_);
  if (index < 0) {
    currentLayout_ = nullptr;
    return;
  }
  currentLayout_ = layouts_->Items(index);
  for (int i = 0; i < pages_->Count(); ++i) {
    TWizardPage* page = pages_->Items(i);
    TWizardParts::SetIncluded(*page,
                              currentLayout_->Pages.contains(page->Name(), Qt::CaseInsensitive));
  }
  if (currentLayout_->Pages.isEmpty()) return;
  const int first = pages_->IndexOfName(currentLayout_->Pages.first());
  if (first >= 0) SetActivePage(pages_->Items(first));
}

void TWizard::LayoutRemoved(const TWizardLayout* layout) {
  if (currentLayout_ == layout) currentLayout_ = nullptr;
}

const TNotifyEvent& TWizard::OnCancelClick() const {
  return cancelButton_->OnClick;
}

void TWizard::SetOnCancelClick(TNotifyEvent handler) {
  cancelButton_->OnClick = std::move(handler);
}

void TWizard::InsertPage(TWizardPage* page) {
  if (pages_->IndexOf(page) < 0) pages_->Add(page);
  if (page->parentWidget() != this) page->setParent(this);
  TWizardParts::Attach(*page, this);
  Realign();
  if (!loading_) SetActivePage(page);
}

void TWizard::RemovePage(TWizardPage* page) {
  if (pages_->IndexOf(page) < 0) return;
  TWizardPage* neighbour = FindNeighbour(page, true, false);
  if (neighbour == nullptr) neighbour = FindNeighbour(page, false, false);
  SetActivePage(neighbour);
  TWizardParts::Attach(*page, nullptr);
  pages_->Remove(page);
  if (firstPage_ == page) firstPage_ = nullptr;
}

void TWizard::MovePage(int from, int to) {
  pages_->Move(from, to);
}

TWizardPage* TWizard::FindNeighbour(const TWizardPage* page, bool forward,
                                    bool includedOnly) const {
  const int index = pages_->IndexOf(page);
  if (index < 0) return nullptr;
  const int step = forward ? 1 : -1;
  for (int i = index + step; i >= 0 && i < pages_->Count(); i += step) {
    TWizardPage* candidate = pages_->Items(i);
    if (!includedOnly || candidate->Include()) return candidate;
  }
  return nullptr;
}

void TWizard::ApplyBackRule() {
  backButton_->setEnabled(isEnabled() && FindNeighbour(activePage_, false, true) != nullptr);
}

void TWizard::ApplyNextRule() {
  nextButton_->setEnabled(isEnabled() && activePage_ != nullptr && activePage_->DoneQuery());
}

void TWizard::ApplyCaptionRule() {
  nextButton_->setText(WizardString(FindNeighbour(activePage_, true, true) ? wsNext : wsFinish));
}

void TWizard::UpdateNextButton() {
  ApplyNextRule();
}

void TWizard::IncludeChanged(TWizardPage* page, bool value) {
  if (page != activePage_ || value) return;
  // An excluded active page stays where it is (the page at the smaller of the
  // last index and its own index is itself), unless it is the only page.
  if (pages_->Count() == 1) {
    SetActivePage(nullptr);
    return;
  }
  const int index = std::min(pages_->Count() - 1, pages_->IndexOf(page));
  SetActivePage(pages_->Items(index));
}

void TWizard::NextClick() {
  if (activePage_ == nullptr) return;
  if (!activePage_->DoneQuery()) return;
  if (FindNeighbour(activePage_, true, true) != nullptr) {
    if (activePage_->AllowAdvance()) StepPage(true);
  } else if (OnFinishClick) {
    OnFinishClick(this);
  }
}

void TWizard::BackClick() {
  StepPage(false);
}

void TWizard::HelpClick() {
  for (QWidget* w = activePage_; w != nullptr; w = w->parentWidget()) {
    if (const int context = HelpContext(w); context != 0) {
      ShowHelpContext(context);
      return;
    }
  }
}

void TWizard::StepPage(bool forward) {
  TWizardPage* target = FindNeighbour(activePage_, forward, true);
  if (target == nullptr) return;
  if (activePage_ != nullptr) activePage_->DoDeActivate();
  target->DoPreActivate();
  SetActivePage(target);
}

void TWizard::ShowControl(QWidget* control) {
  for (int i = 0; i < pages_->Count(); ++i) {
    TWizardPage* page = pages_->Items(i);
    if (page == control || page->isAncestorOf(control)) {
      SetActivePage(page);
      return;
    }
  }
}

void TWizard::Changing() {
  if (OnChanging) OnChanging(this);
}

void TWizard::Change() {
  if (OnChange) OnChange(this);
}

void TWizard::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) {
    const bool enabled = isEnabled();
    helpButton_->setEnabled(enabled);
    cancelButton_->setEnabled(enabled);
    if (enabled) {
      ApplyNextRule();
      ApplyBackRule();
    } else {
      backButton_->setEnabled(false);
      nextButton_->setEnabled(false);
    }
  }
  QWidget::changeEvent(event);
}

void TWizard::FocusFirstControl(TWizardPage* page) {
  focusPending_ = !page->isVisible();
  if (focusPending_ || !page->isEnabled()) return;
  for (QWidget* w = page->nextInFocusChain(); w != page; w = w->nextInFocusChain()) {
    if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() &&
        w->isEnabled()) {
      w->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

void TWizard::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (focusPending_ && activePage_ != nullptr) FocusFirstControl(activePage_);
}

void TWizard::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
    // A focused push button takes Enter for itself; otherwise the default button.
    if (auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
        focused != nullptr && isAncestorOf(focused) && focused->isEnabled()) {
      focused->click();
      event->accept();
      return;
    }
    for (TWizardButton* button : panel_->Buttons()) {
      if (button->IsDefault() && !button->isHidden() && button->isEnabled()) {
        button->click();
        event->accept();
        return;
      }
    }
  } else if (plain && key == Qt::Key_Escape) {
    for (TWizardButton* button : panel_->Buttons()) {
      if (button->IsCancel() && !button->isHidden() && button->isEnabled()) {
        button->click();
        event->accept();
        return;
      }
    }
  }
  QWidget::keyPressEvent(event);
}

bool TWizard::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize)
    setGeometry(parentWidget()->rect());
  return QWidget::eventFilter(watched, event);
}
