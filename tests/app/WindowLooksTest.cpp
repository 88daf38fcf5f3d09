// The window on the demo catalogue: no caption clipped, no control overlapping
// another, nothing outside its page; on every control a name for a screen
// reader and a focus that shows. KAV_SCREENSHOTS=<folder> also saves pictures
// of the three screens for a developer to look at.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTest>
#include <functional>

#include "WindowStart.h"
#include "app/MainWindow.h"
#include "app/QtDialogs.h"
#include "app/QtPictureBox.h"
#include "controls/FieldViews.h"
#include "controls/LookupList.h"
#include "controls/ReadableColor.h"
#include "controls/TableGrid.h"
#include "controls/wizard/Wizard.h"

namespace {

namespace fs = std::filesystem;

// The demo catalogue in place of the test's own.
class WindowLooksTest : public WindowFixture {
 protected:
  void WriteCatalogue() override {
    const std::string demo = std::string(KAV_SOURCE_DIR) + "/demo/";
    fs::copy(demo + "data", program / "data", fs::copy_options::recursive);
    fs::copy(demo + "Images", program / "Images", fs::copy_options::recursive);
    fs::copy(demo + "common", shared.Path(), fs::copy_options::recursive);
  }
  void SetUp() override {
    WindowFixture::SetUp();
    ApplyProgramLook();
  }

  // Every problem with the page's controls, one a line.
  static std::string Problems(QWidget* page) {
    std::string problems;
    auto text = [](QWidget* control) { return control->property("text").toString().toStdString(); };
    std::vector<QWidget*> controls;
    for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (!child->isVisibleTo(page)) continue;
      const std::string name =
          child->metaObject()->className() + std::string(" ") + child->objectName().toStdString();
      if (!page->rect().contains(child->geometry())) problems += name + " lies outside its page\n";
      QString caption;
      if (auto* label = qobject_cast<QLabel*>(child)) caption = label->text();
      if (auto* button = qobject_cast<QAbstractButton*>(child)) caption = button->text();
      if (!caption.isEmpty() && child->sizeHint().width() > child->width() + 2)
        problems += "\"" + caption.toStdString() + "\" is clipped\n";
      if (qobject_cast<QAbstractButton*>(child) || qobject_cast<QComboBox*>(child) ||
          (qobject_cast<QLabel*>(child) && !qobject_cast<QLabel*>(child)->text().isEmpty()) ||
          qobject_cast<QLineEdit*>(child) || qobject_cast<QAbstractScrollArea*>(child))
        controls.push_back(child);
    }
    for (size_t i = 0; i < controls.size(); ++i)
      for (size_t j = i + 1; j < controls.size(); ++j)
        // Neighbours may share a border pixel or two, as captions and their lists do.
        if (const QRect shared = controls[i]->geometry() & controls[j]->geometry();
            shared.width() > 2 && shared.height() > 2)
          problems += "\"" + text(controls[i]) + "\" overlaps \"" + text(controls[j]) + "\"\n";
    return problems;
  }

  static std::string Describe(QWidget* control) {
    const QString text = control->property("text").toString();
    return control->metaObject()->className() +
           (text.isEmpty()
                ? " at " + std::to_string(control->x()) + "," + std::to_string(control->y())
                : " \"" + text.toStdString() + "\"");
  }

  // Every control of the window as shown that a screen reader user meets (the
  // Tab stops, every button, the pictures) with nothing to say for it: no
  // name of its own and no caption label tied to it. On Linux a list's name is
  // its value, which names nothing.
  static std::string Unnamed(QWidget* window) {
    std::string unnamed;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
      auto* control = qobject_cast<QWidget*>(node->object());
      if (control == nullptr || !control->isVisible()) return;
      const bool met = (control->focusPolicy() & Qt::TabFocus) ||
                       qobject_cast<QAbstractButton*>(control) ||
                       dynamic_cast<TQtPictureBox*>(control) != nullptr;
      const QString name = node->text(QAccessible::Name);
      const bool named = !name.isEmpty() && (node->role() != QAccessible::ComboBox ||
                                             name != node->text(QAccessible::Value));
      if (met && !named && node->relations(QAccessible::Label).isEmpty())
        unnamed += Describe(control) + "\n";
      for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(window));
    return unnamed;
  }

  // Every Tab stop met from the focused control on, once round, that looks
  // the same with the focus as without it.
  static std::string FocusUnseen() {
    std::string unseen;
    QWidget* first = QApplication::focusWidget();
    QWidget* control = first;
    for (int i = 0; i < 40 && control != nullptr; ++i) {
      const QImage focused = control->grab().toImage();
      QTest::keyClick(control, Qt::Key_Tab);
      if (control->grab().toImage() == focused) unseen += Describe(control) + "\n";
      control = QApplication::focusWidget();
      if (control == first) break;
    }
    return unseen;
  }

  void Save(const char* name) {
    if (const char* folder = std::getenv("KAV_SCREENSHOTS"))
      window->grab().save(QString::fromStdString(std::string(folder) + "/" + name));
  }
};

