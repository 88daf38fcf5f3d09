// Page two, "Antenna Customization": the option lists and the custom part number.
#include <QPushButton>

#include "app/MainWindow.h"
#include "app/PageWidgets.h"
#include "app/QtPictureBox.h"
#include "controls/ControlHooks.h"
#include "controls/EtchedLine.h"
#include "controls/FieldViews.h"
#include "controls/LookupList.h"
#include "controls/wizard/Wizard.h"
#include "output/OutputCommands.h"

namespace {

TLookupList* OptionList(QWidget* page, QRect box, TTable* table, const char* field,
                        const QString& title) {
  auto* list = new TLookupList(page);
  list->setGeometry(box);
  list->SetBorder(false);
  list->SetListField(field);
  list->SetShowTitle(true);
  list->SetTitle(title);
  list->SetDataSet(table);
  return list;
}

// The model number beside a heading: blue, sized to its text.
TFieldText* ModelNumber(QWidget* page, QRect box, TTable* antennas) {
  auto* text = new TFieldText(page);
  text->setGeometry(box);
  text->setFont(HeadingFont());
  SetFontColor(text, Qt::blue);
  text->SetAutoSize(true);
  text->SetDataField(schema::antenna::kModel);
  text->SetDataSet(antennas);
  return text;
}

// A box of the quote: shown by the window as each quote is built.
TFieldEdit* BoldBox(QWidget* page, QRect box, QColor color) {
  auto* edit = new TFieldEdit(page);
  edit->setGeometry(box);
  edit->SetBorder(false);
  edit->setReadOnly(true);
  QFont bold = edit->font();
  bold.setBold(true);
  edit->setFont(bold);
  SetFontColor(edit, color);
  return edit;
}

}  // namespace

void TMainWindow::BuildCustomizationPage() {
  QWidget* page = EPWizardPage2;
  optionsHeading_ = Heading("Select Customization Options for ", page, {16, 100, 216, 13});
  DBText1 =
      ModelNumber(page, {optionsHeading_->geometry().right() + 1, 100, 54, 13}, &data_.Antennas);
  new TEtchedLine(page, {16, 117, 617, 2});

  // Each caption is tied to the control it names, for screen readers.
  TFramedLabel* flangeCaption = Caption("Flange Options", page, {77, 131, 89, 21});
  cboFlangeList =
      OptionList(page, {165, 131, 164, 21}, &data_.Flanges, schema::flange::kName, "Flanges");
  flangeCaption->setBuddy(cboFlangeList);
  TFramedLabel* radomeCaption = Caption("Radome\\Antenna Options", page, {31, 163, 135, 21});
  cboRadomeList = OptionList(page, {165, 163, 284, 21}, &data_.RadomeOptions,
                             schema::radome::kDescription, "Antenna\\Radome Options");
  cboRadomeList->SetDropDownWidth(400);
  radomeCaption->setBuddy(cboRadomeList);
  TFramedLabel* packCaption = Caption("Packing Options", page, {77, 195, 89, 21});
  cboPackList = OptionList(page, {166, 195, 283, 21}, &data_.PackingOptions,
                           schema::pack::kDescription, "Packing Options");
  packCaption->setBuddy(cboPackList);
  cboFlangeList->OnChange = [this](QObject*) { RunGuarded([this] { cboFlangeListChange(); }); };
  cboRadomeList->OnChange = [this](QObject*) { RunGuarded([this] { cboRadomeListChange(); }); };

  imgOptions = new TQtPictureBox(page);
  imgOptions->setGeometry(491, 144, 121, 120);
  imgOptions->setAccessibleName("Flange or radome picture");

  numberHeading_ = Heading("New Custom Part Number for ", page, {16, 279, 192, 13});
  DBText2 =
      ModelNumber(page, {numberHeading_->geometry().right() + 1, 279, 54, 13}, &data_.Antennas);
  new TEtchedLine(page, {16, 296, 623, 2});

  TFramedLabel* numberCaption = Caption("Custom Part Number", page, {34, 309, 113, 21});
  dbCustPartNum = BoldBox(page, {146, 309, 185, 21}, Qt::blue);
  numberCaption->setBuddy(dbCustPartNum);
  TFramedLabel* descCaption = Caption("Custom Description", page, {34, 338, 113, 21});
  dbCustDesc = new TFieldMemo(page);
  dbCustDesc->setGeometry(146, 338, 409, 53);
  dbCustDesc->SetBorder(false);
  dbCustDesc->setReadOnly(true);
  dbCustDesc->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // the text wraps
  descCaption->setBuddy(dbCustDesc);
  TFramedLabel* priceCaption = Caption("Custom Price", page, {34, 399, 113, 21});
  dbCustPrice = BoldBox(page, {146, 399, 97, 21}, Qt::red);
  // What the user came for: in view with the first option list on a small screen.
  EPWizardPage2->SetShownOnEntry({dbCustPartNum, dbCustPrice});
  priceCaption->setBuddy(dbCustPrice);

  btnPrintPNB = new QPushButton("Print", page);
  btnPrintPNB->setGeometry(104, 440, 145, 25);
  btnCopyPNB = new QPushButton("Copy to Clipboard", page);
  btnCopyPNB->setGeometry(256, 440, 145, 25);
  btnExportPNB = new QPushButton("Export", page);
  btnExportPNB->setGeometry(408, 440, 145, 25);

  QWidget* order[] = {cboFlangeList, cboRadomeList, cboPackList, dbCustPartNum, dbCustDesc,
                      dbCustPrice,   btnPrintPNB,   btnCopyPNB,  btnExportPNB};
  for (size_t i = 1; i < std::size(order); ++i)
    QWidget::setTabOrder(order[i - 1], order[i]);

  OnClick(btnPrintPNB, this, &TMainWindow::btnPrintPNBClick);
  OnClick(btnCopyPNB, this, &TMainWindow::btnCopyPNBClick);
  OnClick(btnExportPNB, this, &TMainWindow::btnExportPNBClick);
}

void TMainWindow::ShowQuote(const TQuote& quote) {
  // A build that failed shows nothing of a part number.
  dbCustPartNum->ShowText(quote.built ? quote.partNumber : "");
  dbCustDesc->ShowText(quote.built ? quote.description : "");
  dbCustPrice->ShowText(quote.built ? quote.PriceText() : "");
}

void TMainWindow::cboFlangeListChange() {
  data_.ShowFlangeImage();
}

void TMainWindow::cboRadomeListChange() {
  data_.ShowRadomeImage();
}

void TMainWindow::btnPrintPNBClick() {
  PrintCustomPartNumber(data_, ZQReporter1, services_.PrintDialog, services_.Dialogs);
}

void TMainWindow::btnCopyPNBClick() {
  CopyPartNumber(data_, services_.Clipboard, services_.Dialogs);
}

void TMainWindow::btnExportPNBClick() {
  ExportPartNumber(data_, services_.SaveDialog, services_.Dialogs);
}
