// The wizard control: its navigation rules, event order, layouts, loading
// phase, keyboard, button placement and painted header.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "controls/ControlHooks.h"
#include "controls/wizard/Wizard.h"

namespace {

using Log = std::vector<std::string>;
using Rects = std::vector<QRect>;
// Whether Back and Next are enabled, and Next's caption.
using Navigation = std::tuple<bool, bool, std::string>;

// A window like the main window: 655 x 534, a wizard filling it, built in the
// loading phase with `count` pages named EPWizardPage1.. and the layouts
// "Full" (every page) and "Command" (the last page only).
class WizardTest : public ::testing::Test {
 protected:
  void Build(int count = 2) {
    window = std::make_unique<QWidget>();
    window->resize(655, 534);
    wizard = new TWizard(window.get());
    wizard->BeginLoading();
    QStringList all;
    for (int i = 0; i < count; ++i) {
      auto* page = new TWizardPage(wizard);
      page->SetName(QStringLiteral("EPWizardPage%1").arg(i + 1));
      page->SetTitle(QStringLiteral("Page %1").arg(i + 1));
      pages.push_back(page);
      all << page->Name();
    }
    wizard->SetDrawEdge(true);
    wizard->Layouts().Add("Full", all);
    wizard->Layouts().Add("Command", {all.last()});
    wizard->SetLayout("Full");
    wizard->SetFirstPage(pages[0]);
    wizard->EndLoading();
  }

  // Records every event of the wizard and its pages in `log`.
  void Record() {
    wizard->OnChanging = [this](QObject*) { log.push_back("Changing"); };
    wizard->OnChange = [this](QObject*) { log.push_back("Change"); };
    wizard->OnFinishClick = [this](QObject* sender) {
      log.push_back(sender == wizard ? "Finish" : "Finish(bad sender)");
    };
    wizard->SetOnCancelClick([this](QObject* sender) {
      log.push_back(sender == wizard->CancelButton() ? "Cancel" : "Cancel(bad sender)");
    });
    for (size_t i = 0; i < pages.size(); ++i) {
      const std::string n = std::to_string(i + 1);
      pages[i]->OnDoneQuery = [this, n](QObject*, bool& done) {
        log.push_back("DoneQuery" + n);
        done = done && !notDone.count(n);
      };
      pages[i]->OnAllowAdvance = [this, n](QObject*, bool& advance) {
        log.push_back("AllowAdvance" + n);
        advance = advance && !noAdvance.count(n);
      };
      pages[i]->OnPreActivate = [this, n](QObject*) { log.push_back("PreActivate" + n); };
      pages[i]->OnDeActivate = [this, n](QObject*) { log.push_back("DeActivate" + n); };
    }
  }

  // The events `action` raises.
  template <typename Action>
  Log Events(Action action) {
    log.clear();
    action();
    return log;
  }

  Navigation BackNext() const {
    return {wizard->BackButton()->isEnabled(), wizard->NextButton()->isEnabled(),
            NextCaption().toStdString()};
  }
  QString NextCaption() const { return wizard->NextButton()->text(); }
  // Where Cancel, Next, Back and Help lie, those that are shown.
  Rects ShownButtons() const {
    Rects shown;
    for (QWidget* button :
         {wizard->CancelButton(), wizard->NextButton(), wizard->BackButton(), wizard->HelpButton()})
      if (!button->isHidden()) shown.push_back(button->geometry());
    return shown;
  }

