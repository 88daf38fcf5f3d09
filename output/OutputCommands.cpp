#include "output/OutputCommands.h"

#include "platform/Error.h"
#include "platform/SafeFileWrite.h"

namespace {

// Empties the report's rows when the print command ends, however it ends.
class TEmptyRowsAfterwards {
 public:
  explicit TEmptyRowsAfterwards(TOnePageReport& reporter) : reporter_(reporter) {}
  ~TEmptyRowsAfterwards() { reporter_.ReportValues.Clear(); }
  TEmptyRowsAfterwards(const TEmptyRowsAfterwards&) = delete;
  TEmptyRowsAfterwards& operator=(const TEmptyRowsAfterwards&) = delete;

 private:
  TOnePageReport& reporter_;
};

}  // namespace

void SetUpMainWindowReporter(TOnePageReport& reporter) {
  reporter.Title = kSpecSheetTitle;
  reporter.TextHeight = 16;
  reporter.NameColumnLeft = 60;
  reporter.ValueColumnLeft = 400;
}

void PrintSpecSheet(const TDataModule& data, TOnePageReport& reporter, TPrintDialog& dialog) {
  TEmptyRowsAfterwards emptyRows(reporter);
  reporter.Title = kSpecSheetTitle;
  data.GetSpecValues(reporter.ReportValues);
  reporter.Print(dialog);
}

void PrintCustomPartNumber(const TDataModule& data, TOnePageReport& reporter, TPrintDialog& dialog,
                           TDialogs& dialogs) {
  if (!data.PartNumberComplete()) {
    dialogs.ShowMessage(kMustCompleteToPrint);
    return;
  }
  TEmptyRowsAfterwards emptyRows(reporter);
  reporter.Title = kPartNumberTitle;
  data.GetPartNumberValues(reporter.ReportValues);
  reporter.Print(dialog);
}

void CopyPartNumber(const TDataModule& data, TClipboard& clipboard, TDialogs& dialogs) {
  if (!data.PartNumberComplete()) {
    dialogs.ShowMessage(kMustCompleteToCopy);
    return;
  }
  data.CopyPartNumberToClipboard(clipboard);
  dialogs.ShowMessage(kCopiedToClipboard);
}

std::vector<TFileType> ExportFileTypes() {
  return {{"Excel (*.xls)", "*.xls"}, {"Text (*.txt)", "*.txt"}};
}

std::string ExportFileName(const std::string& chosen, int filterIndex) {
  if (chosen.find('.') != std::string::npos) return chosen;
  switch (filterIndex) {
    case 1:
      return chosen + ".xls";
    case 2:
      return chosen + ".txt";
    default:
      return chosen;
  }
}

void WriteExportFile(const std::string& path, const std::string& bytes) {
  try {
    WriteFileAtomically(path, bytes);
  } catch (const EKavError& error) {
    // The file the user chose (not the temporary one beside it), then the
    // system's reason, which the write's message ends with.
    const std::string written = error.what();
    const size_t reason = written.find("\". ");
    throw EKavError("Cannot create file " + path +
                    (reason == std::string::npos ? "" : ". " + written.substr(reason + 3)));
  }
}

void ExportPartNumber(const TDataModule& data, TSaveDialog& dialog, TDialogs& dialogs) {
  if (!data.PartNumberComplete()) {
    dialogs.ShowMessage(kMustCompleteToExport);
    return;
  }
  TNameValueList rows;
  std::string chosen;
  int filterIndex = 1;
  if (!dialog.Execute(ExportFileTypes(), chosen, filterIndex)) return;
  data.GetPartNumberValues(rows);
  WriteExportFile(ExportFileName(chosen, filterIndex), rows.Text());
}
