#pragma once
// The system's print and save dialogs.
#include <QWidget>

#include "platform/PrintDialog.h"
#include "platform/SaveDialog.h"

class TQtPrintDialog : public TPrintDialog {
 public:
  void SetParent(QWidget* parent) { parent_ = parent; }
  bool Execute(QPrinter& printer) override;

 private:
  QWidget* parent_ = nullptr;
};

class TQtSaveDialog : public TSaveDialog {
 public:
  void SetParent(QWidget* parent) { parent_ = parent; }
  bool Execute(const std::vector<TFileType>& fileTypes, std::string& fileName,
               int& filterIndex) override;

 private:
  QWidget* parent_ = nullptr;
};
