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

  // Starts `file` as a double click would, with `parameters` handed over as
  // one text (nothing when empty) and `folder` as working folder, and does
  // not wait for it: a program runs, any other file goes to Open. On Windows
  // the shell's "open" verb does both, showing the program's window as
  // usual. True when it started.
  virtual bool Start(const std::string& file, const std::string& parameters,
                     const std::string& folder);
};
