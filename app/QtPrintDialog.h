#pragma once
// The system's print dialog.
#include <QWidget>

#include "platform/Dialogs.h"
#include "platform/PrintDialog.h"

// Said instead of the dialog where the system has no printer to offer.
inline constexpr const char* kNoPrinterInstalled =
    "No printer is installed. Add one under Printers & scanners in Windows Settings, then print "
    "again.";

class TQtPrintDialog : public TPrintDialog {
 public:
  explicit TQtPrintDialog(TDialogs& dialogs) : dialogs_(dialogs) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  bool Execute(QPrinter& printer) override;

 private:
  [[maybe_unused]] TDialogs& dialogs_;  // used where the system dialog needs a printer
  QWidget* parent_ = nullptr;
};
