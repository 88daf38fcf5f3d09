// The window driven as a user drives it, on the test's own catalogue, with
// scripted boxes and dialogs.
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <clocale>
#include <cstdlib>

#include "WindowStart.h"
#include "app/MainWindow.h"
#include "app/QtPictureBox.h"
#include "app/WindowArguments.h"
#include "controls/FieldViews.h"
#include "controls/FramedLabel.h"
#include "controls/LookupList.h"
#include "controls/RecordNavigator.h"
#include "controls/TableGrid.h"
#include "controls/wizard/Wizard.h"
#include "platform/Locale.h"

namespace {

class MainWindowTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    // Real pictures in place of the catalogue fixture's stand-ins.
    const std::string gif = ReadFile(std::string(KAV_SOURCE_DIR) + "/demo/Images/osd_4ft.gif");
    for (const auto& entry : std::filesystem::directory_iterator(program / "Images"))
      WriteFile(entry.path().string(), gif);
    WriteFile(program / "Images/std6.gif", gif);
  }

  std::string Shown(QLineEdit* box) { return box->text().toStdString(); }
  std::string JobFile() { return program / "kav_pnb.lom"; }
  bool JobFileExists() { return std::filesystem::exists(JobFile()); }
};

TEST_F(MainWindowTest, FullModeListsEveryAntennaOnPageOne) {
  TMainWindow& w = Start();
  EXPECT_EQ(std::tuple(w.EPWizard1->Layout().toStdString(), w.EPWizard1->ActivePage(),
                       data->Antennas.RecordCount(), w.windowTitle().toStdString(),
                       w.centralWidget()->size(), dialogs.errors.size()),
            std::tuple("Full", w.EPWizardPage1, 5, "KAV Part Number Builder", QSize(655, 534), 0u));
  // Next, Print Specs, RPE, "all" and std6.gif of the first antenna; not the query boxes.
  EXPECT_EQ((std::vector<bool>{w.EPWizard1->NextButton()->isEnabled(), w.btnPrintSpecs->isEnabled(),
                               w.btnRPE->isEnabled(), w.rbAll->isChecked(),
                               w.imgAntType->HasPicture(), w.txtPart->isEnabled(),
                               w.cboFreqList->isEnabled(), w.lblType->isEnabled()}),
            (std::vector<bool>{true, true, true, true, true, false, false, false}));
}