TEST_F(WindowLooksTest, BothPagesLookFinished) {
  TMainWindow& w = Start();
  EXPECT_EQ(Problems(w.EPWizardPage1), "");
  // The fixed window offers no maximise button; it may be minimised and closed.
  EXPECT_EQ(w.windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint),
            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  Save("page1-start.png");
  w.rbPartNum->click();
  w.txtPart->setText("OUR");
  w.btnQryAntList->click();
  EXPECT_GT(data->Antennas.RecordCount(), 1);
  Save("page1-part-number.png");

  Start({"OUR4-23"});
  ASSERT_EQ(window->EPWizard1->ActivePage(), window->EPWizardPage2);
  EXPECT_EQ(Problems(window->EPWizardPage2), "");
  Save("page2-command.png");
  EXPECT_EQ(std::pair(dialogs.errors.empty(), reported.empty()), std::pair(true, true));
}

TEST_F(WindowLooksTest, OnADarkThemeTheAccentsStayReadable) {
  const QPalette designed = QApplication::palette();
  QPalette dark = designed;
  for (QPalette::ColorRole face : {QPalette::Window, QPalette::Button})
    dark.setColor(face, QColor(0x24, 0x24, 0x24));
  dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
  dark.setColor(QPalette::Mid, QColor(0x50, 0x50, 0x50));
  for (QPalette::ColorRole text : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    dark.setColor(text, QColor(0xee, 0xee, 0xee));
  QApplication::setPalette(dark);
  struct TRestore {
    QPalette palette;
    ~TRestore() { QApplication::setPalette(palette); }
  } restore{designed};

  TMainWindow& w = Start({"OUR4-23"});
  ASSERT_EQ(w.EPWizard1->ActivePage(), w.EPWizardPage2);
  const auto contrast = [](QWidget* shown, QPalette::ColorRole text, QPalette::ColorRole face) {
    return ContrastRatio(shown->palette().color(text), shown->palette().color(face));
  };
  EXPECT_GE(contrast(w.DBText1, QPalette::WindowText, QPalette::Window), kReadableContrast);
  EXPECT_GE(contrast(w.dbCustPartNum, QPalette::Text, QPalette::Base), kReadableContrast);
  EXPECT_GE(contrast(w.dbCustPrice, QPalette::Text, QPalette::Base), kReadableContrast);
  // Still blue and red, not white.
  EXPECT_GT(w.dbCustPartNum->palette().color(QPalette::Text).blue(),
            w.dbCustPartNum->palette().color(QPalette::Text).red());
  EXPECT_GT(w.dbCustPrice->palette().color(QPalette::Text).red(),
            w.dbCustPrice->palette().color(QPalette::Text).blue());
  for (int column : {0, 2}) {
    const QColor shown =
        w.grdPricing->model()->index(0, column).data(Qt::ForegroundRole).value<QBrush>().color();
    EXPECT_GE(ContrastRatio(shown, w.grdPricing->palette().color(QPalette::Base)),
              kReadableContrast)
        << column;
  }
  Save("page2-dark.png");
}

TEST_F(WindowLooksTest, EveryControlHasANameAndShowsItsFocus) {
  TMainWindow& w = Start();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  EXPECT_EQ(Unnamed(&w), "");
  ASSERT_EQ(QApplication::focusWidget(), w.grdSpecs);
  EXPECT_EQ(FocusUnseen(), "");
  // Each page is a pane a screen reader names by its painted title and step.
  auto pane = [](QWidget* page) {
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(page);
    return std::tuple(node->role(), node->text(QAccessible::Name).toStdString(),
                      node->text(QAccessible::Description).toStdString());
  };
  EXPECT_EQ(pane(w.EPWizardPage1),
            std::tuple(QAccessible::Pane, "Antenna Selection", "Wizard - Screen 1 of 2"));
  w.EPWizard1->NextClick();
  ASSERT_EQ(w.EPWizard1->ActivePage(), w.EPWizardPage2);
  EXPECT_EQ(pane(w.EPWizardPage2),
            std::tuple(QAccessible::Pane, "Antenna Customization", "Wizard - Screen 2 of 2"));
  EXPECT_EQ(Unnamed(&w) + FocusUnseen(), "");
  // The one-line boxes show the focus by more than their selected text.
  for (TFieldEdit* box : {w.dbCustPartNum, w.dbCustPrice}) {
    const QImage unfocused = box->grab().toImage();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_End);
    EXPECT_NE(box->grab().toImage(), unfocused) << Describe(box);
  }
}

