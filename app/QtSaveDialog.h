#pragma once
// The system's save dialog.
#include <QWidget>

#include "platform/SaveDialog.h"

class TQtSaveDialog : public TSaveDialog {
 public:
  void SetParent(QWidget* parent) { parent_ = parent; }
  bool Execute(const std::vector<TFileType>& fileTypes, std::string& fileName,
               int& filterIndex) override;

 private:
  QWidget* parent_ = nullptr;
};
