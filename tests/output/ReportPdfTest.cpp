// Both printed reports, printed into PDF files and read back.
#include <algorithm>
#include <cmath>
#include <sstream>

#include "OutputTestSupport.h"
#include "catalog/CatalogFixture.h"
#include "output/OutputCommands.h"

namespace {

std::string Trim(const std::string& s) {
  const size_t first = s.find_first_not_of(" \f");
  return first == std::string::npos ? "" : s.substr(first, s.find_last_not_of(' ') - first + 1);
}

class ReportPdfTest : public CatalogFixture {
 protected:
  void SetUp() override {
    CatalogFixture::SetUp();
    SetUpMainWindowReporter(reporter);
    dialog.outputFile = out / "report.pdf";
    data = Create();
  }

  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    std::stringstream text(PdfText(dialog.outputFile));
    for (std::string line; std::getline(text, line);)
      if (!Trim(line).empty()) lines.push_back(Trim(line));
    return lines;
  }

  // One page: the title, each row "name=value" as a line "name  value" in this
  // order, the footer.
  void ExpectPage(const std::string& title, const std::vector<std::string>& rows) {
    const std::vector<std::string> lines = Lines();
    auto at = title.empty() ? lines.begin() : std::find(lines.begin(), lines.end(), title);
    ASSERT_NE(at, lines.end()) << title;
    for (const std::string& row : rows) {
      const std::string name = row.substr(0, row.find('=')), value = row.substr(name.size() + 1);
      const std::string plain = Trim(name);
      at = std::find_if(at, lines.end(), [&](const std::string& l) {
        return l.rfind(plain + " ", 0) == 0 && Trim(l.substr(plain.size())) == value;
      });
      ASSERT_NE(at, lines.end()) << name << " = " << value << " in\n" << PdfText(dialog.outputFile);
    }
    std::string footer;
    for (; at != lines.end(); ++at)
      footer += *at + "\n";
    for (const char* text :
         {"OSTREL MICROWAVE SYSTEMS", "2210 Ferrant Ridge Road", "Kessington, OH 45999",
          "Corporate Web Site:", "www.ostrel.example", "Customer Service Center:"})
      EXPECT_NE(footer.find(text), std::string::npos) << text;
    const std::string text = PdfText(dialog.outputFile);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 1) << "one page";
  }

  TempDir out;
  TOnePageReport reporter;
  FakePrintDialog dialog;
  std::unique_ptr<TDataModule> data;
};

TEST_F(ReportPdfTest, SpecSheetPrintsTitleEveryRowInOrderAndTheFooter) {
  ASSERT_TRUE(QueryPart(*data, "STD6-6", true));
  reporter.Title = "an older title";
  PrintSpecSheet(*data, reporter, dialog);
  EXPECT_EQ(reporter.ReportValues.Count(), 0);
  ExpectPage(
      "Antenna Specifications",
      {"Type Number=STD6-6", "Antenna Inputs=CPR137G", "Diameter ft=6", "RPE=RPE-1",
       "U.S. FCC 101=B", "U.S. FCC 74=A", "U.S. FCC 78=A", "ETSI Class=3", "ETSI Gain=40.1",
       "Gain(dbi), Low =39.8", "Gain(dbi), Mid =40.1", "Gain(dbi), Top =40.4", "Beamwidth Deg.=1.1",
       "Cross Pol. Disc. (db)=30", "F/B Ratio (db)=65", "VSWR Max=1.3", "Return Loss (dB)=17.7"});
  // The report's face is the metric twin of Times New Roman, embedded.
  const std::string fonts = CommandOutput("pdffonts '" + dialog.outputFile + "'");
  EXPECT_NE(fonts.find("\nLiberationSerif-Bold "), std::string::npos) << fonts;
  EXPECT_NE(fonts.find("\nLiberationSerif "), std::string::npos) << fonts;

  // Without an RPE the row is left out and the next one moves up.
  ASSERT_TRUE(QueryPart(*data, "HP4-23", true));
  PrintSpecSheet(*data, reporter, dialog);
  const std::vector<std::string> lines = Lines();
  const auto fcc = std::find_if(lines.begin() + 1, lines.end(),
                                [](auto& l) { return l.rfind("U.S. FCC 101", 0) == 0; });
  ASSERT_NE(fcc, lines.end());
  EXPECT_EQ(fcc[-1].substr(0, 11), "Diameter ft");
  EXPECT_EQ(
      std::count_if(lines.begin(), lines.end(), [](auto& l) { return l.rfind("RPE", 0) == 0; }), 0);
}

TEST_F(ReportPdfTest, TextFrameAndLogoSitAtTheirPlacesOnPortraitAndLandscapePaper) {
  ASSERT_TRUE(QueryPart(*data, "STD6-6", true));
  for (auto orientation : {QPageLayout::Portrait, QPageLayout::Landscape}) {
    SCOPED_TRACE(orientation);
    dialog.orientation = orientation;
    PrintSpecSheet(*data, reporter, dialog);
    const std::vector<PdfWord> words = PdfWords(dialog.outputFile);
    const PdfWord title = FindWord(words, "Antenna"), type = FindWord(words, "Type");
    EXPECT_NEAR((title.left + FindWord(words, "Specifications").right) / 2, 500, 2);
    EXPECT_NEAR(title.top, 100, 3);
    // Rows one text height and five units apart, names at 60, values at 400.
    EXPECT_NEAR(type.left, 60, 1.5);
    EXPECT_NEAR(type.top, 145, 3);
    EXPECT_NEAR(FindWord(words, "STD6-6").left, 400, 1.5);
    EXPECT_NEAR(FindWord(words, "STD6-6").top, type.top, 0.5);
    EXPECT_NEAR(FindWord(words, "Inputs").top - type.top, 21, 1.5);
    EXPECT_NEAR(FindWord(words, "17.7").top - type.top, 16 * 21, 4);
    EXPECT_NEAR(FindWord(words, "OSTREL").left, 167, 1.5);
    EXPECT_NEAR(FindWord(words, "OSTREL").top, 926, 2);
    EXPECT_NEAR(FindWord(words, "Corporate").left, 585, 1.5);
    EXPECT_NEAR(FindWord(words, "Corporate").top, 930, 2);
    EXPECT_NEAR(FindWord(words, "Customer").top, 945, 2);
    // Frame sides, footer line and divider, the logo's emblem; then blank
    // paper outside the frame, above the divider and between frame and logo.
    const std::vector<std::pair<double, double>> points = {
        {29, 500}, {963, 500}, {700, 71},  {700, 966}, {100, 923}, {496, 955}, {420, 40},  // ink
        {12, 500}, {985, 500}, {496, 880}, {700, 50}};                                     // blank
    EXPECT_EQ(
        DarkAt(dialog.outputFile, points),
        (std::vector<bool>{true, true, true, true, true, true, true, false, false, false, false}));
  }
}