// Pixels of `image` for which `test` holds.
template <typename Test>
int Count(const QImage& image, Test test) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      count += test(QColor(image.pixel(x, y))) ? 1 : 0;
  return count;
}

TEST_F(WindowLooksTest, ColoursFocusGlyphGapAndFlatLists) {
  TMainWindow& w = Start();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  ASSERT_TRUE(w.grdSpecs->hasFocus());
  const QColor highlight = w.palette().color(QPalette::Active, QPalette::Highlight);
  auto highlighted = [&](const QColor& c) { return c == highlight; };
  // The pricing row shows its column colours: part number blue, price red.
  const QImage lom = w.grdPricing->grab().toImage();
  auto blue = [](const QColor& c) { return c.blue() > 150 && c.red() < 90 && c.green() < 90; };
  auto red = [](const QColor& c) { return c.red() > 150 && c.green() < 90 && c.blue() < 90; };
  EXPECT_EQ(std::tuple(Count(lom, blue) > 0, Count(lom, red) > 0, Count(lom, highlighted)),
            std::tuple(true, true, 0));
  // The grid with the focus shows where it is; without it, no highlight.
  EXPECT_GT(Count(w.grdSpecs->grab().toImage(), highlighted), 0);
  w.btnRPE->setFocus();
  EXPECT_EQ(Count(w.grdSpecs->grab().toImage(), highlighted), 0);

  // Ten pixels between the query button's picture (made solid here) and its caption.
  QPixmap solid(20, 20);
  solid.fill(Qt::green);
  w.btnQryAntList->setIcon(QIcon(solid));
  const QImage button = w.btnQryAntList->grab().toImage();
  int glyphRight = -1, captionLeft = button.width();
  for (int y = 0; y < button.height(); ++y)
    for (int x = 0; x < button.width(); ++x)
      if (QColor(button.pixel(x, y)) == QColor(Qt::green)) glyphRight = std::max(glyphRight, x);
  for (int y = 0; y < button.height(); ++y)
    for (int x = glyphRight + 1; x < button.width(); ++x)
      if (qGray(button.pixel(x, y)) < 110) captionLeft = std::min(captionLeft, x);
  const int gap = captionLeft - glyphRight - 1;
  EXPECT_TRUE(gap >= 10 && gap <= 12) << gap;  // the caption's first letter may stand off a pixel

  // Disabled, a lookup list keeps a field and frame as the part-number box does.
  const QImage disabledList = w.cboFreqList->grab().toImage();
  const QImage disabledBox = w.txtPart->grab().toImage();
  ASSERT_FALSE(w.cboFreqList->isEnabled() || w.txtPart->isEnabled());
  for (const QPoint edge : {QPoint(0, 10), QPoint(60, 0), QPoint(60, 20)})
    EXPECT_EQ(disabledList.pixel(edge), disabledBox.pixel(edge)) << edge.x() << "," << edge.y();
  EXPECT_NE(QColor(disabledList.pixel(0, 10)), w.EPWizardPage1->palette().color(QPalette::Window));

  // The lookup lists have no border: their edges are the field's colour.
  w.rbFreqType->click();
  const QImage list = w.cboFreqList->grab().toImage();
  const QColor base = w.cboFreqList->palette().color(QPalette::Active, QPalette::Base);
  EXPECT_EQ(QColor(list.pixel(0, list.height() / 2)), base);
  EXPECT_EQ(QColor(list.pixel(list.width() / 2, 0)), base);
  // With no frame to light up, the focused list shows the focus on its field.
  ASSERT_TRUE(w.cboFreqList->hasFocus());
  EXPECT_GT(Count(list, highlighted), 0);
  w.rbFreqType->setFocus();
  EXPECT_EQ(Count(w.cboFreqList->grab().toImage(), highlighted), 0);
  Save("page1-focus.png");

  // A query that finds nothing leaves no row to highlight: the empty grid
  // shows the focus by a ring.
  w.rbPartNum->click();
  w.txtPart->setText("ZZ");
  w.btnQryAntList->click();
  ASSERT_EQ(w.grdSpecs->model()->rowCount(), 0);
  EXPECT_EQ(Count(w.grdSpecs->grab().toImage(), highlighted), 0);
  Save("page1-empty-grid.png");
  w.grdSpecs->setFocus();
  EXPECT_GT(Count(w.grdSpecs->grab().toImage(), highlighted), 0);
  Save("page1-empty-grid-focus.png");
}

