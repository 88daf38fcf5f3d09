#pragma once
// The system's print dialog, behind an interface so that the window shows the
// real one and a test chooses a PDF file as the printer or cancels.

class QPrinter;

class TPrintDialog {
 public:
  virtual ~TPrintDialog() = default;
  // Shows the dialog with its default options for `printer`, which it
  // configures with the user's choice. False when the user cancels.
  virtual bool Execute(QPrinter& printer) = 0;
};
