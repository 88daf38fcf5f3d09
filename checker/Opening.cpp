// Opening a table's file as the program does, and the checks every row gets.
#include "checker/CatalogChecker_p.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/Error.h"
#include "platform/Locale.h"
#include "platform/NativeFile.h"
#include "platform/PathResolver.h"

namespace checker_detail {

// Locates and starts reading a table's file as its open would, and checks
// the column-name line and the skipped line. False when the open would fail.
bool TChecker::Open(const TTableUse& use, int order, TSource& s) {
  const TDelimitedTable& table = *use.table;
  s.order = order;
  s.use = &use;
  // Located by the engine's own rule; the registry's part told for the report.
  const TFileLocation location = table.Location();
  s.path = location.path;
  std::string where;
  if (location.fromRegistry) {
    const TRegistryOptions& options = table.RegistryOptions();
    const std::string value =
        options.Key + "\\" + options.Section + " value " + Quoted(options.Value);
    switch (location.registryValue) {
      case TRegistry::ValueKind::String:
        where = " (the shared folder comes from " +
                (folderGiven_.empty() ? "the registry, " + value : std::string("--catalog")) +
                ": " + Quoted(location.folder) + ")";
        break;
      case TRegistry::ValueKind::Missing:
        where = " (the registry has no " + value + " naming the shared folder)";
        break;
      case TRegistry::ValueKind::Other:
        Error(s, 0, 0, "the registry's " + value + " is not a text",
              use.failure + ": " + Quoted(location.error));
        return false;
    }
  }
  if (!location.error.empty()) {
    // A folder the user may not read hides its files: say so, not "missing".
    std::error_code why;
    (void)std::filesystem::status(native::Path(location.path), why);
    std::string problem = "the file does not exist";
    if (location.fromRegistry && ansi::Trim(location.folder).empty())
      problem = "the shared catalogue folder is not set";
    else if (why == std::errc::permission_denied)
      problem = "the file cannot be reached: " + why.message();
    Error(s, 0, 0, problem + where, use.failure + ": " + Quoted(location.error));
    return false;
  }
  try {
    s.reader = std::make_unique<TLineReader>(s.path);
  } catch (const std::exception& error) {
    Error(s, 0, 0, "the file cannot be read", use.failure + ": " + Quoted(error.what()));
    return false;
  }
  ++files_;
  std::string_view line;
  if (!s.reader->Next(line)) {
    Error(s, 0, 0, "the file is empty",
          use.failure + ": " + Quoted(EmptyFileError(table.FileName())));
    return false;
  }
  s.line = 1;
  TCells items;
  SplitCells(line, table.Delimiter(), items);
  s.header.assign(items.begin(), items.end());

  // The skipped line goes with the header, before the columns are bound.
  bool opens = true;
  std::optional<std::pair<long, std::string>> skipped;
  if (table.SkipRow() > 0) {
    const size_t skip = static_cast<size_t>(table.SkipRow());
    while (s.readAhead.size() < skip && s.reader->Next(line))
      s.readAhead.emplace_back(++s.line, std::string(line));
    if (s.readAhead.size() < skip) {
      Error(s, 1, 0,
            "the file ends before line " + std::to_string(skip + 1) +
                ", which the program always skips",
            use.failure + ": " + Quoted(ListIndexError(static_cast<long>(skip) - 1)));
      opens = false;
    } else {
      skipped = s.readAhead[skip - 1];
      s.readAhead.erase(s.readAhead.begin() + static_cast<long>(skip - 1));
    }
  }
  opens = CheckHeader(use, s) && opens;
  if (!opens) return false;
  if (skipped) CheckSkippedLine(use, s, skipped->first, skipped->second);
  return Prepare(use, s);
}

bool TChecker::Prepare(const TTableUse& use, TSource& s) {
  const int fields = use.table->FieldCount();
  s.unread.assign(static_cast<size_t>(fields), 0);
  s.freeText.assign(static_cast<size_t>(fields), 0);
  s.lists.assign(static_cast<size_t>(fields), 0);
  for (const std::string& name : use.unread)
    s.unread[static_cast<size_t>(s.Read(name))] = 1;
  for (const std::string& name : use.freeText)
    s.freeText[static_cast<size_t>(s.Read(name))] = 1;
  for (const std::string& name : use.lists)
    s.lists[static_cast<size_t>(s.Read(name))] = 1;
  s.usable = true;
  return true;
}

// Duplicate and missing column names fail the open; columns out of the
// declared order open, but every field reads the cell at its declared
// position. False when the open fails.
bool TChecker::CheckHeader(const TTableUse& use, TSource& s) {
  const TDelimitedTable& table = *use.table;
  bool opens = true;
  std::unordered_map<std::string, size_t> seen;
  for (size_t i = 0; i < s.header.size(); ++i) {
    const std::string& name = s.header[i];
    if (name.empty()) continue;
    const auto [at, fresh] = seen.emplace(ansi::UpperCase(name), i);
    if (fresh) continue;
    Error(s, 1, static_cast<int>(i + 1),
          "column " + Quoted(name) + " appears twice, as cells " + std::to_string(at->second + 1) +
              " and " + std::to_string(i + 1),
          use.failure + ": " + Quoted("A component named " + name + " already exists"));
    opens = false;
  }
  for (int f = 0; f < table.FieldCount(); ++f) {
    const std::string& name = table.Fields(f)->FieldName();
    if (s.Filter(name) >= 0) continue;
    Error(s, 1, 0, "the column-name line lacks column " + Quoted(name),
          use.failure + ": " + Quoted(table.Name() + ": Field '" + name + "' not found"));
    opens = false;
  }
  if (!opens) return false;

  int misplaced = 0, first = -1;
  for (int f = 0; f < table.FieldCount(); ++f) {
    if (ansi::SameText(s.header[static_cast<size_t>(f)], table.Fields(f)->FieldName())) continue;
    ++misplaced;
    if (first < 0) first = f;
  }
  if (misplaced > 0) {
    const std::string& name = table.Fields(first)->FieldName();
    const size_t at = static_cast<size_t>(first);
    Error(s, 1, first + 1,
          "column " + Quoted(name) + " is cell " + std::to_string(s.Filter(name) + 1) +
              ", but the program reads it from cell " + std::to_string(first + 1) + " (" +
              Count(misplaced, "column", "columns") + " out of the declared order)",
          "cells are read by position: " + name + " shows the values under " +
              Quoted(s.header[at]) + ", and so does every misplaced column");
  }
  return true;
}

// The line after the header of MWAnts.dat and M_LOM.dat never becomes a
// record; a model number there is lost.
void TChecker::CheckSkippedLine(const TTableUse& use, const TSource& s, long number,
                                const std::string& text) {
  if (use.keyColumn.empty()) return;
  TCells cells;
  SplitCells(text, use.table->Delimiter(), cells);
  const size_t key = static_cast<size_t>(s.Read(use.keyColumn));
  if (key >= cells.size()) return;
  const std::string_view value = cells[key];
  if (!std::any_of(value.begin(), value.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
      }))
    return;
  Warning(s, number, static_cast<int>(key + 1),
          "line " + std::to_string(number) + " holds a row (" + use.keyColumn + " " +
              Quoted(value) + ")",
          "the program always skips this line: the row is never read");
}

