#pragma once
// The system clipboard.
#include "platform/Clipboard.h"

// Puts text on the system clipboard as Windows-1252 plain text.
class TQtClipboard : public TClipboard {
 public:
  void Clear() override;
  void SetText(const std::string& bytes) override;
};
