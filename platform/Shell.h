#pragma once
// The operating system's shell: opens a document, a folder or a web address
// with the program registered for it (the "open" verb). Behind an interface so
// that the window uses the real shell and a test records what was opened.
#include <string>

class TShell {
 public:
  virtual ~TShell() = default;
  // Opens `target` (8-bit text). True when the shell accepted it; callers that
  // do not care about the answer may ignore it.
  virtual bool Open(const std::string& target) = 0;
};
