#pragma once
// TOnePageReport: the one-page report of name/value rows under a title, inside
// a page frame with the company footer and the logo.
#include <functional>
#include <string>
#include <vector>

#include "output/ReportLayout.h"
#include "platform/NameValueList.h"
#include "platform/PrintDialog.h"

class QImage;

// ---------------------------------------------------------------- page layout
// Every position in layout units (see TReportLayout).
namespace page {

inline constexpr TLayoutRect kFrame{29, 71, 963, 966};
inline constexpr int kFooterTop = 923;      // the line across the frame
inline constexpr int kFooterDivider = 496;  // between the left and the right cell
inline constexpr TLayoutRect kLogo{407, 21, 565, 60};
inline constexpr int kPenWidth = 3;
inline constexpr int kFooterFontHeight = 10;
inline constexpr int kTitleFontHeight = 22;
inline constexpr int kTitleCentre = 500;
inline constexpr int kTitleTop = 100;
inline constexpr int kRowsTopWithoutTitle = 100;
inline constexpr int kRowsTopWithTitle = 145;
inline constexpr int kValueColumnRight = 950;
inline constexpr int kRowGap = 5;
inline constexpr const char* kFontName = "TIMES NEW ROMAN";

struct TFooterLine {
  int X;
  int Y;
  std::string Text;
};

// The five footer lines: three in the left cell, two in the right.
std::vector<TFooterLine> FooterLines();

}  // namespace page

// One row of the body, with its two rectangles in layout units.
struct TReportRow {
  std::string Name;
  std::string Value;
  TLayoutRect NameRect;
  TLayoutRect ValueRect;
};

struct TBodyLayout {
  bool HasTitle = false;  // the title is drawn centred at page::kTitleTop
  std::vector<TReportRow> Rows;
};

// Measures a value in its rectangle (word-break) and gives its height in
// device units.
using TMeasureValue = std::function<int(const TLayoutRect& valueRect, const std::string& value)>;

// Where the title and the rows go. A value's measured height sets the bottom
// of its rectangle; the next row starts page::kRowGap units below it. A name
// keeps a rectangle one text height tall.
TBodyLayout LayOutBody(const TReportLayout& scales, const TNameValueList& values,
                       const std::string& title, int textHeight, int nameColumnLeft,
                       int valueColumnLeft, const TMeasureValue& measure);

// The company logo that stands above the frame.
QImage CompanyLogo();

class TOnePageReport {
 public:
  std::string Title;
  TNameValueList ReportValues;
  int TextHeight = 16;        // layout units
  int NameColumnLeft = 60;    // layout units
  int ValueColumnLeft = 460;  // layout units

  // Shows the print dialog and prints ReportValues under Title on one page of
  // the printer chosen there. Nothing happens when the dialog is cancelled.
  // Printer errors are raised.
  void Print(TPrintDialog& dialog);

  void PrintReport(TReportLayout& printer, const TNameValueList& values, const std::string& title);
  void PrintFrame(TReportLayout& printer);
  void PrintBody(TReportLayout& printer, const TNameValueList& values, const std::string& title);
};
