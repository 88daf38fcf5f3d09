// Page one, "Antenna Selection": the three queries and the antenna grid.
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>

#include "app/MainWindow.h"
#include "app/PageWidgets.h"
#include "app/QtPictureBox.h"
#include "catalog/AntennaGrid.h"
#include "controls/ControlHooks.h"
#include "controls/EtchedLine.h"
#include "controls/GlyphButton.h"
#include "controls/LookupList.h"
#include "controls/RecordNavigator.h"
#include "controls/wizard/Wizard.h"
#include "launch/PatternViewer.h"
#include "output/OutputCommands.h"
#include "platform/QString1252.h"
#include "platform/Text1252.h"

namespace {

// The 20 x 20 picture of "Query Antenna List": a magnifying glass over a list.
QIcon QueryIcon() {
  QPixmap picture(20, 20);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0, 0, 128), 1));
  for (int y = 3; y <= 15; y += 4)
    p.drawLine(1, y, 9, y);
  p.setPen(QPen(QColor(0, 0, 128), 2));
  p.setBrush(QColor(200, 225, 255));
  p.drawEllipse(QPointF(12, 9), 5, 5);
  p.setPen(QPen(QColor(128, 64, 0), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(15.5, 12.5), QPointF(18.5, 17.5));
  return QIcon(picture);
}

}  // namespace