TEST_F(MainWindowTest, CommandModeOpensOnPageTwoForTheModel) {
  for (const QStringList& arguments :
       {QStringList{"HP4-23"}, QStringList{"  HP4-23\t"}, QStringList{"HP4-23", "STD6-6"}}) {
    TMainWindow& w = Start(arguments);
    EXPECT_EQ(w.EPWizard1->ActivePage(), w.EPWizardPage2) << arguments.join(',').toStdString();
    EXPECT_EQ(
        (QStringList{w.EPWizard1->Layout(), w.EPWizard1->NextButton()->text().remove('&'),
                     w.dbCustPartNum->text(), w.cboFlangeList->Text(), w.cboRadomeList->Text()}),
        (QStringList{"Command", "Finish", "HP4-23-AXP", "PDR220", "Grey radome"}));
  }
  EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(MainWindowTest, BlankArgumentOpensCommandModeOnTheFirstAntenna) {
  TMainWindow& w = Start({"   "});
  EXPECT_EQ(std::tuple(w.EPWizard1->Layout().toStdString(), data->GetSelectedPartNum()),
            std::tuple("Command", "STD6-6"));
}

TEST_F(MainWindowTest, PrefixArgumentIsNotFoundAndFullModeFollows) {
  TMainWindow& w = Start({"HP4"});
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_NE(dialogs.errors[0].find("The model number: HP4 was not found"), std::string::npos);
  EXPECT_EQ(std::tuple(w.EPWizard1->Layout().toStdString(), data->Antennas.RecordCount(),
                       data->ExactPartNumber(), w.txtPart->text().toStdString()),
            std::tuple("Full", 5, false, ""));
}

TEST_F(MainWindowTest, QueriesAndTheirValidationMessages) {
  TMainWindow& w = Start();
  w.rbPartNum->click();
  EXPECT_EQ(std::pair(w.txtPart->isEnabled(), w.cboFreqList->isEnabled()), std::pair(true, false));
  w.btnQryAntList->click();
  EXPECT_EQ(dialogs.messages.back(), "You must enter a part number to generate an antenna list.");
  QTest::keyClicks(w.txtPart, "hp");
  EXPECT_EQ(w.txtPart->text(), "HP");  // typed letters become capitals
  w.btnQryAntList->click();
  EXPECT_EQ(std::pair(data->Antennas.RecordCount(), w.imgAntType->HasPicture()),
            std::pair(3, true));

  w.txtPart->setText("zz");
  w.btnQryAntList->click();  // found nothing: the buttons and the picture follow
  EXPECT_FALSE(w.EPWizard1->NextButton()->isEnabled() || w.btnRPE->isEnabled() ||
               w.imgAntType->HasPicture());
  w.txtPart->setText("   ");  // blanks pass the test and match every antenna
  w.btnQryAntList->click();
  EXPECT_EQ(std::pair(data->Antennas.RecordCount(), w.EPWizard1->NextButton()->isEnabled()),
            std::pair(5, true));

  w.rbFreqType->click();
  EXPECT_EQ(std::tuple(w.cboFreqList->isEnabled(), w.lblFreq->isEnabled(), w.txtPart->isEnabled()),
            std::tuple(true, true, false));
  w.cboTypeList->ChooseRecord(0);
  w.btnQryAntList->click();
  EXPECT_EQ(dialogs.messages.back(),
            "You must select a \"Frequency Range\" to generate an antenna list.");
  w.cboFreqList->ChooseRecord(1);  // 23 GHz
  w.btnQryAntList->click();
  EXPECT_EQ(dialogs.messages.back(),
            "You must select an \"Antenna Type\" to generate an antenna list.");
  w.cboTypeList->ChooseRecord(1);  // STD
  w.btnQryAntList->click();
  ASSERT_EQ(data->Antennas.RecordCount(), 1);
  EXPECT_EQ(FieldText(data->Antennas, "PartNum"), "STD2-23");

  data->QueryMode = TQueryMode::None;
  w.btnQryAntList->click();
  EXPECT_EQ(dialogs.messages.back(), "You must select a query value");
}

TEST_F(MainWindowTest, MovingThroughTheGridMovesEverythingElse) {
  TMainWindow& w = Start();
  w.grdSpecs->setCurrentIndex(w.grdSpecs->model()->index(2, 0));  // HP4-23
  const char* desc = "4 ft High Performance Antenna";
  EXPECT_EQ(std::tuple(FieldText(data->Pricing, "Desc"),
                       w.grdPricing->model()->data(w.grdPricing->model()->index(0, 1)).toString(),
                       w.cboFlangeList->Text(), w.cboPackList->Text(), Shown(w.dbCustPartNum)),
            std::tuple(desc, desc, "PDR220", "Standard crate", "HP4-23-AXP"));
  w.dbnavAntennas->BtnClick(TRecordNavigator::nbPrior);  // HP2-23: two flanges, two radomes
  EXPECT_EQ(w.cboFlangeList->count(), 3);                // title row and two flanges
  EXPECT_EQ(Shown(w.dbCustPrice), "1150.5");
}

TEST_F(MainWindowTest, OptionPictureFollowsTheListsWhoseTextChanged) {
  TMainWindow& w = Start();  // STD6-6: CPR137G, "Standard radome" (no picture)
  EXPECT_FALSE(w.imgOptions->HasPicture());
  w.dbnavAntennas->BtnClick(TRecordNavigator::nbNext);  // HP2-23: both texts change
  EXPECT_TRUE(w.imgOptions->HasPicture());
  EXPECT_EQ(w.imgOptions->size(), QSize(121, 120));  // the radome picture came last
  w.imgOptions->SetSize(1, 1);
  w.dbnavAntennas->BtnClick(TRecordNavigator::nbNext);  // HP4-23: same flange, same radome
  EXPECT_EQ(std::pair(w.imgOptions->HasPicture(), w.imgOptions->size()),
            std::pair(true, QSize(1, 1)));  // nothing was loaded again
}

TEST_F(MainWindowTest, OptionChoicesRebuildThePartNumber) {
  TMainWindow& w = Start({"HP2-23"});
  w.cboFlangeList->ChooseRecord(1);  // UDR220
  // UDR220 has no picture file.
  EXPECT_EQ(std::tuple(Shown(w.dbCustPartNum), w.imgOptions->HasPicture()),
            std::tuple("HP2-23-BXP", false));
  w.cboRadomeList->ChooseRecord(1);  // Hydrophobic: the radome's picture
  EXPECT_EQ(std::tuple(Shown(w.dbCustPartNum), w.imgOptions->HasPicture(), w.imgOptions->size()),
            std::tuple("HP2-23-BHP", true, QSize(121, 120)));
  w.cboPackList->ChooseRecord(1);  // Export crate
  EXPECT_EQ(Shown(w.dbCustPartNum), "HP2-23-BHE");
  EXPECT_EQ(w.dbCustDesc->toPlainText().toStdString(),
            "2 ft High Performance Antenna, UDR220 flange, Hydrophobic radome, Export crate");
  EXPECT_EQ(Shown(w.dbCustPrice), "1275");
  w.btnCopyPNB->click();
  EXPECT_EQ(dialogs.messages.back(), "Copied to clipboard.");
  EXPECT_NE(clipboard.text.find("Custom Part Number=HP2-23-BHE\r\n"), std::string::npos);
}

TEST_F(MainWindowTest, HandBackThroughTheJobFile) {
  // Finish with a complete part number writes a new job file.
  WriteFile(JobFile(), "[OLD]\r\nx=1\r\n");
  TMainWindow& w = Start({"HP4-23"});
  w.EPWizard1->NextClick();  // Next reads Finish on the last page
  EXPECT_EQ(std::pair(w.isVisible(), w.HandedBack()), std::pair(false, true));
  EXPECT_NE(ReadFile(JobFile()).find("1=1|each|HP4-23|HP4-23-AXP|"), std::string::npos);
  EXPECT_EQ(ReadFile(JobFile()).find("[OLD]"), std::string::npos);

  // Cancel, No: the window stays and the file too; Cancel, Yes: the file goes.
  Start({"HP4-23"});
  dialogs.answers = {false};
  window->EPWizard1->CancelButton()->click();
  EXPECT_EQ(dialogs.questions.back(), "Cancel now?");
  EXPECT_EQ(std::pair(window->isVisible(), JobFileExists()), std::pair(true, true));
  dialogs.answers = {true};
  window->EPWizard1->CancelButton()->click();
  EXPECT_EQ(std::pair(window->isVisible(), JobFileExists()), std::pair(false, false));
  EXPECT_FALSE(window->HandedBack());  // a caller's exit status says so

  // File > Exit leaves an older job file alone.
  WriteFile(JobFile(), "[OLD]\r\nx=1\r\n");
  Start({"HP4-23"});
  window->Exit1->trigger();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(ReadFile(JobFile()), "[OLD]\r\nx=1\r\n");
}

TEST(WindowArgumentsTest, ACallerNamesItsJobFileAfterTheModel) {
  const auto jobFile = [](QStringList arguments) {
    const TWindowArguments read = ReadWindowArguments(arguments);
    return read.usageError.isEmpty() ? read.jobFile.value_or("(none)") : "error";
  };
  EXPECT_EQ(jobFile({"OUR4-23", "--job-file", "my.lom"}), "my.lom");
  EXPECT_EQ(jobFile({"OUR4-23", "extra", "--job-file=my.lom"}), "my.lom");
  // The model's place is the model's, whatever it holds.
  EXPECT_EQ(jobFile({"--job-file", "my.lom"}), "(none)");
  EXPECT_EQ(jobFile({"OUR4-23", "--job-file"}), "error");
  EXPECT_EQ(jobFile({"OUR4-23", "--job-file", " "}), "error");
  EXPECT_EQ(jobFile({"OUR4-23", "--job-file=a.lom", "--job-file=b.lom"}), "error");
}

TEST_F(MainWindowTest, AFailedStartUpStillHandsBackAndDeletesTheJobFile) {
  std::filesystem::remove(program / "data/MWFreq.dat");
  TMainWindow& w = Start({"HP4-23"});
  ASSERT_EQ(reported.size(), 1u);  // the start-up error was shown
  w.EPWizard1->NextClick();
  EXPECT_NE(ReadFile(JobFile()).find("1=1|each|HP4-23|HP4-23-AXP|"), std::string::npos);
  Start({"HP4-23"});
  dialogs.answers = {true};
  window->EPWizard1->CancelButton()->click();
  EXPECT_FALSE(JobFileExists());
}

TEST_F(MainWindowTest, AMissingCatalogueIsShownOnceWithWhereItsFolderIsSet) {
  std::filesystem::remove(shared / "MWAnts.dat");
  Start({"HP4-23"});
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_NE(dialogs.errors[0].find("in loading Antenna data\r\n\r\nThe catalogue folder is "),
            std::string::npos)
      << dialogs.errors[0];
  EXPECT_TRUE(dialogs.questions.empty());  // a folder is set: the user fixes that file
}

TEST_F(MainWindowTest, AFirstStartWithNoCatalogueFolderOffersToChooseIt) {
  CurrentUserRegistry().WriteString("Software\\Ostrel", "Common Files", "Path", "");
  dialogs.answers = {true};
  dialogs.folderToChoose = shared.Path();
  TMainWindow& w = Start({"HP4-23"});
  ASSERT_EQ(dialogs.errors.size(), 1u);  // said once, then offered
  EXPECT_EQ(dialogs.questions,
            (std::vector<std::string>{kOfferCatalogueFolder, kChooseCatalogueFolder}));
  // Kept for this user, and the command line's antenna opens at once.
  std::string kept;
  CurrentUserRegistry().ReadString("Software\\Ostrel", "Common Files", "Path", kept);
  EXPECT_EQ(
      std::tuple(kept, w.EPWizard1->Layout().toStdString(), w.dbCustPartNum->text().toStdString()),
      std::tuple(shared.Path(), std::string("Command"), std::string("HP4-23-AXP")));
}

TEST_F(MainWindowTest, FinishWithoutAPartNumberAsksFirst) {
  // Every build fails while pnb.dat cannot be written, so no part number is complete.
  std::filesystem::create_directories(program / "data/pnb.dat/blocked");
  WriteFile(JobFile(), "[OLD]\r\nx=1\r\n");
  TMainWindow& w = Start({"HP4-23"});
  ASSERT_FALSE(data->PartNumberComplete());
  w.btnPrintPNB->click();
  EXPECT_EQ(dialogs.messages.back(), "You must complete a part number to print");
  dialogs.answers = {false, true};
  w.EPWizard1->NextClick();
  EXPECT_EQ(dialogs.questions.back(),
            "You have not completed a part number.  Would you still like to exit?");
  EXPECT_EQ(std::pair(w.isVisible(), JobFileExists()), std::pair(true, true));
  w.EPWizard1->NextClick();
  EXPECT_EQ(std::pair(w.isVisible(), JobFileExists()), std::pair(false, false));
}

TEST_F(MainWindowTest, AFailedBuildOrOptionTableHandsNothingBack) {
  // A part number built, then a build that cannot write its file: the boxes
  // go blank and Finish asks, as for a part number never completed.
  TMainWindow& w = Start({"HP2-23"});
  std::filesystem::remove(program / "data/pnb.dat");
  std::filesystem::create_directories(program / "data/pnb.dat/blocked");
  w.cboPackList->ChooseRecord(1);
  ASSERT_FALSE(dialogs.errors.empty());
  ASSERT_NE(dialogs.errors.back().find("building part number"), std::string::npos);
  EXPECT_EQ(Shown(w.dbCustPartNum), "");
  dialogs.answers = {true};
  w.EPWizard1->NextClick();
  EXPECT_EQ(dialogs.questions.back(),
            "You have not completed a part number.  Would you still like to exit?");
  EXPECT_EQ(std::pair(w.isVisible(), JobFileExists()), std::pair(false, false));

  // An option table that fails to open for the next antenna offers nothing,
  // and its part number is not handed back either.
  std::filesystem::remove_all(program / "data/pnb.dat");
  Start();  // STD6-6, "Standard radome"
  std::filesystem::remove(program / "data/radome_List.dat");
  window->dbnavAntennas->BtnClick(TRecordNavigator::nbNext);
  ASSERT_FALSE(dialogs.errors.empty());
  ASSERT_NE(dialogs.errors.back().find("loading Antenna\\Radome color data"), std::string::npos);
  EXPECT_EQ(window->cboRadomeList->Text().toStdString(), "");
  dialogs.answers = {false};
  window->EPWizard1->NextClick();  // to page two
  window->EPWizard1->NextClick();  // Finish
  EXPECT_EQ(std::pair(window->isVisible(), JobFileExists()), std::pair(true, false));
}

#ifndef _WIN32
TEST_F(MainWindowTest, ACommaLocaleHandsBackTheSamePriceAsTheTool) {
  // The toolkit sets the process's locale from the environment, as Qt does
  // at start-up; a comma locale is built for the test.
  const std::filesystem::path folder = program / "locales";
  const std::string locale = (folder / "de_DE.UTF-8").string();
  std::filesystem::create_directories(folder);
  (void)std::system(("localedef -i de_DE -f UTF-8 '" + locale + "' 2>/dev/null").c_str());
  if (!std::filesystem::exists(locale + "/LC_NUMERIC")) GTEST_SKIP() << "localedef failed";
  ::setenv("LOCPATH", folder.c_str(), 1);
  ::setenv("LC_ALL", "de_DE.UTF-8", 1);
  ASSERT_NE(std::setlocale(LC_ALL, ""), nullptr);
  SetDecimalSeparator(SystemDecimalSeparator());
  TMainWindow& w = Start({"HP2-23"});  // 1000 and a radome of 150.5
  const std::string shown = Shown(w.dbCustPrice);
  w.EPWizard1->NextClick();
  std::setlocale(LC_ALL, "C");
  ::unsetenv("LC_ALL");
  ::unsetenv("LOCPATH");
  SetDecimalSeparator('.');
  EXPECT_EQ(shown, "1150,5");
  EXPECT_NE(ReadFile(JobFile()).find("|1150,5|\r\n"), std::string::npos) << ReadFile(JobFile());
}
#endif

TEST_F(MainWindowTest, ErrorsOfAHandlerReachTheGeneralReportAndTheWindowStays) {
  TMainWindow& w = Start({"HP4-23"});
  // The job file cannot be written where a folder stands in its place.
  std::filesystem::create_directories(JobFile() + "/blocked");
  w.EPWizard1->NextClick();
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_NE(reported[0].find("kav_pnb.lom"), std::string::npos) << reported[0];
  EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowTest, OutputButtonsPrintExportAndLaunch) {
  TMainWindow& w = Start();
  // "Print Specs" on page one prints the current antenna's sheet.
  printDialog.outputFile = program / "specs.pdf";
  w.btnPrintSpecs->click();
  const std::string specs = PdfText(printDialog.outputFile);
  EXPECT_NE(specs.find("Antenna Specifications"), std::string::npos);
  EXPECT_NE(specs.find("STD6-6"), std::string::npos);
  // "Print" and "Export" on page two, for the part number built.
  w.EPWizard1->NextClick();
  printDialog.outputFile = program / "number.pdf";
  w.btnPrintPNB->click();
  const std::string number = PdfText(printDialog.outputFile);
  EXPECT_NE(number.find("New Custom Part Number"), std::string::npos);
  EXPECT_NE(number.find("STD6-6-CSP"), std::string::npos);
  saveDialog.chosenName = program / "quote";
  saveDialog.chosenIndex = 2;
  w.btnExportPNB->click();
  EXPECT_EQ(ReadFile(program / "quote.txt"),
            "Base Part Number=STD6-6\r\nCustom Part Number=STD6-6-CSP\r\nCustom "
            "Description=6 ft Standard Antenna, CPR137G flange, Standard radome, Standard "
            "crate\r\nCustom Price=$1930\r\n");
  // The copies go where a developer asked to look at them.
  if (const char* keep = std::getenv("KAV_KEEP_REPORTS"))
    for (const std::string name : {"specs.pdf", "number.pdf"})
      std::filesystem::copy_file(program / name, keep + ("/" + name),
                                 std::filesystem::copy_options::overwrite_existing);
  EXPECT_TRUE(reported.empty()) << reported.front();
}

// ---------------------------------------------------------------- keyboard

class KeyboardTest : public MainWindowTest {
 protected:
  TMainWindow& StartActive(const QStringList& arguments = {}) {
    TMainWindow& w = Start(arguments);
    w.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    return w;
  }
  static QWidget* Focused() { return QApplication::focusWidget(); }
  static void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(Focused(), static_cast<Qt::Key>(key), modifiers);
  }
};

