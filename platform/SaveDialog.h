#pragma once
// The system's save dialog, behind an interface so that the window shows the
// real one and a test chooses a name and a file type or cancels.
#include <string>
#include <vector>

struct TFileType {
  std::string Description;  // "Text (*.txt)"
  std::string Pattern;      // "*.txt"
};

class TSaveDialog {
 public:
  virtual ~TSaveDialog() = default;
  // Shows the dialog with `fileTypes` in this order, no default extension and
  // no question before an existing file is replaced. `filterIndex` (1 for the
  // first type) selects the type shown first and returns the type chosen;
  // `fileName` returns the full path chosen, in the file system's own 8-bit
  // encoding. False when the user cancels.
  virtual bool Execute(const std::vector<TFileType>& fileTypes, std::string& fileName,
                       int& filterIndex) = 0;
};
