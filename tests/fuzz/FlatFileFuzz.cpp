// Opening a table on arbitrary file bytes, with settings, filters and a
// filter option taken from the input. The table either fails with the message
// the rules give or holds exactly the records of a plain model of reading,
// skipping, commenting and filtering; reading, moving, editing and deleting
// records never crash. The line reader gives the model's lines at any chunk
// size, line by line or in blocks.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "flatfile/DelimitedTable.h"
#include "flatfile/LineReader.h"
#include "flatfile/Wildcard.h"
#include "fuzz/FuzzSupport.h"
#include "platform/Error.h"

namespace {

const char* const kDelimiters[] = {"|", "|", "|", ",", "||", "|x", ""};

struct Settings {
  bool filtered = false;
  TFilterOption option = TFilterOption::Exact;
  TDataInstance instance = TDataInstance::AllMatches;
  bool defaultFieldNames = false;
  int skipRow = 0;
  std::string delimiter = "|";
  std::vector<std::string> filters;  // the filter lines, as the table holds them
};

// What opening the table must give: an error, or records of cells.
struct Outcome {
  std::optional<std::string> error;
  int columns = 0;
  std::vector<std::vector<std::string>> records;
};

bool IsComment(const std::string& line) {
  return !line.empty() && std::string_view("#*;[^`{~").find(line[0]) != std::string_view::npos;
}

Outcome Model(const std::vector<std::string>& fileLines, const std::string& fileName,
              const Settings& s) {
  Outcome out;
  if (fileLines.empty()) {
    out.error = "No Data Exits in " + fileName;
    return out;
  }
  std::vector<std::string> raw = fileLines;
  if (!s.defaultFieldNames) raw.erase(raw.begin());
  if (s.skipRow > 0) {
    if (static_cast<size_t>(s.skipRow) > raw.size()) {
      out.error = fuzz::IndexError(s.skipRow - 1);
      return out;
    }
    raw.erase(raw.begin() + (s.skipRow - 1));
  }
  const std::vector<std::string> header = fuzz::Cells(fileLines[0], s.delimiter);
  // Fields named Field1..n cannot clash: only named headers are checked.
  for (size_t j = 1; j < header.size() && !s.defaultFieldNames; ++j)
    for (size_t i = 0; i < j; ++i)
      if (!header[j].empty() && fuzz::SameTextModel(header[i], header[j])) {
        out.error = "A component named " + header[j] + " already exists";
        return out;
      }
  out.columns = static_cast<int>(header.size());

  auto column = [&](const std::string& name) {
    for (size_t i = 0; i < header.size(); ++i)
      if (fuzz::SameTextModel(header[i], name)) return static_cast<int>(i);
    return -1;
  };
  for (const std::string& line : raw) {
    if (IsComment(line)) continue;
    const std::vector<std::string> cells = fuzz::Cells(line, s.delimiter);
    bool accept = true;
    if (s.filtered) {
      for (const std::string& filter : s.filters) {
        const std::string name = fuzz::Trimmed(fuzz::NameOf(filter));
        const std::string value = fuzz::Trimmed(fuzz::ValueIn(s.filters, name));
        const int at = column(name);
        if (at < 0) {
          accept = false;
          break;
        }
        if (static_cast<size_t>(at) >= cells.size()) {
          out.error = fuzz::IndexError(at);
          out.records.clear();
          return out;
        }
        const std::string& cell = cells[static_cast<size_t>(at)];
        bool match = false;
        switch (s.option) {
          case TFilterOption::Exact:
            match = cell == value;
            break;
          case TFilterOption::InCommaList:
            for (const std::string& item : fuzz::Cells(cell, ","))
              match = match || fuzz::SameTextModel(item, value);
            break;
          case TFilterOption::Wildcard:
            match = WildcardMatch(cell, value);
            break;
        }
        if (!match) {
          accept = false;
          break;
        }
      }
    }
    if (!accept) continue;
    out.records.push_back(cells);
    if (s.instance == TDataInstance::FirstMatch) break;
  }
  return out;
}

// A filter name or value: a cell of the file (so that filters hit real
// columns and real values), possibly bent into a pattern, or raw bytes.
std::string Pick(FuzzedDataProvider& in, const std::vector<std::string>& fileLines,
                 const std::string& delimiter, bool fromHeader, const std::string& raw) {
  const int kind = in.ConsumeIntegralInRange(0, 3);
  if (kind == 0 || fileLines.empty()) return raw;
  const size_t lineIndex =
      fromHeader ? 0 : in.ConsumeIntegralInRange<size_t>(0, fileLines.size() - 1);
  const std::vector<std::string> cells = fuzz::Cells(fileLines[lineIndex], delimiter);
  std::string text = cells[in.ConsumeIntegralInRange<size_t>(0, cells.size() - 1)];
  if (kind == 2 && !text.empty()) text.resize(in.ConsumeIntegralInRange<size_t>(0, text.size()));
  if (kind == 2) text += "*";
  if (kind == 3 && !text.empty()) text[in.ConsumeIntegralInRange<size_t>(0, text.size() - 1)] = '?';
  return text;
}

void CheckOpenTable(TDelimitedTable& table, const Outcome& expected) {
  FUZZ_CHECK(table.Active());
  FUZZ_CHECK(table.RecordCount() == static_cast<int>(expected.records.size()));
  FUZZ_CHECK(table.FieldCount() == expected.columns);
  for (size_t r = 0; r < expected.records.size(); ++r) {
    const std::vector<std::string>& cells = expected.records[r];
    for (int f = 0; f <= expected.columns; ++f) {
      const auto cell = [&] { return table.CellText(static_cast<int>(r), f); };
      if (static_cast<size_t>(f) < cells.size())
        FUZZ_CHECK(cell() == cells[static_cast<size_t>(f)]);
      else
        FUZZ_CHECK(fuzz::Failure(cell) == fuzz::IndexError(f));
    }
  }
}

// Moves about, edits and deletes; only the absence of crashes is checked here
// besides a few plain facts.
void Exercise(TDelimitedTable& table, FuzzedDataProvider& in) {
  static constexpr void (TTable::*kMoves[])() = {&TTable::First, &TTable::Next, &TTable::Prior,
                                                 &TTable::Last};
  for (int step = 0; step < 16 && in.remaining_bytes() > 0; ++step) {
    try {
      switch (const int kind = in.ConsumeIntegralInRange(0, 6)) {
        case 0:
        case 1:
        case 2:
        case 3:
          (table.*kMoves[kind])();
          break;
        case 4:
          table.SetRecNo(in.ConsumeIntegralInRange(-1, table.RecordCount() + 1));
          break;
        case 5: {
          const int before = table.RecordCount();
          const bool onRecord = table.RecNo() >= 1 && table.RecNo() <= before;
          table.Delete();
          FUZZ_CHECK(table.RecordCount() == before - (onRecord ? 1 : 0));
          break;
        }
        case 6:
          if (table.FieldCount() > 0) {
            TField* field = table.Fields(in.ConsumeIntegralInRange(0, table.FieldCount() - 1));
            const std::string text = in.ConsumeRandomLengthString(80);
            field->SetAsString(text);
            FUZZ_CHECK(field->AsString() == text.substr(0, 50));
          }
          break;
      }
      for (int f = 0; f < table.FieldCount(); ++f)
        table.Fields(f)->AsString();
    } catch (const EKavError&) {
      // Out-of-range positions and short records fail with a message: fine.
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  Settings s;
  s.filtered = in.ConsumeBool();
  s.option = static_cast<TFilterOption>(in.ConsumeIntegralInRange(0, 2));
  s.instance = in.ConsumeBool() ? TDataInstance::FirstMatch : TDataInstance::AllMatches;
  s.defaultFieldNames = in.ConsumeIntegralInRange(0, 3) == 0;
  s.skipRow = in.ConsumeIntegralInRange(-1, 3);
  s.delimiter = in.PickValueInArray(kDelimiters);
  const size_t filterCount = in.ConsumeIntegralInRange<size_t>(0, 3);
  const size_t chunk = in.ConsumeIntegralInRange<size_t>(1, 64);
  std::vector<std::string> rawNames, rawValues;
  for (size_t i = 0; i < filterCount; ++i) {
    rawNames.push_back(in.ConsumeRandomLengthString(24));
    rawValues.push_back(in.ConsumeRandomLengthString(24));
  }
  // The file comes next; what remains after it steers the filters and moves.
  const std::string bytes = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<size_t>(0, 4096));
  const std::vector<std::string> fileLines = fuzz::TextLines(bytes);

  const std::string path = fuzz::ScratchFolder() + "table.dat";
  fuzz::PutFile(path, bytes);

  // The line reader, with a tiny buffer so that lines and CR LF pairs straddle
  // reads; line by line, or (at even sizes) in blocks of whole lines first.
  {
    TLineReader reader(path, chunk);
    std::vector<std::string> lines;
    std::string_view block;
    while (chunk % 2 == 0 && reader.NextLines(block))
      for (const std::string& line : fuzz::TextLines(std::string(block)))
        lines.push_back(line);
    std::string_view line;
    while (reader.Next(line))
      lines.emplace_back(line);
    FUZZ_CHECK(lines == fileLines);
  }

  TDelimitedTable table("Fuzz");
  for (size_t i = 0; i < filterCount; ++i) {
    const std::string name = Pick(in, fileLines, s.delimiter, true, rawNames[i]);
    const std::string value = Pick(in, fileLines, s.delimiter, false, rawValues[i]);
    if (in.ConsumeIntegralInRange(0, 7) == 0)
      table.Filters().Add(name + value);  // a line written directly, perhaps without "="
    else
      table.Filters().SetValue(name, value);
  }
  s.filters = table.Filters().Lines();
  table.SetFileName(path);
  table.SetFiltered(s.filtered);
  table.SetFilterOption(s.option);
  table.SetDataInstance(s.instance);
  table.SetDefaultFieldNames(s.defaultFieldNames);
  table.SetSkipRow(s.skipRow);
  table.SetDelimiter(s.delimiter);

  const Outcome expected = Model(fileLines, path, s);
  const std::optional<std::string> error = fuzz::Failure([&] { table.Open(); });
  FUZZ_CHECK(error == expected.error);
  if (error) {
    FUZZ_CHECK(!table.Active() && table.RecordCount() == 0);
    return 0;
  }
  CheckOpenTable(table, expected);
  Exercise(table, in);

  // Closing and opening again reads the file afresh and gives the same records.
  table.Close();
  FUZZ_CHECK(table.RecordCount() == 0 && table.HeaderItems().Count() == 0);
  table.Open();
  CheckOpenTable(table, expected);
  return 0;
}