void TMainWindow::BuildSelectionPage() {
  QWidget* page = EPWizardPage1;
  Heading("Select Query Filter", page, {16, 87, 122, 13});
  new TEtchedLine(page, {16, 86, 613, 19});

  rbAll = new QRadioButton("Show Me All Antennas", page);
  rbAll->setGeometry(56, 115, 129, 17);
  rbAll->setChecked(true);
  rbFreqType = new QRadioButton("Query By", page);
  rbFreqType->setGeometry(56, 142, 65, 17);
  rbPartNum = new QRadioButton("Query By Part Number", page);
  rbPartNum->setGeometry(56, 198, 129, 17);
  // Linux fonts run a little wider than the original ones: never clip a caption.
  WidenToFit(rbAll);
  WidenToFit(rbFreqType, 126);  // the "Frequency Range" caption begins there
  WidenToFit(rbPartNum);
  // The section's title, said as the focus enters it.
  for (QRadioButton* query : {rbAll, rbFreqType, rbPartNum})
    query->setAccessibleDescription("Select Query Filter");

  lblFreq = Caption("Frequency Range", page, {126, 141, 112, 21});
  lblFreq->SetTopColor(page->palette().color(QPalette::Base));
  cboFreqList = new TLookupList(page);
  cboFreqList->setGeometry(237, 141, 232, 21);
  cboFreqList->SetBorder(false);
  cboFreqList->SetListField(schema::range::kName);
  cboFreqList->SetShowTitle(true);
  cboFreqList->SetDataSet(&data_.FrequencyRanges);
  lblFreq->setBuddy(cboFreqList);
  lblType = Caption("Type", page, {126, 165, 112, 21});
  cboTypeList = new TLookupList(page);
  cboTypeList->setGeometry(237, 165, 232, 21);
  cboTypeList->SetBorder(false);
  cboTypeList->SetListField(schema::type::kName);
  cboTypeList->SetShowTitle(true);
  cboTypeList->SetTitle("Antenna Types");
  cboTypeList->SetDataSet(&data_.AntennaTypes);
  lblType->setBuddy(cboTypeList);
  // A type shown for another frequency is no choice for this one.
  cboFreqList->OnChange = [this](QObject*) { cboTypeList->SetText(""); };

  txtPart = new QLineEdit(page);
  // The box has no caption of its own: its radio button's caption names it.
  txtPart->setAccessibleName(rbPartNum->text());
  // Beside its radio button's caption, which may run wider than planned.
  txtPart->setGeometry(std::max(183, rbPartNum->geometry().right() + 3), 196, 126, 21);
  connect(txtPart, &QLineEdit::textEdited, this, [this](const QString& text) {
    const int cursor = txtPart->cursorPosition();
    txtPart->setText(text.toUpper());
    txtPart->setCursorPosition(cursor);
  });

  auto* query = new TGlyphButton(QueryIcon(), "Query Antenna List", page);
  query->setGeometry(224, 227, 198, 29);
  query->setIconSize({20, 20});
  query->SetSpacing(10);
  btnQryAntList = query;
  // Enter in the part-number box, in a closed query list or on a query's
  // radio button runs the query, not the wizard's default button: Next would
  // go on with the antenna shown before the user chose.
  for (QWidget* queryControl : QueryControls())
    queryControl->installEventFilter(this);
  new TEtchedLine(page, {16, 240, 613, 33});
  Heading("Select Antenna", page, {16, 256, 98, 13});

  imgAntType = new TQtPictureBox(page);
  imgAntType->setGeometry(24, 288, 100, 100);
  imgAntType->setAccessibleName("Antenna picture");
  grdSpecs = new TTableGrid(page);
  grdSpecs->setGeometry(136, 282, 489, 110);
  grdSpecs->setAccessibleName("Antennas");
  grdSpecs->setAccessibleDescription("Select Antenna");
  grdSpecs->SetBorder(false);
  grdSpecs->SetOptions(TTableGrid::dgTitles | TTableGrid::dgIndicator | TTableGrid::dgRowLines |
                       TTableGrid::dgColLines | TTableGrid::dgRowSelect);
  std::vector<TTableGridColumn> columns;
  for (const TGridColumn& column : kAntennaGridColumns)
    columns.push_back(CentredColumn(column.field, column.title, column.width));
  grdSpecs->SetColumns(columns);
  grdSpecs->SetDataSet(&data_.Antennas);
  dbnavAntennas = new TRecordNavigator(page);
  dbnavAntennas->setGeometry(144, 396, 228, 25);
  dbnavAntennas->SetDataSet(&data_.Antennas);
  btnRPE = new QPushButton("View RPE", page);
  btnRPE->setGeometry(389, 396, 97, 25);
  btnPrintSpecs = new QPushButton("Print Specs", page);
  btnPrintSpecs->setGeometry(490, 396, 97, 25);

  grdPricing = new TTableGrid(page);
  grdPricing->setGeometry(23, 439, 600, 36);
  grdPricing->setAccessibleName("List price");
  grdPricing->SetBorder(false);
  grdPricing->SetOptions(TTableGrid::dgTitles | TTableGrid::dgRowLines | TTableGrid::dgColLines |
                         TTableGrid::dgRowSelect);
  TTableGridColumn part = CentredColumn(schema::pricing::kModel, "Part Number", 100);
  part.FontColor = Qt::blue;
  part.TitleFontColor = Qt::black;
  TTableGridColumn description = CentredColumn(schema::pricing::kDescription, "Description", 425);
  description.TitleFontColor = Qt::black;
  TTableGridColumn price = CentredColumn(schema::pricing::kPrice, "US List Price", 75);
  price.FontColor = Qt::red;
  price.TitleFontColor = Qt::black;
  grdPricing->SetColumns({part, description, price});
  grdPricing->SetDataSet(&data_.Pricing);

  // As the window is built: only "Show Me All Antennas" is usable.
  UpdateQueryControls();
  btnRPE->setEnabled(false);
  btnPrintSpecs->setEnabled(false);

  // Tab order: the grid first, then the buttons under it, then the query.
  QWidget* order[] = {grdSpecs,   dbnavAntennas, btnRPE,      btnPrintSpecs,
                      grdPricing, rbAll,         rbFreqType,  rbPartNum,
                      txtPart,    cboFreqList,   cboTypeList, btnQryAntList};
  for (size_t i = 1; i < std::size(order); ++i)
    QWidget::setTabOrder(order[i - 1], order[i]);

  auto onChecked = [this](QRadioButton* button, void (TMainWindow::*handler)()) {
    connect(button, &QRadioButton::toggled, this, [this, handler](bool checked) {
      if (checked) RunGuarded([this, handler] { (this->*handler)(); });
    });
  };
  onChecked(rbAll, &TMainWindow::rbAllClick);
  onChecked(rbFreqType, &TMainWindow::rbFreqTypeClick);
  onChecked(rbPartNum, &TMainWindow::rbPartNumClick);
  OnClick(btnQryAntList, this, &TMainWindow::btnQryAntListClick);
  OnClick(btnRPE, this, &TMainWindow::btnRPEClick);
  OnClick(btnPrintSpecs, this, &TMainWindow::btnPrintSpecsClick);
}

