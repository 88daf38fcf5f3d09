#pragma once
// The headless tool's command line: its command, its positional words and
// its options, checked against what the command takes; and the lines of a
// batch.
#include <istream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/RecordWriter.h"

// Bad usage: exit status 2, the message on one line and a pointer to --help.
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

// Throws TUsageError on an unknown option, one without its value, one given
// twice, one the command does not take, or options that contradict each
// other. --help, -h, --version and -V are taken with any command, or none.
// An option's value may follow it as the next argument or after "=" (
// --format=json); after "--" every argument is a word (a model "-X").
TCommandLine ParseCommandLine(const std::vector<std::string>& args);
// The arguments with each --option=value given as two; throws TUsageError
// on a value given to an option that takes none.
std::vector<std::string> SeparatedArguments(const std::vector<std::string>& args);
// What a run was asked, for its JSON error: the command and its words,
// without the options, in whatever order they were given.
std::string CommandContext(const std::vector<std::string>& args);
// The one positional word; throws TUsageError unless there is exactly one.
std::string ModelOf(const TCommandLine& line);
// --format, tsv when absent; throws TUsageError on any other.
TFormat FormatOf(const TCommandLine& line);
// --encoding, UTF-8 when absent; throws TUsageError on any other.
TEncoding EncodingOf(const TCommandLine& line);

// Splits one CSV line into its fields (RFC 4180 quoting); throws TUsageError
// on a quote left open.
std::vector<std::string> CsvFields(const std::string& line, char separator = ',');

// One item of a batch: its line number in the input and its four fields,
// trimmed (empty: not given).
struct TBatchLine {
  int number = 0;
  std::string model, flange, radome, pack;
};
// The items of a batch in CSV, model,flange,radome,pack a line, as a
// spreadsheet exports it: separated by commas, semicolons or tabs (which,
// the first line tells), fields in the run's `encoding`, empty trailing
// fields; UTF-16 or UTF-8 by a byte-order mark. Skips blank lines, the mark
// and a first line that
// is the title row; throws TUsageError naming the line of a fifth field or
// an open quote.
std::vector<TBatchLine> ReadBatch(std::istream& in, TEncoding encoding = TEncoding::Utf8);
