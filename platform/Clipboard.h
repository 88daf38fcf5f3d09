#pragma once
#include <string>

// The system clipboard. Text arrives as the catalogue's 8-bit bytes; the
// implementation puts it there as Windows-1252 plain text.
class TClipboard {
 public:
  virtual ~TClipboard() = default;
  virtual void Clear() = 0;
  virtual void SetText(const std::string& bytes) = 0;
};
