#pragma once
// The main window: a two-page wizard over the data module. Page one queries
// and browses the catalogue; page two builds the custom part number. Finish
// and Cancel decide what is handed back to a calling program in the job file.
#include <QMainWindow>
#include <QStringList>
#include <memory>

#include "catalog/uDataMod.h"
#include "launch/uExecuteApp.h"
#include "output/uZQReporter.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/PrintDialog.h"
#include "platform/SaveDialog.h"
#include "platform/Shell.h"

class QAction;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TDBEdit;
class TDBGrid;
class TDBLookupCombo;
class TDBMemo;
class TDBNavigator;
class TDBText;
class TEPWizard;
class TEPWizardPage;
class TQtPictureBox;
class TZQLabel;
class TfrmAbout;

// What the window reaches outside itself; a test hands in fakes.
struct TWindowServices {
  TDialogs& Dialogs;
  TClipboard& Clipboard;
  TPrintDialog& PrintDialog;
  TSaveDialog& SaveDialog;
  TShell& Shell;
};

class TfrmKavPnbMain : public QMainWindow {
  Q_OBJECT
 public:
  // `arguments` are the command-line arguments after the program name.
  TfrmKavPnbMain(TDataMod& data, TWindowServices services, const QStringList& arguments,
                 QWidget* parent = nullptr);
  ~TfrmKavPnbMain() override;

  // Called by the data module after every change of the current antenna.
  void SyncOptionLists();

  // Handlers, public so tests can drive the window as a user would. Each
  // page's handlers live in its page's file: page one's in SelectionPage.cpp,
  // page two's in CustomizationPage.cpp; the wizard's and the menu's here,
  // in ukavpnb.cpp.
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
  TEPWizard* EPWizard1 = nullptr;
  TEPWizardPage* EPWizardPage1 = nullptr;
  TEPWizardPage* EPWizardPage2 = nullptr;
  QAction* Exit1 = nullptr;
  QAction* About1 = nullptr;
  // Page one.
  QRadioButton* rbAll = nullptr;
  QRadioButton* rbFreqType = nullptr;
  QRadioButton* rbPartNum = nullptr;
  TZQLabel* lblFreq = nullptr;
  TZQLabel* lblType = nullptr;
  TDBLookupCombo* cboFreqList = nullptr;
  TDBLookupCombo* cboTypeList = nullptr;
  QLineEdit* txtPart = nullptr;
  QPushButton* btnQryAntList = nullptr;
  TQtPictureBox* imgAntType = nullptr;
  TDBGrid* grdSpecs = nullptr;
  TDBNavigator* dbnavAntennas = nullptr;
  QPushButton* btnRPE = nullptr;
  QPushButton* btnPrintSpecs = nullptr;
  TDBGrid* grdLOM = nullptr;
  // Page two.
  TDBText* DBText1 = nullptr;
  TDBText* DBText2 = nullptr;
  TDBLookupCombo* cboFlangeList = nullptr;
  TDBLookupCombo* cboRadomeList = nullptr;
  TDBLookupCombo* cboPackList = nullptr;
  TQtPictureBox* imgOptions = nullptr;
  TDBEdit* dbCustPartNum = nullptr;
  TDBMemo* dbCustDesc = nullptr;
  TDBEdit* dbCustPrice = nullptr;
  QPushButton* btnPrintPNB = nullptr;
  QPushButton* btnCopyPNB = nullptr;
  QPushButton* btnExportPNB = nullptr;

  TfrmAbout* frmAbout() const { return about_.get(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenu();
  void BuildWizard();
  void BuildSelectionPage();
  void BuildCustomizationPage();
  void FormCreate(const QStringList& arguments);
  // Runs `handler` on a click; an error goes to the general error report.
  void OnClick(QPushButton* button, void (TfrmKavPnbMain::*handler)());
  void UpdateQueryControls();
  // Moves the focus to `target` after `radio` was chosen, by mouse or by key.
  void FocusAfterChoice(QRadioButton* radio, QWidget* target);
  void RunAntennaQuery();

  TDataMod& data_;
  TWindowServices services_;
  TExecuteApp ExecuteApp1;
  TZQReporter ZQReporter1;
  std::unique_ptr<TfrmAbout> about_;
};
