#pragma once
// The headless tool: the data module's queries and part-number builds from a
// command line, for scripted quotes and for tests.
#include <ostream>
#include <string>
#include <vector>

// Runs one command line (without the program name). Exit status: 0 success;
// 1 nothing found, an option not offered or a batch item failed; 2 bad
// usage; 3 a file or the catalogue could not be read or written (the
// output among them).
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The help: of the whole tool, or of one command when `command` names one.
std::string CliUsage(const std::string& command = "");
