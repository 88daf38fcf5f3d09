#pragma once
// The wizard control: a window area that shows one of an ordered list of
// pages at a time, with Help, Back, Next (Finish on the last page) and Cancel
// buttons along its bottom edge. Named layouts choose which pages take part
// in Back and Next, so that one wizard runs with all its pages or a subset.
//
// Building a wizard the way the main window does:
//
//   auto* wizard = new TWizard(window);
//   wizard->BeginLoading();
//   auto* page1 = new TWizardPage(wizard);   // joins the wizard
//   page1->SetName("EPWizardPage1");
//   page1->SetTitle("Antenna Selection");
//   ...
//   wizard->Layouts().Add("Full", {"EPWizardPage1", "EPWizardPage2"});
//   wizard->SetLayout("Full");
//   wizard->SetFirstPage(page1);               // activates page1
//   wizard->EndLoading();                      // applies the layout
//
// Between BeginLoading and EndLoading assignments are only stored: the layout
// is not applied, Include is stored as given, and a page that joins is not
// activated. At run time every assignment has its full effect.
#include <QFlags>
#include <QFont>
#include <QPalette>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Rounding.h"

class QPainter;
class QScrollBar;
class TWizard;
class TWizardPage;
class TWizardPanel;
struct TWizardParts;

// The optional buttons of a wizard.
enum TWizardButtonFlag { epwbHelp = 0x1, epwbCancel = 0x2 };
Q_DECLARE_FLAGS(TWizardButtonFlags, TWizardButtonFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TWizardButtonFlags)

// The program's string table of wizard captions.
enum TWizardString { wsHelp = 1, wsBack = 2, wsNext = 3, wsFinish = 4, wsCancel = 5 };
QString WizardString(int id);

using TNotifyEvent = std::function<void(QObject* sender)>;
using TWizardDoneQueryEvent = std::function<void(QObject* sender, bool& done)>;
using TWizardAllowAdvance = std::function<void(QObject* sender, bool& advance)>;

// A button of the wizard's panel. Its click runs OnClick with the button as
// sender; errors raised there go to the application's error report.
class TWizardButton : public QPushButton {
  Q_OBJECT
 public:
  explicit TWizardButton(QWidget* parent = nullptr);

  TNotifyEvent OnClick;

  // The space the panel leaves between this button and the next one on its left.
  int Gap() const { return gap_; }
  void SetGap(int gap) { gap_ = gap; }
  // Enter presses the default button, Esc the cancel button.
  bool IsDefault() const { return default_; }
  void SetIsDefault(bool value);
  bool IsCancel() const { return cancel_; }
  void SetIsCancel(bool value) { cancel_ = value; }
  // The result a modal dialog holding the wizard ends with when the button is
  // clicked (0: none).
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }

 private:
  void Clicked();

  int gap_ = 0;
  bool default_ = false;
  bool cancel_ = false;
  int modalResult_ = 0;
};

// One named selection of pages.
class TWizardLayout {
 public:
  QString Name;
  QStringList Pages;  // component names of pages
  void Assign(const TWizardLayout& other) {
    Name = other.Name;
    Pages = other.Pages;
  }
};

// The wizard's layouts, owned by the wizard.
class TWizardLayouts {
 public:
  explicit TWizardLayouts(TWizard* owner = nullptr) : owner_(owner) {}
  TWizardLayouts(const TWizardLayouts&) = delete;
  TWizardLayouts& operator=(const TWizardLayouts&) = delete;

  TWizard* Owner() const { return owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TWizardLayout* Items(int index) const;
  // A new item named "Layout<n>", n the item count including the new one.
  TWizardLayout* Add();
  TWizardLayout* Add(const QString& name, const QStringList& pages);
  void Delete(int index);
  void Clear();
  // The first item whose name equals `name` without regard to letter case, or -1.
  int FindByName(const QString& name) const;
  void Assign(const TWizardLayouts& other);

 private:
  TWizard* owner_;
  std::vector<std::unique_ptr<TWizardLayout>> items_;
};

// The wizard's pages in navigation order.
class TPageList {
 public:
  explicit TPageList(TWizard* wizard) : wizard_(wizard) {}
  TWizard* Wizard() const { return wizard_; }
  int Count() const { return static_cast<int>(pages_.size()); }
  TWizardPage* Items(int index) const { return pages_.at(static_cast<size_t>(index)); }
  int IndexOf(const TWizardPage* page) const;
  // The first page whose component name equals `name` without regard to letter case, or -1.
  int IndexOfName(const QString& name) const;
  void Add(TWizardPage* page) { pages_.push_back(page); }
  void Remove(const TWizardPage* page);
  void Move(int from, int to);
  void Clear() { pages_.clear(); }

