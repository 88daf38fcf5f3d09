// The window on the demo catalogue: no caption clipped, no control overlapping
// another, nothing outside its page. KAV_SCREENSHOTS=<folder> also saves
// pictures of the three screens for a developer to look at.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "FakeUi.h"
#include "TestSupport.h"
#include "app/QtDialogs.h"
#include "app/ukavpnb.h"
#include "controls/ControlHooks.h"
#include "controls/EPStdCmp.h"
#include "output/OutputTestSupport.h"
#include "platform/Locale.h"
#include "platform/ProgramFolder.h"
#include "platform/Registry.h"

namespace {

namespace fs = std::filesystem;

class WindowLooksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string demo = std::string(KAV_SOURCE_DIR) + "/demo/";
    fs::copy(demo + "data", program / "data", fs::copy_options::recursive);
    fs::copy(demo + "Images", program / "Images", fs::copy_options::recursive);
    SetProgramFolder(program.Path());
    SetDecimalSeparator('.');
    auto registry = std::make_unique<TIniRegistry>(config.Path());
    registry->WriteString("Software\\Ostrel", "Common Files", "Path", demo + "common");
    SetCurrentUserRegistry(std::move(registry));
    SetErrorReporter([this](const std::string& message) { reported.push_back(message); });
    ApplyProgramLook();
  }
  void TearDown() override {
    window.reset();
    data.reset();
    SetErrorReporter(nullptr);
    SetCurrentUserRegistry(nullptr);
  }

  TfrmKavPnbMain& Start(const QStringList& arguments) {
    window.reset();
    data = std::make_unique<TDataMod>(dialogs);
    data->DataModuleCreate();
    window = std::make_unique<TfrmKavPnbMain>(
        *data, TWindowServices{dialogs, clipboard, printDialog, saveDialog, shell}, arguments);
    window->show();
    return *window;
  }

  // Every problem with the page's controls, one a line.
  static std::string Problems(QWidget* page) {
    std::string problems;
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
          problems += "\"" + controls[i]->property("text").toString().toStdString() +
                      "\" overlaps \"" + controls[j]->property("text").toString().toStdString() +
                      "\"\n";
    return problems;
  }

  void Save(const char* name) {
    if (const char* folder = std::getenv("KAV_SCREENSHOTS"))
      window->grab().save(QString::fromStdString(std::string(folder) + "/" + name));
  }

  TempDir program, config;
  FakeDialogs dialogs;
  FakeClipboard clipboard;
  FakePrintDialog printDialog;
  FakeSaveDialog saveDialog;
  FakeShell shell;
  std::unique_ptr<TDataMod> data;
  std::unique_ptr<TfrmKavPnbMain> window;
  std::vector<std::string> reported;
};

TEST_F(WindowLooksTest, BothPagesLookFinished) {
  TfrmKavPnbMain& w = Start({});
  EXPECT_EQ(Problems(w.EPWizardPage1), "");
  Save("page1-start.png");
  w.rbPartNum->click();
  w.txtPart->setText("OUR");
  w.btnQryAntList->click();
  EXPECT_GT(data->AntData.RecordCount(), 1);
  Save("page1-part-number.png");

  Start({"OUR4-23"});
  ASSERT_EQ(window->EPWizard1->ActivePage(), window->EPWizardPage2);
  EXPECT_EQ(Problems(window->EPWizardPage2), "");
  Save("page2-command.png");
  EXPECT_TRUE(dialogs.errors.empty());
  EXPECT_TRUE(reported.empty());
}

}  // namespace
