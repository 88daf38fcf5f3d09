#pragma once
// The headless tool: the data module's queries and part-number builds from a
// command line, for scripted quotes and for tests.
#include <ostream>
#include <string>
#include <vector>

// Runs one command line (without the program name). Exit status: 0 success;
// 1 nothing found, an option not offered, a refused guard or an error the
// window would have shown in a box; 2 bad usage.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const char* const kCliUsage;