TEST_F(ReportPdfTest, AnEmptyTitleLeavesTheTitleOutAndStartsTheRowsAt100) {
  reporter.Title = "";
  reporter.ReportValues = {"Radome=Rad\xF4me gris", "Price=\x80 12"};  // 8-bit catalogue text
  reporter.Print(dialog);
  const std::vector<PdfWord> words = PdfWords(dialog.outputFile);
  EXPECT_NEAR(FindWord(words, "Radome").top, 100, 3);
  EXPECT_NEAR(FindWord(words, "Price").top, 121, 3);
  for (const PdfWord& w : words)
    EXPECT_GE(w.top, 97) << w.text;
  ExpectPage("", {"Radome=Rad\xC3\xB4me gris", "Price=\xE2\x82\xAC 12"});
}

TEST_F(ReportPdfTest, ALongValueWrapsInItsColumnAndPushesTheNextRowDown) {
  // A description that wraps onto fewer lines in the regular face it is drawn
  // in than in bold; then four words each wider than half the value column.
  const std::string a(24, 'A'), b(24, 'B'), c(24, 'C'), d(24, 'D');
  reporter.ReportValues = {
      "Custom Description=4 ft Ultra High Performance Dual Polarized Antenna, 23 GHz, PBR220 "
      "flange, Planar radome, white (fitted), Standard wooden crate",
      "Inputs=" + a + " " + b + " " + c + " " + d, "Custom Price=$3769.5"};
  reporter.Print(dialog);
  const std::vector<PdfWord> words = PdfWords(dialog.outputFile);
  for (const std::string& part : {a, b, c, d}) {
    EXPECT_NEAR(FindWord(words, part).left, 400, 1.5) << part;
    EXPECT_LE(FindWord(words, part).right, 950) << part;
  }
  // The value column's lines, top down: a wrapped value's lines one text
  // height (16) apart, the next row 5 below its last line.
  std::vector<double> tops;
  for (const PdfWord& w : words)
    if (w.left > 398 && w.top > 140 && w.top < 900) tops.push_back(w.top);
  std::sort(tops.begin(), tops.end());
  tops.erase(std::unique(tops.begin(), tops.end(), [](double x, double y) { return y - x < 1; }),
             tops.end());
  const std::vector<double> rows = {FindWord(words, "Description").top,
                                    FindWord(words, "Inputs").top, FindWord(words, "Price").top};
  ASSERT_EQ(tops.size(), 2u + 4u + 1u) << "two description lines, four words, the price";
  for (size_t i = 1; i < tops.size(); ++i) {
    const bool rowStarts = std::any_of(rows.begin(), rows.end(),
                                       [&](double top) { return std::abs(top - tops[i]) < 0.5; });
    EXPECT_NEAR(tops[i] - tops[i - 1], rowStarts ? 16 + 5 : 16, 0.3) << "line " << i;
  }
}

TEST_F(ReportPdfTest, PartNumberReportAndWhatHappensWhenNothingIsPrinted) {
  PrintCustomPartNumber(*data, reporter, dialog, dialogs);  // no part number built yet
  EXPECT_EQ(dialog.shown, 0);
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{"You must complete a part number to print"});

  ASSERT_TRUE(QueryPart(*data, "HP4-23", true));
  PrintCustomPartNumber(*data, reporter, dialog, dialogs);
  EXPECT_EQ(reporter.ReportValues.Count(), 0);
  ExpectPage("New Custom Part Number",
             {"Base Part Number=HP4-23", "Custom Part Number=HP4-23-AXP",
              "Custom Description=4 ft High Performance Antenna, PDR220 flange, Grey radome,",
              "Standard=crate",  // the description's second line
              "Custom Price=$2150.49"});

  // Cancelled: nothing printed, no message; a printer error is raised; the
  // rows are emptied every time.
  std::filesystem::remove(dialog.outputFile);
  dialog.cancel = true;
  PrintSpecSheet(*data, reporter, dialog);
  EXPECT_FALSE(std::filesystem::exists(dialog.outputFile));
  EXPECT_EQ(reporter.ReportValues.Count(), 0);
  dialog.cancel = false;
  dialog.outputFile = out / "no such folder/report.pdf";
  EXPECT_THROW(PrintSpecSheet(*data, reporter, dialog), EKavError);
  EXPECT_EQ(reporter.ReportValues.Count(), 0);
  EXPECT_THROW(PrintCustomPartNumber(*data, reporter, dialog, dialogs), EKavError);
  EXPECT_EQ(std::pair(reporter.ReportValues.Count(), dialogs.messages.size()),
            (std::pair<int, size_t>(0, 1)));
}

}  // namespace
