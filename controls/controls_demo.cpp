// A window with every control of controls/ over the demo catalogue, laid out
// like the program's two wizard pages, for looking at the controls.
//
//   kav_controls_demo [--page2] [--command] [--about] [--popup]
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "controls/Artwork.h"
#include "controls/Bevel.h"
#include "controls/ControlHooks.h"
#include "controls/DBCtrls.h"
#include "controls/DBGrid.h"
#include "controls/DBLookupCombo.h"
#include "controls/DBNavigator.h"
#include "controls/EPStdCmp.h"
#include "controls/URLLabel.h"
#include "controls/ZQLabel.h"
#include "controls/about.h"
#include "flatfile/uFlatFileDataSet.h"
#include "platform/Shell.h"

namespace {

class PrintingShell : public TShell {
 public:
  bool Open(const std::string& target) override {
    std::printf("open %s\n", target.c_str());
    return true;
  }
};

std::unique_ptr<TFlatFileDataSet> Table(const std::string& file, int skipRow) {
  auto table = std::make_unique<TFlatFileDataSet>(file);
  table->SetFileName(file);
  table->SetSkipRow(skipRow);
  return table;
}

QFont Heading() {
  return WindowsFont(QStringLiteral("Verdana"), 11, true);
}

QLabel* HeadingLabel(const QString& text, QWidget* parent, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->setFont(Heading());
  label->move(x, y);
  label->adjustSize();
  return label;
}

TZQLabel* Caption(const QString& text, QWidget* parent, QRect where) {
  auto* label = new TZQLabel(text, parent);
  label->setGeometry(where);
  return label;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("KAV Antenna Part Number Builder"));
  QApplication::setWindowIcon(KavProgramIcon());
  QApplication::setFont(WindowsFont(QStringLiteral("MS Sans Serif"), 11));
  const QStringList args = QApplication::arguments();

  const std::string catalog = std::string(KAV_SOURCE_DIR) + "/demo/";
  auto freq = Table(catalog + "data/MWFreq.dat", 0);
  auto types = Table(catalog + "data/MWAntTypes.dat", 0);
  auto ants = Table(catalog + "common/MWAnts.dat", 1);
  auto lom = Table(catalog + "common/M_LOM.dat", 1);
  auto radomes = Table(catalog + "data/radome_List.dat", 0);
  auto packs = Table(catalog + "data/pack_list.dat", 0);
  const std::string pnbFile = std::filesystem::temp_directory_path() / "kav_controls_demo_pnb.dat";
  std::ofstream(pnbFile) << "CustPartNum|CustDesc|CustPrice\n"
                            "OSD4-6-CS1|4 ft Standard Antenna, 6 GHz, CPR137G flange, "
                            "standard white radome, standard carton|1815.00\n";
  auto pnb = Table(pnbFile, 0);

  // The pricing row follows the current antenna.
  TDataSource dsAnts(ants.get());
  dsAnts.OnDataChange = [&](TField*) {
    lom->Close();
    lom->SetFiltered(true);
    lom->Filters().SetValue("PartNo",
                            ants->RecordCount() ? ants->FieldByName("PartNum")->AsString() : "");
    lom->Open();
  };

  QMainWindow window;
  window.setWindowTitle(QStringLiteral("KAV Part Number Builder"));
  auto* client = new QWidget;
  client->setFixedSize(655, 534);
  window.setCentralWidget(client);
  window.menuBar()
      ->addMenu(QStringLiteral("File"))
      ->addAction(QStringLiteral("E&xit"), &window, &QWidget::close);
  window.menuBar()->addAction(QStringLiteral("About"));

  auto* wizard = new TEPWizard(client);
  wizard->BeginLoading();
  auto* page1 = new TEPWizardPage(wizard);
  page1->SetName(QStringLiteral("EPWizardPage1"));
  page1->SetTitle(QStringLiteral("Antenna Selection"));
  auto* page2 = new TEPWizardPage(wizard);
  page2->SetName(QStringLiteral("EPWizardPage2"));
  page2->SetTitle(QStringLiteral("Antenna Customization"));
  wizard->SetDrawEdge(true);
  wizard->Layouts().Add(QStringLiteral("Full"),
                        {QStringLiteral("EPWizardPage1"), QStringLiteral("EPWizardPage2")});
  wizard->Layouts().Add(QStringLiteral("Command"), {QStringLiteral("EPWizardPage2")});
  wizard->SetLayout(QStringLiteral("Full"));
  wizard->SetFirstPage(page1);

