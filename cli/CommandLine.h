#pragma once
// The headless tool's command line: its command, its positional words and
// its options; and the CSV lines of a batch.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/RecordWriter.h"

// Bad usage: exit status 2, the message and the usage text.
struct TUsageError {
  std::string message;
};

struct TCommandLine {
  std::string command;
  std::vector<std::string> words;
  std::map<std::string, std::string> options;  // flags hold ""

  bool Has(const std::string& name) const { return options.count(name) != 0; }
  std::optional<std::string> Get(const std::string& name) const {
    auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
  }
};

// Throws TUsageError on an unknown option or one without its value.
TCommandLine ParseCommandLine(const std::vector<std::string>& args);
// The one positional word; throws TUsageError unless there is exactly one.
std::string ModelOf(const TCommandLine& line);
// --format, tsv when absent; throws TUsageError on any other.
TFormat FormatOf(const TCommandLine& line);

// Splits one CSV line into its fields (RFC 4180 quoting).
std::vector<std::string> CsvFields(const std::string& line);
