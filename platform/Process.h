#pragma once
// Starting other programs, on the operating system's own API: a child that
// is waited for, and (behind TShell::Start) one that is not.
#include <string>

// Runs `commandLine` with `folder` as working folder (this process's current
// folder when empty) and waits for it without time limit. Returns its exit
// code, or -1 when the process cannot be created.
// On Windows the command line goes to the system as one text, and the child
// gets `showState` as its start-up show state. Elsewhere the program is the
// command line's first word (in double quotes when it holds blanks;
// unquoted, the shortest leading part that names an existing file), and the
// text after it and one blank is handed to it as one argument, unchanged; a
// signal that ends the child gives 128 plus the signal's number.
// Both texts are the program's 8-bit (Windows-1252) text; the parameters
// reach the child as the system's own text (UTF-16 on Windows, UTF-8 elsewhere).
int RunAndWait(const std::string& commandLine, const std::string& folder, int showState);
