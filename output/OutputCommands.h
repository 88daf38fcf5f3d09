#pragma once
// What the output buttons of the main window do, free of the window: the two
// print commands, "Copy to Clipboard" and "Export". The window passes its
// report component, its dialogs and its clipboard.
#include <string>
#include <vector>

#include "catalog/DataModule.h"
#include "output/OnePageReport.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/PrintDialog.h"
#include "platform/SaveDialog.h"

inline constexpr const char* kSpecSheetTitle = "Antenna Specifications";
inline constexpr const char* kPartNumberTitle = "New Custom Part Number";
inline constexpr const char* kMustCompleteToPrint = "You must complete a part number to print";
inline constexpr const char* kMustCompleteToCopy =
    "You must complete a part number to copy to clipboard";
inline constexpr const char* kMustCompleteToExport = "You must complete a part number to export";
inline constexpr const char* kCopiedToClipboard = "Copied to clipboard.";

// The report component as the main window holds it (ZQReporter1).
void SetUpMainWindowReporter(TOnePageReport& reporter);

// "Print Specs": the current antenna's specification sheet. ReportValues is
// empty afterwards, also when printing fails.
void PrintSpecSheet(const TDataModule& data, TOnePageReport& reporter, TPrintDialog& dialog);

// "Print": the custom part number, once one has been built (otherwise the
// guard message). ReportValues is empty afterwards, also when printing fails.
void PrintCustomPartNumber(const TDataModule& data, TOnePageReport& reporter, TPrintDialog& dialog,
                           TDialogs& dialogs);

// "Copy to Clipboard": the part-number rows on the clipboard, then the
// confirmation message.
void CopyPartNumber(const TDataModule& data, TClipboard& clipboard, TDialogs& dialogs);

// "Export": the part-number rows into a file chosen in the save dialog.
void ExportPartNumber(const TDataModule& data, TSaveDialog& dialog, TDialogs& dialogs);

// The export's two file types, in the order the dialog offers them.
std::vector<TFileType> ExportFileTypes();

// The name written: a chosen name without any "." (anywhere in its path)
// gets ".xls" for the first file type and ".txt" for the second.
std::string ExportFileName(const std::string& chosen, int filterIndex);

// Replaces the file whole, never writing through a link at its name;
// "Cannot create file <path>. <the system's reason>" when it cannot be written.
void WriteExportFile(const std::string& path, const std::string& bytes);
