#include "app/QtPrintDialog.h"

#include <QPrintDialog>
#include <QPrinter>

bool TQtPrintDialog::Execute(QPrinter& printer) {
  QPrintDialog dialog(&printer, parent_);
  return dialog.exec() == QDialog::Accepted;
}