TEST_F(WindowLooksTest, OnAScreenTooSmallThePagesScrollAboveTheButtons) {
  TMainWindow& w = Start();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  const QSize designed = w.size();
  // 1366 x 768 at 150 %, less a task bar: the window is taller than that.
  const QRect small(0, 0, 910, 480);
  ASSERT_GT(designed.height(), small.height());
  w.FitToArea(small);
  EXPECT_TRUE(small.contains(w.geometry())) << w.geometry().height();
  auto shown = [&](QWidget* control) {
    return w.rect().contains(QRect(control->mapTo(&w, QPoint(0, 0)), control->size()));
  };
  for (QPushButton* button : std::initializer_list<QPushButton*>{
           w.EPWizard1->BackButton(), w.EPWizard1->NextButton(), w.EPWizard1->CancelButton()})
    EXPECT_TRUE(shown(button)) << button->text().toStdString();
  // The page keeps its size and layout; a control below the fold comes into
  // view when it gets the focus, above the buttons.
  EXPECT_EQ(w.EPWizardPage1->size(), QSize(655, 492));
  w.grdPricing->setFocus();
  const QRect lom(w.grdPricing->mapTo(w.EPWizard1, QPoint(0, 0)), w.grdPricing->size());
  EXPECT_TRUE(
      QRect(0, 0, w.EPWizard1->VerticalScrollBar()->x(), w.EPWizard1->Panel()->y()).contains(lom))
      << lom.y();
  Save("page1-small-screen.png");
  // Where the window fits, it has its own size and nothing scrolls.
  w.FitToArea(QRect(0, 0, 1366, 728));
  EXPECT_EQ(std::tuple(w.size(), w.EPWizard1->VerticalScrollBar()->isHidden(),
                       w.EPWizardPage1->geometry()),
            std::tuple(designed, true, QRect(0, 0, 655, 492)));
  // Windows' style leaves a pixel below the menu bar that its size hint does
  // not count; the page area keeps its height all the same.
  std::unique_ptr<QStyle> windows(QStyleFactory::create("Windows"));
  w.menuBar()->setStyle(windows.get());
  w.FitToArea(QRect(0, 0, 1366, 728));
  EXPECT_EQ(std::tuple(w.EPWizard1->VerticalScrollBar()->isHidden(), w.EPWizardPage1->geometry()),
            std::tuple(true, QRect(0, 0, 655, 492)));
  w.menuBar()->setStyle(nullptr);

  // Page two opens with its first list and its result in view.
  TMainWindow& two = Start({"OUR4-23"});
  two.FitToArea(small);
  for (QWidget* control :
       std::initializer_list<QWidget*>{two.cboFlangeList, two.dbCustPartNum, two.dbCustPrice})
    EXPECT_TRUE(QRect(0, 0, two.EPWizard1->VerticalScrollBar()->x(), two.EPWizard1->Panel()->y())
                    .contains(QRect(control->mapTo(two.EPWizard1, QPoint(0, 0)), control->size())))
        << control->objectName().toStdString() << " at "
        << control->mapTo(two.EPWizard1, QPoint(0, 0)).y() << " of " << two.EPWizard1->Panel()->y()
        << ", scrolled " << two.EPWizard1->VerticalScrollBar()->value();
}

}  // namespace
