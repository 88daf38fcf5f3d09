#pragma once
// Stand-ins for the print and save dialogs, and readers of the PDF that the
// print dialog's "printer" writes.
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "platform/PrintDialog.h"
#include "platform/SaveDialog.h"

// Chooses a PDF file as the printer (Letter, 18-point margins), or cancels.
struct FakePrintDialog : TPrintDialog {
  static constexpr double kMargin = 18.0;
  bool Execute(QPrinter& printer) override {
    ++shown;
    if (cancel) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(outputFile));
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), orientation,
                                      QMarginsF(kMargin, kMargin, kMargin, kMargin),
                                      QPageLayout::Point));
    return true;
  }
  std::string outputFile;
  bool cancel = false;
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
  int shown = 0;
};

struct FakeSaveDialog : TSaveDialog {
  bool Execute(const std::vector<TFileType>& types, std::string& fileName,
               int& filterIndex) override {
    offered = types, offeredIndex = filterIndex;
    if (!cancel) fileName = chosenName, filterIndex = chosenIndex;
    return !cancel;
  }
  std::string chosenName;
  int chosenIndex = 1, offeredIndex = 0;
  bool cancel = false;
  std::vector<TFileType> offered;
};

inline std::string CommandOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
      out.append(buffer, n);
    ::pclose(pipe);
  }
  return out;
}

// The PDF's text laid out as on the page; each page ends in a form feed.
inline std::string PdfText(const std::string& pdf) {
  return CommandOutput("pdftotext -layout '" + pdf + "' - 2>/dev/null");
}

// A word of the PDF, its box in layout units of the printable area.
struct PdfWord {
  std::string text;
  double left = -1000, top = -1000, right = -1000;
};

inline std::vector<PdfWord> PdfWords(const std::string& pdf) {
  const std::string html = CommandOutput("pdftotext -bbox '" + pdf + "' - 2>/dev/null");
  std::smatch page;
  if (!std::regex_search(html, page,
                         std::regex(R"re(<page width="([0-9.]+)" height="([0-9.]+)")re")))
    return {};
  const double m = FakePrintDialog::kMargin;
  const double xUnit = (std::stod(page[1]) - 2 * m) / 1000,
               yUnit = (std::stod(page[2]) - 2 * m) / 1000;
  const std::regex word(
      R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)"[^>]*>([^<]*)</word>)re");
  std::vector<PdfWord> words;
  for (std::sregex_iterator it(html.begin(), html.end(), word), end; it != end; ++it)
    words.push_back({(*it)[4], (std::stod((*it)[1]) - m) / xUnit, (std::stod((*it)[2]) - m) / yUnit,
                     (std::stod((*it)[3]) - m) / xUnit});
  return words;
}

inline PdfWord FindWord(const std::vector<PdfWord>& words, const std::string& text) {
  for (const PdfWord& w : words)
    if (w.text == text) return w;
  return {"(missing " + text + ")"};
}

// For each layout point, whether the page rendered at 50 dpi is dark there.
inline std::vector<bool> DarkAt(const std::string& pdf,
                                const std::vector<std::pair<double, double>>& points) {
  const std::string image = CommandOutput("pdftoppm -gray -r 50 -singlefile '" + pdf + "'");
  int w = 0, h = 0, offset = 0;
  std::sscanf(image.c_str(), "P5 %d %d 255%n", &w, &h, &offset);
  std::vector<bool> dark;
  const double m = FakePrintDialog::kMargin * 50 / 72;
  for (auto [x, y] : points) {
    bool any = false;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const size_t at = offset + 1 + size_t(int(m + x * (w - 2 * m) / 1000 + 0.5) + dx) +
                          size_t(int(m + y * (h - 2 * m) / 1000 + 0.5) + dy) * w;
        any = any || (at < image.size() && static_cast<unsigned char>(image[at]) < 128);
      }
    dark.push_back(any);
  }
  return dark;
}
