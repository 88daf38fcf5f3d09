#include "app/QtPrintDialog.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

bool TQtPrintDialog::Execute(QPrinter& printer) {
#ifdef Q_OS_WIN
  // Windows' own dialog cannot open without a printer: Qt would return at
  // once with only a debug line. Say why nothing prints.
  if (QPrinterInfo::availablePrinterNames().isEmpty()) {
    dialogs_.ShowMessage(kNoPrinterInstalled);
    return false;
  }
#endif
  QPrintDialog dialog(&printer, parent_);
  return dialog.exec() == QDialog::Accepted;
}
