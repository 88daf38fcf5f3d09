#pragma once
// The program's message, question and error boxes, and the look they share
// with the window.
#include <QWidget>

#include "platform/Dialogs.h"

class TQtDialogs : public TDialogs {
 public:
  // Boxes are modal to `parent` (may be null before the window exists).
  void SetParent(QWidget* parent) { parent_ = parent; }
  void ShowMessage(const std::string& text) override;
  bool Confirm(const std::string& text) override;
  void ShowErrorBox(const std::string& text) override;
  bool ChooseFolder(const std::string& caption, std::string& folder) override;

 private:
  QWidget* parent_ = nullptr;
};

extern const char* const kApplicationTitle;

// The application's title, icon and default font (MS Sans Serif, 8 points,
// or its nearest Linux look-alike).
void ApplyProgramLook();