  std::unique_ptr<QWidget> window;
  TWizard* wizard = nullptr;
  std::vector<TWizardPage*> pages;
  Log log;
  std::set<std::string> notDone, noAdvance;
};

TEST_F(WizardTest, ConstructionOrdersTheButtonsAndFillsTheParent) {
  Build();
  const std::vector<TWizardButton*> buttons{wizard->CancelButton(), wizard->NextButton(),
                                            wizard->BackButton(), wizard->HelpButton()};
  EXPECT_EQ(wizard->Panel()->Buttons(), buttons);
  EXPECT_EQ(wizard->Buttons(), TWizardButtonFlags(epwbCancel));
  EXPECT_EQ(std::pair(wizard->HelpButton()->isHidden(), wizard->CancelButton()->isHidden()),
            std::pair(true, false));
  // Tab order Help, Back, Next, Cancel: the panel's order backwards.
  for (size_t i = 1; i < buttons.size(); ++i)
    EXPECT_EQ(buttons[i]->nextInFocusChain(), buttons[i - 1]);
  // The wizard fills its parent; the panel is the Next button's height + 17.
  EXPECT_EQ((Rects{wizard->geometry(), wizard->Panel()->geometry(), pages[0]->geometry()}),
            (Rects{{0, 0, 655, 534}, {0, 492, 655, 42}, {0, 0, 655, 492}}));
  window->show();  // a hidden window reports its new size only when shown
  window->resize(700, 600);
  EXPECT_EQ((Rects{wizard->geometry(), pages[1]->geometry()}),
            (Rects{{0, 0, 700, 600}, {0, 0, 700, 558}}));
}

TEST_F(WizardTest, ButtonsAreRightAlignedWithTheirGapsAndNoHoles) {
  Build();
  EXPECT_EQ(ShownButtons(), (Rects{{572, 10, 75, 25}, {489, 10, 75, 25}, {414, 10, 75, 25}}));
  wizard->SetButtons(epwbCancel | epwbHelp);
  EXPECT_EQ(ShownButtons(),
            (Rects{{572, 10, 75, 25}, {489, 10, 75, 25}, {414, 10, 75, 25}, {331, 10, 75, 25}}));

  // Without Cancel, Next moves to the right edge.
  wizard->SetButtons(epwbHelp);
  EXPECT_EQ(ShownButtons(), (Rects{{572, 10, 75, 25}, {497, 10, 75, 25}, {414, 10, 75, 25}}));

  // A wider button keeps its width; the ones left of it move over.
  window->show();
  wizard->NextButton()->resize(100, 25);
  EXPECT_EQ(ShownButtons(), (Rects{{547, 10, 100, 25}, {472, 10, 75, 25}, {389, 10, 75, 25}}));
  EXPECT_EQ(wizard->Panel()->height(), 42);
}

TEST_F(WizardTest, LoadingStartsOnTheFirstPageAndCommandLayoutShowsOnlyTheLast) {
  Build();
  EXPECT_EQ(std::tuple(wizard->ActivePage(), pages[0]->isHidden(), pages[1]->isHidden()),
            std::tuple(pages[0], false, true));
  EXPECT_EQ(BackNext(), Navigation(false, true, "Next >"));
  ASSERT_NE(wizard->CurrentLayout(), nullptr);
  EXPECT_EQ(wizard->CurrentLayout()->Name, "Full");

  wizard->SetLayout("Command");
  EXPECT_EQ(std::tuple(wizard->ActivePage(), pages[0]->isHidden(), pages[0]->Include(),
                       pages[1]->Include()),
            std::tuple(pages[1], true, false, true));
  EXPECT_EQ(BackNext(), Navigation(false, true, "&Finish"));
  // Excluded pages still count in the position text.
  EXPECT_EQ(pages[1]->PositionText(), "Wizard - Screen 2 of 2 ");
}

TEST_F(WizardTest, DuringLoadingAssignmentsAreOnlyStored) {
  window = std::make_unique<QWidget>();
  wizard = new TWizard(window.get());
  Record();
  wizard->BeginLoading();
  auto* a = new TWizardPage(wizard);
  a->SetName("A");
  auto* b = new TWizardPage(wizard);
  b->SetName("B");
  EXPECT_EQ(wizard->ActivePage(), nullptr);  // joining does not activate
  b->SetInclude(false);                      // stored although no layout is current
  EXPECT_FALSE(b->Include());
  wizard->Layouts().Add("Second", {"b"});
  wizard->SetLayout("Second");
  EXPECT_EQ(wizard->CurrentLayout(), nullptr);  // not applied yet
  EXPECT_TRUE(log.empty());
  wizard->SetFirstPage(a);  // activates while loading
  EXPECT_EQ(std::pair(wizard->ActivePage(), log), std::pair(a, Log{"Changing", "Change"}));
  wizard->EndLoading();
  EXPECT_EQ(std::tuple(wizard->ActivePage(), a->Include(), b->Include()),
            std::tuple(b, false, true));
  // At run time FirstPage only records the page.
  wizard->SetFirstPage(a);
  EXPECT_EQ(std::pair(wizard->ActivePage(), wizard->FirstPage()), std::pair(b, a));
}

TEST_F(WizardTest, NextRaisesItsEventsInOrder) {
  Build();
  Record();
  EXPECT_EQ(Events([&] { wizard->NextButton()->click(); }),
            (Log{"DoneQuery1", "AllowAdvance1", "DeActivate1", "PreActivate2", "Changing",
                 "DoneQuery2", "Change"}));
  EXPECT_EQ(std::pair(wizard->ActivePage(), BackNext()),
            std::pair(pages[1], Navigation(true, true, "&Finish")));

  // Back asks neither DoneQuery nor AllowAdvance of the page it leaves.
  EXPECT_EQ(Events([&] { wizard->BackButton()->click(); }),
            (Log{"DeActivate2", "PreActivate1", "Changing", "DoneQuery1", "Change"}));
  EXPECT_EQ(std::pair(wizard->ActivePage(), BackNext()),
            std::pair(pages[0], Navigation(false, true, "Next >")));
}

TEST_F(WizardTest, FinishOnTheLastPageKeepsThePage) {
  Build();
  wizard->SetActivePage(pages[1]);
  Record();
  EXPECT_EQ(Events([&] { wizard->NextButton()->click(); }), (Log{"DoneQuery2", "Finish"}));
  EXPECT_EQ(wizard->ActivePage(), pages[1]);
  // Back on the first page does nothing.
  wizard->SetActivePage(pages[0]);
  EXPECT_EQ(Events([&] { wizard->BackClick(); }), Log{});
}

TEST_F(WizardTest, APageThatIsNotDoneOrRefusesToAdvanceKeepsTheWizardWhereItIs) {
  Build(3);
  Record();
  notDone.insert("2");
  wizard->NextClick();  // the Next rule asks page 2
  EXPECT_EQ(std::pair(wizard->ActivePage(), wizard->NextButton()->isEnabled()),
            std::pair(pages[1], false));
  // A direct call still asks, and stops.
  EXPECT_EQ(Events([&] { wizard->NextClick(); }), (Log{"DoneQuery2"}));
  EXPECT_EQ(wizard->ActivePage(), pages[1]);

  notDone.clear();
  noAdvance.insert("2");
  EXPECT_EQ(Events([&] { wizard->NextClick(); }), (Log{"DoneQuery2", "AllowAdvance2"}));
  EXPECT_EQ(wizard->ActivePage(), pages[1]);
}

TEST_F(WizardTest, ExcludedPagesAreSkippedButCounted) {
  Build(3);
  wizard->Layouts().Add("Skip", {"EPWizardPage1", "EPWizardPage3"});
  wizard->SetLayout("Skip");
  EXPECT_EQ(std::pair(wizard->ActivePage(), NextCaption()), std::pair(pages[0], QString("Next >")));
  wizard->NextClick();
  EXPECT_EQ(std::tuple(wizard->ActivePage(), NextCaption(), pages[2]->PositionText()),
            std::tuple(pages[2], QString("&Finish"), QString("Wizard - Screen 3 of 3 ")));
  wizard->BackClick();
  EXPECT_EQ(wizard->ActivePage(), pages[0]);

  EXPECT_EQ(wizard->FindNeighbour(pages[0], true, false), pages[1]);
  EXPECT_EQ(wizard->FindNeighbour(pages[0], true, true), pages[2]);
  EXPECT_EQ(wizard->FindNeighbour(pages[2], true, false), nullptr);
  EXPECT_EQ(wizard->FindNeighbour(nullptr, true, false), nullptr);
  TWizardPage stranger;
  EXPECT_EQ(wizard->FindNeighbour(&stranger, false, false), nullptr);
}

TEST_F(WizardTest, LayoutTextComparesExactlyButLooksUpWithoutCase) {
  Build();
  wizard->NextClick();
  ASSERT_EQ(wizard->ActivePage(), pages[1]);
  Record();
  EXPECT_EQ(Events([&] { wizard->SetLayout("Full"); }), Log{});  // the same text: nothing
  EXPECT_EQ(wizard->ActivePage(), pages[1]);
  wizard->SetLayout("FULL");  // another text: applied, back to the layout's first page
  EXPECT_EQ(std::pair(wizard->ActivePage(), wizard->CurrentLayout()->Name),
            std::pair(pages[0], QString("Full")));

  // An unknown name clears the current layout and changes nothing else.
  wizard->SetLayout("Command");
  wizard->SetLayout("Nothing");
  EXPECT_EQ(std::tuple(wizard->CurrentLayout(), wizard->ActivePage(), pages[0]->Include()),
            std::tuple(nullptr, pages[1], false));
  // Without a current layout Include cannot be changed.
  pages[0]->SetInclude(true);
  EXPECT_FALSE(pages[0]->Include());

  // A layout whose first name matches no page changes only Include.
  wizard->Layouts().Add("Odd", {"NoSuchPage", "EPWizardPage1"});
  wizard->SetLayout("Odd");
  EXPECT_EQ(std::tuple(wizard->ActivePage(), pages[0]->Include(), pages[1]->Include()),
            std::tuple(pages[1], true, false));
}

TEST_F(WizardTest, IncludeFollowsTheCurrentLayoutOnly) {
  Build(3);
  wizard->Layouts().Add("Two", {"EPWizardPage1", "EPWizardPage2"});
  wizard->SetLayout("Two");
  pages[2]->SetInclude(true);   // not in the layout: ignored
  pages[1]->SetInclude(false);  // in the layout: stored
  // The buttons are not recomputed by an Include change.
  EXPECT_EQ(std::tuple(pages[2]->Include(), pages[1]->Include(), NextCaption()),
            std::tuple(false, false, QString("Next >")));
  wizard->NextClick();
  EXPECT_EQ(wizard->ActivePage(), pages[0]);  // nothing to go to

  // Excluding the active page of several keeps it shown and active.
  pages[0]->SetInclude(false);
  EXPECT_EQ(std::pair(wizard->ActivePage(), pages[0]->isHidden()), std::pair(pages[0], false));
}

TEST_F(WizardTest, ExcludingTheOnlyPageLeavesNoActivePage) {
  Build(1);
  Record();
  pages[0]->SetInclude(false);
  EXPECT_EQ(
      std::tuple(wizard->ActivePage(), pages[0]->isHidden(), BackNext(), log),
      std::tuple(nullptr, true, Navigation(false, false, "&Finish"), Log{"Changing", "Change"}));
  EXPECT_EQ(Events([&] { wizard->NextClick(); }), Log{});
}

TEST_F(WizardTest, TheNextRuleOverridesTheHostOnEveryPageChange) {
  Build();
  wizard->NextButton()->setEnabled(false);
  wizard->UpdateNextButton();
  EXPECT_TRUE(wizard->NextButton()->isEnabled());
  wizard->NextButton()->setEnabled(false);
  wizard->SetActivePage(pages[1]);
  wizard->BackClick();
  EXPECT_EQ(BackNext(), Navigation(false, true, "Next >"));
}

TEST_F(WizardTest, DisablingTheWizardDisablesItsButtonsAndEnablingReappliesTheRules) {
  Build();
  Record();
  wizard->SetActivePage(pages[1]);
  wizard->setEnabled(false);
  for (QWidget* button : {wizard->BackButton(), wizard->NextButton(), wizard->CancelButton()})
    EXPECT_FALSE(button->isEnabledTo(wizard));
  EXPECT_EQ(Events([&] { wizard->setEnabled(true); }), (Log{"DoneQuery2"}));
  EXPECT_EQ(BackNext(), Navigation(true, true, "&Finish"));
  EXPECT_EQ(std::pair(wizard->CancelButton()->isEnabled(), wizard->HelpButton()->isEnabled()),
            std::pair(true, true));
}

TEST_F(WizardTest, PagesJoinLeaveAndMove) {
  Build(3);
  Record();
  // Activating a page of another wizard is ignored.
  TWizard other;
  auto* foreign = new TWizardPage(&other);
  EXPECT_EQ(Events([&] { wizard->SetActivePage(foreign); }), Log{});
  EXPECT_EQ(wizard->ActivePage(), pages[0]);

  // A page that joins at run time is activated.
  auto* extra = new TWizardPage(wizard);
  EXPECT_EQ(std::tuple(wizard->ActivePage(), extra->PageIndex(), extra->parentWidget()),
            std::tuple(extra, 3, wizard));

  // Moving pages changes the position text only.
  extra->SetPageIndex(0);
  EXPECT_EQ(wizard->Pages(0), extra);
  EXPECT_EQ(pages[0]->PositionText(), "Wizard - Screen 2 of 4 ");

  // Moving a page to another wizard: the next page in the list is activated.
  extra->SetWizard(&other);
  EXPECT_EQ(std::tuple(wizard->ActivePage(), extra->Wizard(), other.PageCount()),
            std::tuple(pages[0], &other, 2));

  // A destroyed page leaves; the last page gives way to the one before it,
  // and FirstPage is cleared with it.
  wizard->SetActivePage(pages[2]);
  wizard->SetFirstPage(pages[2]);
  delete pages[2];
  EXPECT_EQ(std::tuple(wizard->PageCount(), wizard->ActivePage(), wizard->FirstPage()),
            std::tuple(2, pages[1], nullptr));
  pages.pop_back();
  EXPECT_EQ(pages[0]->PositionText(), "Wizard - Screen 1 of 2 ");
}

TEST_F(WizardTest, EnterPressesNextAndEscPressesCancel) {
  Build();
  Record();
  auto* edit = new QLineEdit(pages[0]);
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(wizard->ActivePage(), pages[1]);
  EXPECT_EQ(Events([&] { QTest::keyClick(pages[1], Qt::Key_Escape); }), (Log{"Cancel"}));

  // A disabled Next ignores Enter.
  notDone.insert("2");
  wizard->UpdateNextButton();
  EXPECT_EQ(Events([&] { QTest::keyClick(pages[1], Qt::Key_Enter); }), Log{});  // no Finish

  // Without the Cancel button Esc does nothing.
  wizard->SetButtons({});
  EXPECT_EQ(Events([&] { QTest::keyClick(pages[1], Qt::Key_Escape); }), Log{});
}

TEST_F(WizardTest, EnterOnAFocusedButtonPressesThatButton) {
  Build();
  Record();
  auto* button = new QPushButton("Query", pages[0]);
  int clicks = 0;
  QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
  window->show();
  QApplication::setActiveWindow(window.get());
  button->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), button);
  QTest::keyClick(button, Qt::Key_Return);
  EXPECT_EQ(std::pair(clicks, wizard->ActivePage()), std::pair(1, pages[0]));

  // The page's first focusable control gets the focus when the page is shown.
  auto* edit = new QLineEdit(pages[1]);
  wizard->NextClick();
  EXPECT_EQ(QApplication::focusWidget(), edit);
}

