#include "app/MainWindow.h"

#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QWindow>
#include <algorithm>

#include "app/QtPictureBox.h"
#include "controls/AboutBox.h"
#include "controls/ControlHooks.h"
#include "controls/FieldViews.h"
#include "controls/LookupList.h"
#include "controls/wizard/Wizard.h"
#include "launch/PatternViewer.h"
#include "output/OutputCommands.h"
#include "platform/QString1252.h"
#include "platform/Text1252.h"
#include "settings/Registry.h"

namespace {

constexpr int kClientWidth = 655;
constexpr int kClientHeight = 534;

}  // namespace

TMainWindow::TMainWindow(TDataModule& data, TWindowServices services, const QStringList& arguments,
                         QWidget* parent)
    : QMainWindow(parent), data_(data), services_(services), ExecuteApp1(services.Shell) {
  setObjectName("frmKavPnbMain");
  setWindowTitle("KAV Part Number Builder");
  SetUpMainWindowReporter(ZQReporter1);
  SetUpPatternViewerLauncher(ExecuteApp1);
  BuildMenu();
  BuildWizard();
  // A fixed client area below the menu, with a border that cannot be resized,
  // and no maximise button, which would do nothing.
  setFixedSize(DesignedSize());
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);

  // The data module draws into the picture boxes and calls back after every
  // change of the current antenna, from now on.
  data_.AntennaImg.AssignedImage = imgAntType;
  data_.SetCatalogueHint(CatalogueFolderSetting());
  data_.FlangeImg.AssignedImage = imgOptions;
  data_.RadomeImg.AssignedImage = imgOptions;
  data_.OnSyncOptionLists = [this] { SyncOptionLists(); };
  data_.OnQuoteChanged = [this](const TQuote& quote) { ShowQuote(quote); };

  FormCreate(arguments);
  about_ = std::make_unique<TAboutBox>(&services_.Shell, this);
}

TMainWindow::~TMainWindow() {
  data_.OnSyncOptionLists = nullptr;
  data_.OnQuoteChanged = nullptr;
  data_.AntennaImg.AssignedImage = nullptr;
  data_.FlangeImg.AssignedImage = nullptr;
  data_.RadomeImg.AssignedImage = nullptr;
}

void TMainWindow::BuildMenu() {
  QMenu* file = menuBar()->addMenu("File");
  Exit1 = file->addAction("E&xit");
  connect(Exit1, &QAction::triggered, this, [this] { RunGuarded([this] { Exit1Click(); }); });
  About1 = menuBar()->addAction("About");
  connect(About1, &QAction::triggered, this, [this] { RunGuarded([this] { About1Click(); }); });
}

void TMainWindow::BuildWizard() {
  auto* client = new QWidget(this);
  client->resize(kClientWidth, kClientHeight);
  setCentralWidget(client);
  EPWizard1 = new TWizard(client);
  // The pages keep their size on a screen too small for the window: they
  // scroll above the wizard's buttons instead.
  EPWizard1->SetPageMinimumSize({kClientWidth, kClientHeight - EPWizard1->Panel()->height()});
  EPWizard1->setObjectName("EPWizard1");
  EPWizard1->BeginLoading();
  EPWizardPage1 = new TWizardPage(EPWizard1);
  EPWizardPage1->SetName("EPWizardPage1");
  EPWizardPage1->SetTitle("Antenna Selection");
  EPWizardPage2 = new TWizardPage(EPWizard1);
  EPWizardPage2->SetName("EPWizardPage2");
  EPWizardPage2->SetTitle("Antenna Customization");
  EPWizard1->SetDrawEdge(true);
  EPWizard1->Layouts().Add("Full", {"EPWizardPage1", "EPWizardPage2"});
  EPWizard1->Layouts().Add("Command", {"EPWizardPage2"});
  EPWizard1->SetLayout("Full");
  EPWizard1->SetFirstPage(EPWizardPage1);
  BuildSelectionPage();
  BuildCustomizationPage();
  EPWizard1->EndLoading();
  EPWizard1->OnFinishClick = [this](QObject*) { RunGuarded([this] { EPWizard1FinishClick(); }); };
  EPWizard1->SetOnCancelClick([this](QObject*) { RunGuarded([this] { EPWizard1CancelClick(); }); });
}

QSize TMainWindow::DesignedSize() const {
  // The window's layout gives the menu bar its height for the width, which
  // Windows' style makes a pixel more than its size hint (the space below it).
  const int menu = menuBar()->heightForWidth(kClientWidth);
  return {kClientWidth, kClientHeight + (menu > 0 ? menu : menuBar()->sizeHint().height())};
}