  // Page 1.
  HeadingLabel(QStringLiteral("Select Query Filter"), page1, 16, 87);
  new TBevel(page1, QRect(16, 86, 613, 19));
  auto* rbAll = new QRadioButton(QStringLiteral("Show Me All Antennas"), page1);
  rbAll->setGeometry(56, 115, 129, 17);
  rbAll->setChecked(true);
  auto* rbFreqType = new QRadioButton(QStringLiteral("Query By"), page1);
  rbFreqType->setGeometry(56, 142, 65, 17);
  auto* lblFreq = Caption(QStringLiteral("Frequency Range"), page1, QRect(126, 141, 112, 21));
  lblFreq->SetTopColor(page1->palette().color(QPalette::Base));
  auto* cboFreqList = new TDBLookupCombo(page1);
  cboFreqList->setGeometry(237, 141, 232, 21);
  cboFreqList->setFrame(false);
  cboFreqList->SetListField("Freq");
  cboFreqList->SetShowTitle(true);
  cboFreqList->SetDataSet(freq.get());
  Caption(QStringLiteral("Type"), page1, QRect(126, 165, 112, 21));
  auto* cboTypeList = new TDBLookupCombo(page1);
  cboTypeList->setGeometry(237, 165, 232, 21);
  cboTypeList->setFrame(false);
  cboTypeList->SetListField("Prefix");
  cboTypeList->SetShowTitle(true);
  cboTypeList->SetTitle(QStringLiteral("Antenna Types"));
  cboTypeList->SetDataSet(types.get());
  auto* rbPartNum = new QRadioButton(QStringLiteral("Query By Part Number"), page1);
  rbPartNum->setGeometry(56, 198, 129, 17);
  auto* txtPart = new QLineEdit(page1);
  txtPart->setGeometry(183, 196, 126, 21);
  txtPart->setEnabled(false);
  auto* btnQry = new QPushButton(QStringLiteral("Query Antenna List"), page1);
  btnQry->setGeometry(224, 227, 198, 29);
  new TBevel(page1, QRect(16, 240, 613, 33));
  HeadingLabel(QStringLiteral("Select Antenna"), page1, 16, 256);
  auto* imgAntType = new QLabel(page1);
  imgAntType->setGeometry(24, 288, 100, 100);
  imgAntType->setPixmap(KavProgramIcon().pixmap(48, 48));
  imgAntType->setAlignment(Qt::AlignCenter);

  auto* grdSpecs = new TDBGrid(page1);
  grdSpecs->setGeometry(136, 282, 489, 110);
  grdSpecs->SetBorder(false);
  grdSpecs->SetOptions(TDBGrid::dgTitles | TDBGrid::dgIndicator | TDBGrid::dgRowLines |
                       TDBGrid::dgRowSelect);
  grdSpecs->SetColumns(
      {CentredColumn("PartNum", "Model Number", 100), CentredColumn("Freq", "Frequency", 100),
       CentredColumn("Flange", "Antenna Inputs", 100),
       CentredColumn("Polarization", "Polarization", 100),
       CentredColumn("Diameter_Ft_M", "Diameter ft(m)", 100), CentredColumn("RPE", "RPE", 100),
       CentredColumn("Gain_Low", "Gain, dbi, Low", 125), CentredColumn("VSWR", "VSWR", 125)});
  grdSpecs->SetDataSet(ants.get());
  auto* nav = new TDBNavigator(page1);
  nav->setGeometry(144, 396, 228, 25);
  nav->SetDataSet(ants.get());
  auto* btnRPE = new QPushButton(QStringLiteral("View RPE"), page1);
  btnRPE->setGeometry(389, 396, 97, 25);
  auto* btnPrint = new QPushButton(QStringLiteral("Print Specs"), page1);
  btnPrint->setGeometry(490, 396, 97, 25);
  auto* grdLOM = new TDBGrid(page1);
  grdLOM->setGeometry(23, 439, 600, 36);
  grdLOM->SetBorder(false);
  grdLOM->SetOptions(TDBGrid::dgTitles | TDBGrid::dgRowLines | TDBGrid::dgRowSelect);
  auto price = CentredColumn("USPrice", "US List Price", 75);
  price.FontColor = Qt::red;
  auto part = CentredColumn("PartNo", "Part Number", 100);
  part.FontColor = Qt::blue;
  grdLOM->SetColumns({part, CentredColumn("Desc", "Description", 425), price});
  grdLOM->SetDataSet(lom.get());