TEST_F(WizardTest, HelpShowsTheFirstContextFromThePageUpwards) {
  Build();
  std::vector<int> shown;
  SetHelpSystem([&](int context) { shown.push_back(context); });
  wizard->HelpClick();
  EXPECT_TRUE(shown.empty());
  SetHelpContext(window.get(), 7);
  wizard->HelpClick();
  SetHelpContext(pages[0], 12);
  wizard->HelpClick();
  EXPECT_EQ(shown, (std::vector<int>{7, 12}));
  SetHelpSystem(nullptr);
}

TEST_F(WizardTest, LayoutsAreNumberedAndCopied) {
  TWizardLayouts layouts;
  EXPECT_EQ(layouts.Add()->Name, "Layout1");
  EXPECT_EQ(layouts.Add()->Name, "Layout2");
  layouts.Items(1)->Name = "Command";
  layouts.Items(1)->Pages = {"p"};
  EXPECT_EQ(std::pair(layouts.FindByName("COMMAND"), layouts.FindByName("none")), std::pair(1, -1));

  Build();
  wizard->SetLayouts(layouts);
  EXPECT_EQ(wizard->CurrentLayout(), nullptr);
  ASSERT_EQ(wizard->Layouts().Count(), 2);
  EXPECT_EQ(wizard->Layouts().Items(1)->Pages, QStringList{"p"});
  EXPECT_NE(wizard->Layouts().Items(1), layouts.Items(1));  // a copy
  // Deleting the current layout leaves none current.
  wizard->SetLayout("layout1");
  ASSERT_NE(wizard->CurrentLayout(), nullptr);
  wizard->Layouts().Delete(0);
  EXPECT_EQ(wizard->CurrentLayout(), nullptr);
}