void TMainWindow::FitToArea(const QRect& available) {
  const QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
  fittedFrame_ = frame;
  const QSize room = available.size().shrunkBy(frame);
  const QSize designed = DesignedSize();
  // Scrolling one way takes a scroll bar's room the other way, which the
  // window keeps where the screen has it, so that only one bar is needed.
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const bool tall = designed.height() > room.height();
  const bool wide = designed.width() > room.width();
  setFixedSize((designed + QSize(tall ? bar : 0, wide ? bar : 0)).boundedTo(room));
  if (!tall && !wide) return;
  // The page opens at its top; page two with its result in view, where it
  // fits, once the wizard has its new size.
  if (EPWizard1->ActivePage() == EPWizardPage2) {
    layout()->setGeometry(rect());
    EPWizard1->ShowPageStart();
  }
  // The whole window, frame and all, on the screen.
  const QRect outer = QRect(pos(), size().grownBy(frame));
  const QPoint inside(
      std::clamp(outer.x(), available.left(), available.right() + 1 - outer.width()),
      std::clamp(outer.y(), available.top(), available.bottom() + 1 - outer.height()));
  if (inside != outer.topLeft()) move(inside);
}

void TMainWindow::FitToScreen() {
  if (const QScreen* shown = screen()) FitToArea(shown->availableGeometry());
}

void TMainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!followsScreen_ && windowHandle() != nullptr) {
    followsScreen_ = true;
    connect(windowHandle(), &QWindow::screenChanged, this, [this] { FitToScreen(); });
  }
  FitToScreen();
}

void TMainWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  // The window manager frames the window after it is shown: its title bar
  // counts from then on.
  if (windowHandle() != nullptr && windowHandle()->frameMargins() != fittedFrame_) FitToScreen();
}

void TMainWindow::FormCreate(const QStringList& arguments) {
  ChooseMode(arguments);
  // A first start where the installer set no catalogue folder: the user
  // may choose it now rather than look for the registry.
  if (data_.CatalogueFolderUnset() && OfferCatalogueFolder()) ChooseMode(arguments);
}

bool TMainWindow::OfferCatalogueFolder() {
  if (!services_.Dialogs.Confirm(kOfferCatalogueFolder)) return false;
  std::string folder;
  if (!services_.Dialogs.ChooseFolder(kChooseCatalogueFolder, folder)) return false;
  data_.KeepCatalogueFolder(folder);
  return true;
}

void TMainWindow::ChooseMode(const QStringList& arguments) {
  bool found = false;
  if (!arguments.isEmpty()) {
    // Only the first argument counts, without blanks and control characters around it.
    const std::string model(ansi::Trim(ToAnsi(arguments.first())));
    data_.QueryMode = TQueryMode::ModelNumber;
    data_.SetQueryValue(model);
    data_.SetExactPartNumber(true);
    found = data_.QueryAntennas();
  }
  if (found) {
    EPWizard1->SetLayout("Command");
    return;
  }
  EPWizard1->SetLayout("Full");
  EPWizard1->NextButton()->setEnabled(false);
  data_.SetExactPartNumber(false);
  rbAllClick();
  // A catalogue that failed to open fails the same way again: one box is enough.
  if (!data_.QueryFailed()) btnQryAntListClick();
}

void TMainWindow::SyncOptionLists() {
  cboFlangeList->ShowValue(FieldText(data_.Flanges, schema::flange::kName));
  cboRadomeList->ShowValue(FieldText(data_.RadomeOptions, schema::radome::kDescription));
  cboPackList->ShowValue(FieldText(data_.PackingOptions, schema::pack::kDescription));
  NameSectionsForTheModel();
}

void TMainWindow::NameSectionsForTheModel() {
  // A heading and the model after it are two labels on the page but one
  // title to a screen reader, which says it as the focus enters its section.
  const QString model = FromAnsi(FieldText(data_.Antennas, schema::antenna::kModel));
  const auto title = [&](QLabel* heading) { return heading->text().trimmed() + ' ' + model; };
  optionsHeading_->setAccessibleName(title(optionsHeading_));
  numberHeading_->setAccessibleName(title(numberHeading_));
  for (QWidget* option : std::initializer_list<QWidget*>{cboFlangeList, cboRadomeList, cboPackList})
    option->setAccessibleDescription(optionsHeading_->accessibleName());
  for (QWidget* result : std::initializer_list<QWidget*>{dbCustPartNum, dbCustDesc, dbCustPrice})
    result->setAccessibleDescription(numberHeading_->accessibleName());
}

void TMainWindow::EPWizard1FinishClick() {
  // Only a quote built whole from tables that all opened is handed back.
  if (data_.CurrentQuote().Complete()) {
    data_.WriteJobFile();
    handedBack_ = true;
    close();
    return;
  }
  if (services_.Dialogs.Confirm(
          "You have not completed a part number.  Would you still like to exit?")) {
    data_.DeleteJobFile();
    close();
  }
}

void TMainWindow::EPWizard1CancelClick() {
  if (services_.Dialogs.Confirm("Cancel now?")) {
    data_.DeleteJobFile();
    close();
  }
}

void TMainWindow::Exit1Click() {
  close();
}

void TMainWindow::About1Click() {
  about_->exec();
}