  // Page 2.
  HeadingLabel(QStringLiteral("Select Customization Options for "), page2, 16, 100);
  auto* dbText1 = new TDBText(page2);
  dbText1->setGeometry(235, 100, 54, 13);
  dbText1->setFont(Heading());
  SetFontColor(dbText1, Qt::blue);
  dbText1->SetAutoSize(true);
  dbText1->SetDataField("PartNum");
  dbText1->SetDataSet(ants.get());
  new TBevel(page2, QRect(16, 117, 617, 2));
  Caption(QStringLiteral("Radome\\Antenna Options"), page2, QRect(31, 163, 135, 21));
  auto* cboRadome = new TDBLookupCombo(page2);
  cboRadome->setGeometry(165, 163, 284, 21);
  cboRadome->setFrame(false);
  cboRadome->SetListField("Radome_Desc");
  cboRadome->SetShowTitle(true);
  cboRadome->SetTitle(QStringLiteral("Antenna\\Radome Options"));
  cboRadome->SetDropDownWidth(400);
  cboRadome->SetDataSet(radomes.get());
  Caption(QStringLiteral("Packing Options"), page2, QRect(77, 195, 89, 21));
  auto* cboPack = new TDBLookupCombo(page2);
  cboPack->setGeometry(166, 195, 283, 21);
  cboPack->setFrame(false);
  cboPack->SetListField("Pack_Desc");
  cboPack->SetShowTitle(true);
  cboPack->SetTitle(QStringLiteral("Packing Options"));
  cboPack->SetDataSet(packs.get());
  HeadingLabel(QStringLiteral("New Custom Part Number for "), page2, 16, 279);
  new TBevel(page2, QRect(16, 296, 623, 2));
  Caption(QStringLiteral("Custom Part Number"), page2, QRect(34, 309, 113, 21));
  auto* dbPart = new TDBEdit(page2);
  dbPart->setGeometry(146, 309, 185, 21);
  dbPart->SetBorder(false);
  QFont bold = dbPart->font();
  bold.setBold(true);
  dbPart->setFont(bold);
  SetFontColor(dbPart, Qt::blue);
  dbPart->SetDataField("CustPartNum");
  dbPart->SetDataSet(pnb.get());
  Caption(QStringLiteral("Custom Description"), page2, QRect(34, 338, 113, 21));
  auto* dbDesc = new TDBMemo(page2);
  dbDesc->setGeometry(146, 338, 409, 53);
  dbDesc->SetBorder(false);
  dbDesc->SetDataField("CustDesc");
  dbDesc->SetDataSet(pnb.get());
  Caption(QStringLiteral("Custom Price"), page2, QRect(34, 399, 113, 21));
  auto* dbPrice = new TDBEdit(page2);
  dbPrice->setGeometry(146, 399, 97, 21);
  dbPrice->SetBorder(false);
  dbPrice->setFont(bold);
  SetFontColor(dbPrice, Qt::red);
  dbPrice->SetDataField("CustPrice");
  dbPrice->SetDataSet(pnb.get());
  int x = 104;
  for (const char* text : {"Print", "Copy to Clipboard", "Export"}) {
    (new QPushButton(QString::fromLatin1(text), page2))->setGeometry(x, 440, 145, 25);
    x += 152;
  }
  wizard->EndLoading();

  wizard->OnFinishClick = [&](QObject*) { std::printf("finish\n"); };
  wizard->SetOnCancelClick([&](QObject*) { window.close(); });
  PrintingShell shell;
  TfrmAbout about(&shell);

  freq->Open();
  types->Open();
  ants->Open();
  radomes->Open();
  packs->Open();
  pnb->Open();
  cboFreqList->ShowValue("7 GHz");
  cboRadome->ShowValue(radomes->FieldByName("Radome_Desc")->AsString());
  cboPack->ShowValue(packs->FieldByName("Pack_Desc")->AsString());
  ants->SetRecNo(3);

  if (args.contains(QStringLiteral("--command"))) wizard->SetLayout(QStringLiteral("Command"));
  if (args.contains(QStringLiteral("--page2"))) wizard->NextClick();
  window.move(0, 0);
  window.show();
  if (args.contains(QStringLiteral("--about"))) about.show();
  if (args.contains(QStringLiteral("--popup"))) {
    QTimer::singleShot(300, [&] {
      if (wizard->ActivePage() == page2)
        cboRadome->showPopup();
      else
        cboFreqList->showPopup();
    });
  }
  return app.exec();
}
