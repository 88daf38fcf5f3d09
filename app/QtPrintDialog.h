#pragma once
// The system's print dialog.
#include <QWidget>

#include "platform/PrintDialog.h"

class TQtPrintDialog : public TPrintDialog {
 public:
  void SetParent(QWidget* parent) { parent_ = parent; }
  bool Execute(QPrinter& printer) override;

 private:
  QWidget* parent_ = nullptr;
};
