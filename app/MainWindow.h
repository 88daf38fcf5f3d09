#pragma once
// The main window: a two-page wizard over the data module. Page one queries
// and browses the catalogue; page two builds the custom part number. Finish
// and Cancel decide what is handed back to a calling program in the job file.
#include <QMainWindow>
#include <QStringList>
#include <memory>
#include <vector>

#include "catalog/DataModule.h"
#include "launch/ProgramLauncher.h"
#include "output/OnePageReport.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/PrintDialog.h"
#include "platform/SaveDialog.h"
#include "platform/Shell.h"

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TFieldEdit;
class TTableGrid;
class TLookupList;
class TFieldMemo;
class TRecordNavigator;
class TFieldText;
class TWizard;
class TWizardPage;
class TQtPictureBox;
class TFramedLabel;
class TAboutBox;

// What the window reaches outside itself; a test hands in fakes.
struct TWindowServices {
  TDialogs& Dialogs;
  TClipboard& Clipboard;
  TPrintDialog& PrintDialog;
  TSaveDialog& SaveDialog;
  TShell& Shell;
};

inline constexpr const char* kOfferCatalogueFolder =
    "The catalogue folder is not set. Would you like to choose it now? It is kept for you and "
    "used from now on.";
inline constexpr const char* kChooseCatalogueFolder =
    "Choose the catalogue folder (the folder that holds MWAnts.dat)";

class TMainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // `arguments` are the command-line arguments after the program name.
  TMainWindow(TDataModule& data, TWindowServices services, const QStringList& arguments,
              QWidget* parent = nullptr);
  ~TMainWindow() override;

  // Called by the data module after every change of the current antenna.
  void SyncOptionLists();
  // Shows a quote just built in the part-number boxes of page two.
  void ShowQuote(const TQuote& quote);

  // Handlers, public so tests can drive the window as a user would. Each
  // page's handlers live in its page's file: page one's in SelectionPage.cpp,
  // page two's in CustomizationPage.cpp; the wizard's and the menu's here,
  // in MainWindow.cpp.
  void rbAllClick();
  void rbFreqTypeClick();
  void rbPartNumClick();
  void btnQryAntListClick();
  void btnPrintSpecsClick();
  void btnRPEClick();
  void cboFlangeListChange();
  void cboRadomeListChange();
  void btnPrintPNBClick();
  void btnCopyPNBClick();
  void btnExportPNBClick();
  void EPWizard1FinishClick();
  void EPWizard1CancelClick();
  void Exit1Click();
  void About1Click();

  // Controls, named as the window names them.
  TWizard* EPWizard1 = nullptr;
  TWizardPage* EPWizardPage1 = nullptr;
  TWizardPage* EPWizardPage2 = nullptr;
  QAction* Exit1 = nullptr;
  QAction* About1 = nullptr;
  // Page one.
  QRadioButton* rbAll = nullptr;
  QRadioButton* rbFreqType = nullptr;
  QRadioButton* rbPartNum = nullptr;
  TFramedLabel* lblFreq = nullptr;
  TFramedLabel* lblType = nullptr;
  TLookupList* cboFreqList = nullptr;
  TLookupList* cboTypeList = nullptr;
  QLineEdit* txtPart = nullptr;
  QPushButton* btnQryAntList = nullptr;
  TQtPictureBox* imgAntType = nullptr;
  TTableGrid* grdSpecs = nullptr;
  TRecordNavigator* dbnavAntennas = nullptr;
  QPushButton* btnRPE = nullptr;
  QPushButton* btnPrintSpecs = nullptr;
  TTableGrid* grdPricing = nullptr;
  // Page two.
  TFieldText* DBText1 = nullptr;
  TFieldText* DBText2 = nullptr;
  TLookupList* cboFlangeList = nullptr;
  TLookupList* cboRadomeList = nullptr;
  TLookupList* cboPackList = nullptr;
  TQtPictureBox* imgOptions = nullptr;
  TFieldEdit* dbCustPartNum = nullptr;
  TFieldMemo* dbCustDesc = nullptr;
  TFieldEdit* dbCustPrice = nullptr;
  QPushButton* btnPrintPNB = nullptr;
  QPushButton* btnCopyPNB = nullptr;
  QPushButton* btnExportPNB = nullptr;

  TAboutBox* frmAbout() const { return about_.get(); }
  // True once Finish has written the job file.
  bool HandedBack() const { return handedBack_; }

  // Fits the window into `available`, a screen's work area: where the fixed
  // size does not fit (a large scale on a small screen), the window takes the
  // area and the pages scroll above the wizard's buttons, which stay in view.
  void FitToArea(const QRect& available);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void BuildMenu();
  void BuildWizard();
  void BuildSelectionPage();
  void BuildCustomizationPage();
  void FormCreate(const QStringList& arguments);
  // Command or full mode, as the command line and the catalogue decide.
  void ChooseMode(const QStringList& arguments);
  // Asks for the shared catalogue folder and keeps it; true when chosen.
  bool OfferCatalogueFolder();
  // The window's own size: the client area below the menu.
  QSize DesignedSize() const;
  void FitToScreen();
  void UpdateQueryControls();
  // The page-two headings' accessible names, with the current model.
  void NameSectionsForTheModel();
  // What Enter runs the query from.
  std::vector<QWidget*> QueryControls() const;
  // Moves the focus to `target` after `radio` was chosen, by mouse or by key.
  void FocusAfterChoice(QRadioButton* radio, QWidget* target);
  void RunAntennaQuery();

  TDataModule& data_;
  TWindowServices services_;
  TProgramLauncher ExecuteApp1;
  TOnePageReport ZQReporter1;
  std::unique_ptr<TAboutBox> about_;
  bool followsScreen_ = false;
  bool handedBack_ = false;
  QLabel* optionsHeading_ = nullptr;  // "Select Customization Options for "
  QLabel* numberHeading_ = nullptr;   // "New Custom Part Number for "
  QMargins fittedFrame_;              // the frame the window was last fitted with
};