bool TChecker::CheckRow(const TSource& s, long number, std::string_view line, TCells& cells) {
  const TDelimitedTable& table = *s.use->table;
  if (!line.empty() && static_cast<unsigned char>(line[0]) <= 32) {
    const std::string_view rest = ansi::Trim(line);
    if (!rest.empty() && IsCommentLine(rest))
      Warning(s, number, 0,
              "the line begins with blanks before the comment mark " + Quoted(rest.substr(0, 1)),
              "only a mark in the very first place makes a comment: the program reads this "
              "line as a row");
  }
  SplitCells(line, table.Delimiter(), cells);
  const size_t fields = static_cast<size_t>(table.FieldCount());
  if (cells.size() < fields) {
    ShortRow(s, number, line.empty(), cells.size());
    return false;
  }
  const size_t named = std::max(fields, s.header.size());
  if (cells.size() > named)
    Warning(s, number, static_cast<int>(named + 1),
            Count(static_cast<long>(cells.size()), "cell", "cells") +
                ", but the column-name line names " + std::to_string(s.header.size()),
            "the cells after the last column are never read; a \"|\" inside a value shifts the "
            "cells after it");
  if (line.find_first_of("\t\r") != std::string_view::npos) {
    for (size_t i = 0; i < cells.size(); ++i) {
      if (cells[i].find_first_of("\t\r") == std::string_view::npos) continue;
      Warning(s, number, static_cast<int>(i + 1), "the cell holds a tab or a line break",
              "the window shows it as a blank or a break; the headless tool's tab-separated "
              "output writes it as \\t or \\r");
      break;
    }
  }
  for (size_t i = 0; i < fields; ++i) {
    if (cells[i].size() <= kFieldSize || s.freeText[i]) continue;
    std::string_view value = cells[i];
    if (s.lists[i]) {
      SplitCells(cells[i], ",", listItems_);
      const auto longest = std::max_element(
          listItems_.begin(), listItems_.end(),
          [](std::string_view a, std::string_view b) { return a.size() < b.size(); });
      if (longest->size() <= kFieldSize) continue;
      value = *longest;
    }
    Warning(s, number, static_cast<int>(i + 1),
            std::string(s.lists[i] ? "an item of " : "") +
                table.Fields(static_cast<int>(i))->FieldName() + " is " +
                std::to_string(value.size()) + " characters long, more than the " +
                std::to_string(kFieldSize) + "-character field size",
            "the program shows and compares it whole, but a value this long is often two "
            "cells run together");
  }
  return true;
}