 private:
  TWizard* wizard_;
  std::vector<TWizardPage*> pages_;
};

// One page of a wizard. It fills the wizard above the button panel and paints
// its own header: the application icon, the title, an etched rule and the
// text "Wizard - Screen <n> of <count> ".
class TWizardPage : public QWidget {
  Q_OBJECT
 public:
  // A page created with a wizard as parent joins that wizard.
  explicit TWizardPage(QWidget* parent = nullptr);
  ~TWizardPage() override;

  // The component name layouts refer to (the object name).
  QString Name() const { return objectName(); }
  void SetName(const QString& name) { setObjectName(name); }

  bool Include() const { return include_; }
  void SetInclude(bool value);
  TWizard* Wizard() const { return wizard_; }
  void SetWizard(TWizard* wizard);
  const QString& Title() const { return title_; }
  void SetTitle(const QString& title);
  // Position in the wizard's page list, -1 without a wizard. Assigning moves
  // the page in the list and nothing else.
  int PageIndex() const;
  void SetPageIndex(int index);

  TWizardDoneQueryEvent OnDoneQuery;
  TWizardAllowAdvance OnAllowAdvance;
  TNotifyEvent OnPreActivate;
  TNotifyEvent OnDeActivate;

  // Raise OnDoneQuery / OnAllowAdvance with the answer preset to true.
  virtual bool DoneQuery();
  virtual bool AllowAdvance();
  void DoPreActivate();
  void DoDeActivate();

  // Controls brought into view with the focus when the page is entered on a
  // screen too small for it (a result the user came for), where they fit.
  const std::vector<QWidget*>& ShownOnEntry() const { return shownOnEntry_; }
  void SetShownOnEntry(std::vector<QWidget*> controls) { shownOnEntry_ = std::move(controls); }

  // Where the header's parts go for the page's current size.
  struct THeaderGeometry {
    int x0 = 0, y0 = 0;
    QPoint iconPos;
    QSize iconSize;
    int ruleLeft = 0, ruleRight = 0, ruleY = 0;  // the rule spans [ruleLeft, ruleRight)
    QString title;
    QFont titleFont;
    QPoint titlePos;  // top-left corner of the text
    QString position;
    QFont positionFont;
    QPoint positionPos;  // top-left corner of the text
    int positionRight = 0;
  };
  THeaderGeometry HeaderGeometry() const;
  // The position text for this page: "Wizard - Screen <n> of <count> ".
  QString PositionText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<QWidget*> shownOnEntry_;
  friend struct TWizardParts;
  bool include_ = true;
  TWizard* wizard_ = nullptr;
  QString title_;
};

// The strip along the wizard's bottom edge that holds and places the buttons.
class TWizardPanel : public QWidget {
  Q_OBJECT
 public:
  explicit TWizardPanel(QWidget* parent = nullptr);
  // The panel's buttons in creation order.
  const std::vector<TWizardButton*>& Buttons() const { return buttons_; }
  // Places the visible buttons right-aligned, each left of the one before.
  void ArrangeButtons();

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  friend struct TWizardParts;
  void AddButton(TWizardButton* button);

  std::vector<TWizardButton*> buttons_;
  bool arranging_ = false;
};

class TWizard : public QWidget {
  Q_OBJECT
 public:
  // The wizard fills its parent's client area and follows its size.
  explicit TWizard(QWidget* parent = nullptr);
  ~TWizard() override;

  // The loading phase (see the top of this file).
  void BeginLoading();
  void EndLoading();
  bool Loading() const { return loading_; }

  TWizardPage* ActivePage() const { return activePage_; }
  void SetActivePage(TWizardPage* page);
  TWizardPage* FirstPage() const { return firstPage_; }
  void SetFirstPage(TWizardPage* page);
  TWizardButtonFlags Buttons() const { return buttons_; }
  void SetButtons(TWizardButtonFlags buttons);
  bool DrawEdge() const { return drawEdge_; }
  void SetDrawEdge(bool value);