TEST_F(KeyboardTest, AWholeJobByKeyboardAlone) {
  TMainWindow& w = StartActive();
  EXPECT_EQ(Focused(), w.grdSpecs);  // the page's first control, not Next
  // Tab leaves the grid at once and never changes the antenna.
  const std::string first = Cell(data->Antennas, "PartNum");
  Press(Qt::Key_Tab);
  EXPECT_NE(Focused(), w.grdSpecs);
  EXPECT_EQ(Cell(data->Antennas, "PartNum"), first);
  w.grdPricing->setFocus();
  Press(Qt::Key_Backtab);
  EXPECT_NE(Focused(), w.grdPricing);

  // A query chosen by the arrow keys takes the focus on to its list or box, as
  // a click does. Enter in the part-number box runs the query and stays on the page.
  for (const auto& [from, to, next] :
       {std::tuple<QRadioButton*, QRadioButton*, QWidget*>(w.rbAll, w.rbFreqType, w.cboFreqList),
        {w.rbFreqType, w.rbPartNum, w.txtPart}}) {
    from->setFocus();
    Press(Qt::Key_Down);
    QApplication::processEvents();
    ASSERT_EQ(std::pair(to->isChecked(), Focused()), std::pair(true, next));
  }
  QTest::keyClicks(w.txtPart, "hp");
  Press(Qt::Key_Return);
  EXPECT_EQ(w.EPWizard1->ActivePage(), w.EPWizardPage1);
  EXPECT_EQ(data->Antennas.RecordCount(), 3);

  // Back to the grid by Shift+Tab, an antenna by the arrows, Next by Enter.
  for (int i = 0; i < 20 && Focused() != w.grdSpecs; ++i)
    Press(Qt::Key_Backtab);
  ASSERT_EQ(Focused(), w.grdSpecs);
  Press(Qt::Key_Down);
  EXPECT_EQ(Cell(data->Antennas, "PartNum"), "HP4-23");
  Press(Qt::Key_Up);
  EXPECT_EQ(Cell(data->Antennas, "PartNum"), "HP2-23");
  Press(Qt::Key_Return);
  ASSERT_EQ(w.EPWizard1->ActivePage(), w.EPWizardPage2);

  // Each option by Down, the next list by Tab, Finish by Enter.
  for (TLookupList* list : {w.cboFlangeList, w.cboRadomeList, w.cboPackList}) {
    EXPECT_EQ(Focused(), list);
    Press(Qt::Key_Down);
    Press(Qt::Key_Tab);
  }
  Press(Qt::Key_Return);
  EXPECT_FALSE(w.isVisible());
  EXPECT_NE(ReadFile(JobFile()).find("1=1|each|HP2-23|HP2-23-BHE|2 ft High Performance Antenna, "
                                     "UDR220 flange, Hydrophobic radome, Export crate|1275|"),
            std::string::npos)
      << ReadFile(JobFile());
}