void TChecker::ShortRow(const TSource& s, long number, bool empty, size_t cells) {
  const TTableUse& use = *s.use;
  const TDelimitedTable& table = *use.table;
  // The finding names the cell whose index the program's failure quotes: a
  // filter's column fails the open itself, else the first field read.
  auto problem = [&](const std::string& name, int at) {
    const std::string reads = "the program reads " + name + " from cell " + std::to_string(at + 1);
    return empty ? "empty line, read as a row with one empty cell, but " + reads
                 : "only " + Count(static_cast<long>(cells), "cell", "cells") + ", but " + reads;
  };
  for (const std::string& filter : use.filters) {
    const int at = s.Filter(filter);
    if (at < static_cast<int>(cells)) continue;
    Error(s, number, 0, problem(filter, at),
          "opening " + table.Name() + " fails with " + Quoted(ListIndexError(at)) +
              " whenever its filters reach this line");
    return;
  }
  int read = -1;
  for (size_t i = cells; i < static_cast<size_t>(table.FieldCount()); ++i)
    if (!s.unread[i]) {
      read = static_cast<int>(i);
      break;
    }
  if (read < 0) read = table.FieldCount() - 1;
  const std::string& name = table.Fields(read)->FieldName();
  Error(s, number, 0, problem(name, read),
        "reading " + name + " of this row fails with " + Quoted(ListIndexError(read)));
}

// Reports a price the part-number build cannot convert; `priced` names
// what the price belongs to.
void TChecker::CheckPrice(const TSource& s, long number, int column, std::string_view text,
                          const char* priced, std::string_view owner) {
  double value = 0;
  const std::string& name = s.use->table->Fields(column)->FieldName();
  const std::string prices = "every custom price " + std::string(priced) + Quoted(owner);
  // A price with a decimal comma reads only where the locale has one: on
  // another office's machine it is no number (a point reads everywhere).
  double byComma = 0, byPoint = 0;
  const bool commaOnly = TryStrToFloat(text, byComma, ',') && !TryStrToFloat(text, byPoint, '.');
  const std::string withComma = "where the decimal separator is a comma it reads as " +
                                FloatToStr(byComma, '.') + ", where it is a point not at all";
  if (TryStrToPrice(text, value)) {
    if (commaOnly)
      Warning(s, number, column + 1, name + " " + Quoted(text) + " has a decimal comma",
              prices + " depends on the locale: " + withComma + " (\"0.00\")");
    if (value < 0)
      Warning(s, number, column + 1, name + " " + Quoted(text) + " is negative",
              prices + " is lowered by it");
    return;
  }
  const std::string effect = prices + " is \"0.00\"";
  if (text.empty())
    Error(s, number, column + 1, name + " is empty", effect);
  else
    Error(s, number, column + 1,
          name + " " + Quoted(text) + " is not a number with the decimal separator " +
              Quoted(std::string(1, DecimalSeparator())) +
              (DecimalSeparator() == '.' ? "" : " or a point"),
          effect + (commaOnly ? " here; " + withComma : ""));
}

}  // namespace checker_detail
