// A wizard page and its header.
#include "controls/wizard/WizardParts_p.h"

#include <QAccessible>
#include <QAccessibleWidget>
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

namespace {

// Font heights of the page header, in pixels at 96 pixels per inch
// (12 and 8 points).
constexpr int kTitlePixels = 16;
constexpr int kPositionPixels = 11;
constexpr int kHeaderIcon = 32;

// The header is painted, so a screen reader would find neither the page's
// title nor its step: the page is a pane named by its title and described by
// its step, and entering it tells the reader which page it is.
class TWizardPageAccessible : public QAccessibleWidget {
 public:
  explicit TWizardPageAccessible(TWizardPage* page) : QAccessibleWidget(page, QAccessible::Pane) {}
  QString text(QAccessible::Text kind) const override {
    const auto* page = static_cast<const TWizardPage*>(widget());
    if (kind == QAccessible::Name && page->accessibleName().isEmpty()) return page->Title();
    if (kind == QAccessible::Description && page->accessibleDescription().isEmpty())
      return page->PositionText().trimmed();
    return QAccessibleWidget::text(kind);
  }
};

QAccessibleInterface* WizardPageAccessible(const QString& className, QObject* object) {
  if (className == QLatin1String(TWizardPage::staticMetaObject.className()))
    if (auto* page = qobject_cast<TWizardPage*>(object)) return new TWizardPageAccessible(page);
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------- page list

int TPageList::IndexOf(const TWizardPage* page) const {
  if (page == nullptr) return -1;
  auto it = std::find(pages_.begin(), pages_.end(), page);
  return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

int TPageList::IndexOfName(const QString& name) const {
  for (int i = 0; i < Count(); ++i)
    if (pages_[static_cast<size_t>(i)]->Name().compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

void TPageList::Remove(const TWizardPage* page) {
  pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
}

void TPageList::Move(int from, int to) {
  if (from < 0 || from >= Count()) throw EKavError(ListIndexError(from));
  if (to < 0 || to >= Count()) throw EKavError(ListIndexError(to));
  TWizardPage* page = pages_[static_cast<size_t>(from)];
  pages_.erase(pages_.begin() + from);
  pages_.insert(pages_.begin() + to, page);
}

// ---------------------------------------------------------------- page

TWizardPage::TWizardPage(QWidget* parent) : QWidget(parent) {
  static const bool accessible = (QAccessible::installFactory(WizardPageAccessible), true);
  Q_UNUSED(accessible);
  hide();
  if (auto* wizard = qobject_cast<TWizard*>(parent)) SetWizard(wizard);
}

TWizardPage::~TWizardPage() {
  SetWizard(nullptr);
}

void TWizardPage::SetWizard(TWizard* wizard) {
  if (wizard == wizard_) return;
  if (wizard_ != nullptr) wizard_->RemovePage(this);
  if (wizard != nullptr) wizard->InsertPage(this);
}

void TWizardPage::SetInclude(bool value) {
  if (wizard_ != nullptr && wizard_->Loading()) {
    include_ = value;
    return;
  }
  if (value == include_ || wizard_ == nullptr || wizard_->CurrentLayout() == nullptr ||
      !wizard_->CurrentLayout()->Pages.contains(Name(), Qt::CaseInsensitive))
    return;
  include_ = value;
  TWizardParts::IncludeChanged(*wizard_, this, value);
}

void TWizardPage::SetTitle(const QString& title) {
  if (title == title_) return;
  title_ = title;
  update();
  QAccessibleEvent event(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&event);
}

int TWizardPage::PageIndex() const {
  return wizard_ == nullptr ? -1 : wizard_->PageList().IndexOf(this);
}

void TWizardPage::SetPageIndex(int index) {
  if (wizard_ != nullptr) wizard_->MovePage(PageIndex(), index);
}

bool TWizardPage::DoneQuery() {
  bool done = true;
  if (OnDoneQuery) OnDoneQuery(this, done);
  return done;
}

bool TWizardPage::AllowAdvance() {
  bool advance = true;
  if (OnAllowAdvance) OnAllowAdvance(this, advance);
  return advance;
}

void TWizardPage::DoPreActivate() {
  if (OnPreActivate) OnPreActivate(this);
}

void TWizardPage::DoDeActivate() {
  if (OnDeActivate) OnDeActivate(this);
}

QString TWizardPage::PositionText() const {
  const int count = wizard_ == nullptr ? 0 : wizard_->PageCount();
  return QStringLiteral("Wizard - Screen %1 of %2 ").arg(PageIndex() + 1).arg(count);
}

TWizardPage::THeaderGeometry TWizardPage::HeaderGeometry() const {
  THeaderGeometry g;
  const int cw = width(), ch = height();
  const int gapY = RoundHalfEven(0.02 * ch);
  g.x0 = RoundHalfEven(0.03 * cw);
  g.y0 = RoundHalfEven(0.12 * ch);
  g.iconSize = QSize(kHeaderIcon, kHeaderIcon);
  g.iconPos = QPoint(g.x0, g.y0 - RoundHalfEven(0.02 * ch + g.iconSize.height()));
  g.ruleLeft = 8;
  g.ruleRight = cw - 8;
  g.ruleY = g.y0;

  g.title = title_;
  g.titleFont = font();
  g.titleFont.setPixelSize(kTitlePixels);
  g.titleFont.setBold(true);
  const QFontMetrics titleMetrics(g.titleFont);
  g.titlePos = QPoint(g.x0 + g.iconSize.width() + RoundHalfEven(0.02 * cw),
                      g.y0 - (titleMetrics.height() + gapY));

  g.position = PositionText();
  g.positionFont = font();
  g.positionFont.setPixelSize(kPositionPixels);
  g.positionFont.setBold(false);
  const QFontMetrics positionMetrics(g.positionFont);
  g.positionRight = RoundHalfEven(0.97 * cw);
  g.positionPos = QPoint(g.positionRight - positionMetrics.horizontalAdvance(g.position),
                         g.y0 - (positionMetrics.height() + gapY));
  return g;
}

void TWizardPage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(backgroundRole()));
  const THeaderGeometry g = HeaderGeometry();

  QIcon icon = QGuiApplication::windowIcon();
  if (icon.isNull()) icon = KavProgramIcon();
  painter.drawPixmap(QRect(g.iconPos, g.iconSize), icon.pixmap(g.iconSize));

  DrawEtchedTop(painter, palette(), g.ruleLeft, g.ruleRight, g.ruleY);

  painter.setPen(palette().color(QPalette::WindowText));
  painter.setFont(g.titleFont);
  painter.drawText(g.titlePos + QPoint(0, QFontMetrics(g.titleFont).ascent()), g.title);
  painter.setFont(g.positionFont);
  painter.drawText(g.positionPos + QPoint(0, QFontMetrics(g.positionFont).ascent()), g.position);
}