// What a screen reader reads: a list's value as text (where Orca reads a
// closed combo box's), and headings titled with their model. (The events,
// which Qt sends only to a live AT-SPI bridge, are proven by
// scripts/check-screen-reader.py.)
TEST_F(KeyboardTest, AScreenReaderReadsListValuesAndTitledHeadings) {
  TMainWindow& w = StartActive({"HP4-23"});
  ASSERT_EQ(Focused(), w.cboFlangeList);
  Press(Qt::Key_Down);
  const QString chosen = w.cboFlangeList->Text();
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(w.cboFlangeList);
  QAccessibleTextInterface* shown = list->textInterface();
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(std::tuple(list->role(), list->text(QAccessible::Value),
                       shown->text(0, shown->characterCount()), list->childCount()),
            std::tuple(QAccessible::ComboBox, chosen, chosen, 1));

  // Each heading is one title with its model, and the lists' section says it.
  QStringList headings;
  for (QLabel* label : w.EPWizardPage2->findChildren<QLabel*>())
    if (label->text().endsWith(" for "))
      headings << QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
  headings.sort();
  EXPECT_EQ(headings, (QStringList{"New Custom Part Number for HP4-23",
                                   "Select Customization Options for HP4-23"}));
  EXPECT_EQ(list->text(QAccessible::Description), "Select Customization Options for HP4-23");
}