std::vector<QWidget*> TMainWindow::QueryControls() const {
  return {txtPart, cboFreqList, cboTypeList, rbAll, rbFreqType, rbPartNum};
}

bool TMainWindow::eventFilter(QObject* watched, QEvent* event) {
  const std::vector<QWidget*> queryControls = QueryControls();
  if (event->type() == QEvent::KeyPress &&
      std::find(queryControls.begin(), queryControls.end(), watched) != queryControls.end()) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      btnQryAntList->click();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainWindow::UpdateQueryControls() {
  txtPart->setEnabled(rbPartNum->isChecked());
  const bool byFreqType = rbFreqType->isChecked();
  for (QWidget* control :
       std::initializer_list<QWidget*>{cboFreqList, cboTypeList, lblType, lblFreq})
    control->setEnabled(byFreqType);
}

void TMainWindow::rbAllClick() {
  UpdateQueryControls();
  data_.QueryMode = TQueryMode::All;
}

void TMainWindow::rbFreqTypeClick() {
  UpdateQueryControls();
  data_.QueryMode = TQueryMode::RangeAndType;
  FocusAfterChoice(rbFreqType, cboFreqList);
}

void TMainWindow::rbPartNumClick() {
  UpdateQueryControls();
  data_.QueryMode = TQueryMode::ModelNumber;
  FocusAfterChoice(rbPartNum, txtPart);
}

void TMainWindow::FocusAfterChoice(QRadioButton* radio, QWidget* target) {
  EPWizard1->ShowControl(target);
  target->setFocus();
  // An arrow key checks the next radio button, runs its handler, and only
  // then gives that button the focus: take it on once the key is done.
  QTimer::singleShot(0, target, [radio, target] {
    if (radio->hasFocus() && radio->isChecked()) target->setFocus();
  });
}

void TMainWindow::btnQryAntListClick() {
  if (data_.QueryMode == TQueryMode::None) {
    services_.Dialogs.ShowMessage("You must select a query value");
  } else if (data_.QueryMode == TQueryMode::All) {
    RunAntennaQuery();
  } else if (data_.QueryMode == TQueryMode::ModelNumber) {
    if (txtPart->text().isEmpty()) {
      services_.Dialogs.ShowMessage("You must enter a part number to generate an antenna list.");
      return;
    }
    data_.SetQueryValue(std::string(ansi::Trim(ToAnsi(txtPart->text()))));
    RunAntennaQuery();
  } else if (cboFreqList->Text().isEmpty()) {
    services_.Dialogs.ShowMessage(
        "You must select a \"Frequency Range\" to generate an antenna list.");
  } else if (cboTypeList->Text().isEmpty()) {
    services_.Dialogs.ShowMessage(
        "You must select an \"Antenna Type\" to generate an antenna list.");
  } else {
    RunAntennaQuery();
  }
}

void TMainWindow::RunAntennaQuery() {
  const bool found = data_.QueryAntennas();
  btnPrintSpecs->setEnabled(found);
  btnRPE->setEnabled(found);
  EPWizard1->NextButton()->setEnabled(found);
}

void TMainWindow::btnPrintSpecsClick() {
  PrintSpecSheet(data_, ZQReporter1, services_.PrintDialog);
}

void TMainWindow::btnRPEClick() {
  LaunchPatternViewer(data_.GetSelectedPartNum(), ExecuteApp1, services_.Dialogs);
}