  TWizardLayouts& Layouts() { return *layouts_; }
  const TWizardLayouts& Layouts() const { return *layouts_; }
  // Copies the given layouts; the current layout becomes none.
  void SetLayouts(const TWizardLayouts& layouts);
  // The layout applied last, or null.
  TWizardLayout* CurrentLayout() const { return currentLayout_; }
  const QString& Layout() const { return layout_; }
  // A different text (letter case counts) is stored and, outside the loading
  // phase, applied at once.
  void SetLayout(const QString& name);
  void ApplyLayout();

  const TPageList& PageList() const { return *pages_; }
  int PageCount() const { return pages_->Count(); }
  TWizardPage* Pages(int index) const { return pages_->Items(index); }

  // The smallest size a page is laid out at (empty, the default: none). A
  // wizard too small for it keeps its pages at that size and scrolls them
  // above the button panel, so the buttons stay in view on a small screen.
  QSize PageMinimumSize() const { return pageMinimum_; }
  void SetPageMinimumSize(QSize size);
  // The page area's scroll bars, shown only while the pages do not fit.
  QScrollBar* HorizontalScrollBar() const { return hbar_; }
  QScrollBar* VerticalScrollBar() const { return vbar_; }
  // Scrolls the page area as a page entered is shown: from its top, as far
  // as brings the focus and the page's ShownOnEntry controls into view.
  void ShowPageStart();

  TWizardPanel* Panel() const { return panel_; }
  TWizardButton* HelpButton() const { return helpButton_; }
  TWizardButton* BackButton() const { return backButton_; }
  TWizardButton* NextButton() const { return nextButton_; }
  TWizardButton* CancelButton() const { return cancelButton_; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;
  TNotifyEvent OnFinishClick;
  // The Cancel button's click event: its sender is the Cancel button.
  const TNotifyEvent& OnCancelClick() const;
  void SetOnCancelClick(TNotifyEvent handler);

  virtual void InsertPage(TWizardPage* page);
  virtual void RemovePage(TWizardPage* page);
  virtual void MovePage(int from, int to);

  // The next (forward) or previous page of `page`, among all pages or only
  // included ones; null at either end or when `page` is not in the list.
  TWizardPage* FindNeighbour(const TWizardPage* page, bool forward, bool includedOnly) const;
  // Re-applies the Next rule without touching the caption.
  void UpdateNextButton();

  // The button actions.
  void NextClick();
  void BackClick();
  void HelpClick();

  // Brings the page that holds `control` into view.
  void ShowControl(QWidget* control);

 protected:
  virtual void Changing();
  virtual void Change();
  void StepPage(bool forward);

  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend struct TWizardParts;

  void MakePageScrolling();
  void Realign();
  // Scrolls the page area so that `control`, on the active page, is in view.
  void ScrollToControl(QWidget* control);
  // The same for the box around all of `controls` (those on the active page).
  void ScrollToControls(const std::vector<QWidget*>& controls);
  void ApplyBackRule();
  void ApplyNextRule();
  void ApplyCaptionRule();
  // Gives the focus to the page's first control that takes it by Tab; a page
  // not yet on screen gets it when the wizard is first shown.
  void FocusFirstControl(TWizardPage* page);
  void IncludeChanged(TWizardPage* page, bool value);
  void LayoutRemoved(const TWizardLayout* layout);
  TWizardButton* MakeButton(int caption, int gap);

  std::unique_ptr<TWizardLayouts> layouts_;
  std::unique_ptr<TPageList> pages_;
  TWizardPanel* panel_ = nullptr;
  TWizardButton* cancelButton_ = nullptr;
  TWizardButton* nextButton_ = nullptr;
  TWizardButton* backButton_ = nullptr;
  TWizardButton* helpButton_ = nullptr;
  QScrollBar* hbar_ = nullptr;
  QScrollBar* vbar_ = nullptr;
  QWidget* corner_ = nullptr;  // fills the square where the two bars meet
  QSize pageMinimum_;

  TWizardPage* activePage_ = nullptr;
  TWizardPage* firstPage_ = nullptr;
  TWizardButtonFlags buttons_;
  bool drawEdge_ = false;
  TWizardLayout* currentLayout_ = nullptr;
  QString layout_;
  bool loading_ = false;
  bool focusPending_ = false;
  int realignLocks_ = 0;
};

// Draws the etched line of a Windows-style EDGE_ETCHED/BF_TOP edge: a shadow
// row at `y` and a highlight row below it, for x in [left, right).
void DrawEtchedTop(QPainter& painter, const QPalette& palette, int left, int right, int y);