TEST_F(KeyboardTest, FirstDownPicksTheFirstEntryAndEnterInAQueryListQueries) {
  TMainWindow& w = StartActive({"HP2-23"});
  ASSERT_EQ(Focused(), w.cboFlangeList);
  Press(Qt::Key_Down);
  EXPECT_EQ(Cell(data->Flanges, "Flange"), "UDR220");

  Start();
  window->rbFreqType->click();
  ASSERT_TRUE(window->cboFreqList->Text().isEmpty());
  QTest::keyClick(window->cboFreqList, Qt::Key_Down);
  EXPECT_EQ(window->cboFreqList->Text(), "6 GHz");
  // Enter in a closed list runs the query on the page, never Next with the
  // antenna shown before (STD6-6).
  QTest::keyClick(window->cboFreqList, Qt::Key_Down);
  QTest::keyClick(window->cboTypeList, Qt::Key_Down);
  QTest::keyClick(window->cboTypeList, Qt::Key_Return);
  EXPECT_EQ(std::pair(window->EPWizard1->ActivePage(), Cell(data->Antennas, "PartNum")),
            std::pair(window->EPWizardPage1, std::string("HP2-23")));
  // Enter on "Show Me All Antennas" runs that query, too.
  window->rbAll->click();
  window->rbAll->setFocus();
  QTest::keyClick(window->rbAll, Qt::Key_Return);
  EXPECT_EQ(std::pair(window->EPWizard1->ActivePage(), data->Antennas.RecordCount()),
            std::pair(window->EPWizardPage1, 5));
}

}  // namespace