TEST_F(WizardTest, HeaderGeometryFollowsThePageSize) {
  EXPECT_EQ((std::vector<int>{RoundHalfEven(2.5), RoundHalfEven(3.5), RoundHalfEven(41.84)}),
            (std::vector<int>{2, 4, 42}));
  Build();
  const auto g = pages[0]->HeaderGeometry();
  EXPECT_EQ((std::vector<int>{g.x0, g.y0, g.ruleLeft, g.ruleRight, g.ruleY, g.titleFont.pixelSize(),
                              g.titleFont.bold(), g.positionFont.pixelSize(), g.positionRight}),
            (std::vector<int>{20, 59, 8, 647, 59, 16, true, 11, 635}));
  EXPECT_EQ(std::pair(g.iconPos, g.titlePos),
            std::pair(QPoint(20, 17), QPoint(65, 59 - (QFontMetrics(g.titleFont).height() + 10))));
  EXPECT_EQ(g.positionPos.x(), 635 - QFontMetrics(g.positionFont).horizontalAdvance(g.position));
  EXPECT_EQ(g.position, "Wizard - Screen 1 of 2 ");
}

TEST_F(WizardTest, PageAndPanelPaintTheirEtchedRules) {
  Build();
  const QRgb shadow = pages[0]->palette().color(QPalette::Dark).rgb();
  const QRgb light = pages[0]->palette().color(QPalette::Light).rgb();
  const QImage page = pages[0]->grab().toImage();
  EXPECT_EQ((std::vector{page.pixel(8, 59), page.pixel(646, 59), page.pixel(8, 60)}),
            (std::vector{shadow, shadow, light}));
  EXPECT_NE(page.pixel(7, 59), shadow);
  EXPECT_NE(page.pixel(647, 59), shadow);
  // The icon is drawn in its square.
  bool iconPainted = false;
  for (int y = 17; y < 49 && !iconPainted; ++y)
    for (int x = 20; x < 52 && !iconPainted; ++x)
      iconPainted = page.pixel(x, y) != page.pixel(2, 2);
  EXPECT_TRUE(iconPainted);

  const QImage panel = wizard->Panel()->grab().toImage();
  EXPECT_EQ(std::pair(panel.pixel(8, 0), panel.pixel(8, 1)), std::pair(shadow, light));
  wizard->SetDrawEdge(false);
  EXPECT_NE(wizard->Panel()->grab().toImage().pixel(8, 0), shadow);
}

}  // namespace
