#include "catalog/CatalogChecker.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "catalog/uDataMod.h"
#include "flatfile/LineReader.h"
#include "flatfile/ModList.h"
#include "platform/AnsiText.h"
#include "platform/Locale.h"
#include "platform/PathResolver.h"
#include "platform/ProgramFolder.h"
#include "platform/Registry.h"

namespace {

using TCells = std::vector<std::string_view>;

constexpr size_t kFieldSize = 50;
constexpr size_t kNone = static_cast<size_t>(-1);
constexpr char kKeySeparator = '\x1f';  // joins the parts of a look-up key

bool IsCommentMark(char c) {
  return c != '\0' && std::strchr("#*;[^`{~", c) != nullptr;
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

std::string Count(long n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string ListIndexText(long index) {
  return "\"List index out of bounds (" + std::to_string(index) + ")\"";
}

// Whether a row passes a comma-list filter on `cell` for `value`: one of the
// cell's trimmed items equals the value, letter case aside. An empty value
// sets no filter, so every row passes.
bool ListFilterPasses(std::string_view cell, std::string_view value) {
  value = ansi::Trim(value);
  if (value.empty()) return true;
  while (true) {
    const size_t comma = cell.find(',');
    if (ansi::SameText(ansi::Trim(cell.substr(0, comma)), value)) return true;
    if (comma == std::string_view::npos) return false;
    cell.remove_prefix(comma + 1);
  }
}

// The data module is built only for its table and picture settings.
class TSilentDialogs : public TDialogs {
 public:
  void ShowMessage(const std::string&) override {}
  bool Confirm(const std::string&) override { return false; }
  void ShowErrorBox(const std::string&) override {}
};

// Keys with the line that first named them, for a million model numbers:
// open addressing over keys copied into one arena.
class TKeyLines {
 public:
  // Records `line` for a new key and answers 0; for a known key answers the
  // line recorded first. Lines start at 1.
  uint32_t Insert(std::string_view key, uint32_t line) {
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    const size_t hash = std::hash<std::string_view>{}(key);
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
      Slot& slot = slots_[i];
      if (slot.line == 0) {
        slot = {Store(key), static_cast<uint32_t>(key.size()), line, hash};
        ++count_;
        return 0;
      }
      if (Same(slot, hash, key)) return slot.line;
    }
  }

  // The line recorded for `key`, or 0.
  uint32_t Find(std::string_view key) const {
    if (slots_.empty()) return 0;
    const size_t hash = std::hash<std::string_view>{}(key);
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.line == 0) return 0;
      if (Same(slot, hash, key)) return slot.line;
    }
  }

 private:
  struct Slot {
    const char* data = nullptr;
    uint32_t size = 0;
    uint32_t line = 0;  // 0: empty slot
    size_t hash = 0;
  };
  static constexpr size_t kBlock = 1 << 20;

  static bool Same(const Slot& slot, size_t hash, std::string_view key) {
    return slot.hash == hash && slot.size == key.size() &&
           (key.empty() || std::memcmp(slot.data, key.data(), key.size()) == 0);
  }

  void Grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 1024 : old.size() * 2, Slot{});
    const size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
      if (slot.line == 0) continue;
      size_t i = slot.hash & mask;
      while (slots_[i].line != 0)
        i = (i + 1) & mask;
      slots_[i] = slot;
    }
  }

  const char* Store(std::string_view key) {
    if (blocks_.empty() || blockSize_ - used_ < key.size()) {
      blockSize_ = std::max(kBlock, key.size());
      blocks_.push_back(std::unique_ptr<char[]>(new char[blockSize_]));
      used_ = 0;
    }
    char* at = blocks_.back().get() + used_;
    if (!key.empty()) std::memcpy(at, key.data(), key.size());
    used_ += key.size();
    return at;
  }

  std::vector<Slot> slots_;
  size_t count_ = 0;
  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t used_ = 0, blockSize_ = 0;
};

// How the program uses one table beyond its declaration.
struct TTableUse {
  TFlatFileDataSet* table = nullptr;
  std::vector<std::string> filters;   // the columns it filters on, in the order it sets them
  std::vector<std::string> unread;    // columns it carries but never reads
  std::vector<std::string> freeText;  // descriptions: long by nature
  std::vector<std::string> lists;     // comma-separated lists: their items are the values
  std::string keyColumn;              // tells a data row from the separator line the program skips
  std::string failure;                // what a failed open means to the user
};

TTableUse Use(TFlatFileDataSet& table, std::string failure) {
  TTableUse use;
  use.table = &table;
  use.failure = std::move(failure);
  return use;
}

// One catalogue file while it is read.
struct TSource {
  int order = 0;  // place of the file in the report
  std::string path;
  bool usable = false;  // the program's open would succeed
  const TTableUse* use = nullptr;
  std::vector<std::string> header;
  std::vector<char> unread, freeText, lists;  // by declared position
  std::unique_ptr<TLineReader> reader;
  long line = 0;  // number of the line read last
  std::vector<std::pair<long, std::string>> readAhead;

  // The cell a field reads: its declared position.
  int Read(const std::string& name) const { return use->table->FieldByName(name)->Index(); }
  // The cell a filter on `name` compares: the header's column of that name.
  int Filter(const std::string& name) const {
    for (size_t i = 0; i < header.size(); ++i)
      if (ansi::SameText(header[i], name)) return static_cast<int>(i);
    return -1;
  }
};

// A finding that stands for every antenna (or row) with the same gap: made
// for the first, counted for the others.
struct TAggregate {
  size_t finding = kNone;
  long more = 0;
  const char* noun = "more antenna alike";
  const char* nouns = "more antennas alike";
  void Hit() {
    if (finding != kNone) ++more;
  }
};

struct TSuffixRow {
  long line;
  std::string groups, flanges, suffix;
};
struct TRadomeRow {
  long line;
  std::string types, sizes, suffix;
};
struct TPackRow {
  long line;
  std::string sizes, groups;
};
struct TRadomePictureRow {
  long line;
  std::string groups, suffixes;
};

class TChecker {
 public:
  explicit TChecker(const TPictureDecoder& decode) : decode_(decode) {}

  TCheckResult Run() {
    TTableUse freqUse =
        Use(data_.FreqData, "the program fails at start-up, opening the frequency list");
    TTableUse typeUse = Use(data_.TypeData,
                            "the antenna-type list fails to open at start-up and at every "
                            "change of frequency");
    typeUse.filters = {"Freq"};
    TTableUse antUse = Use(data_.AntData, "every antenna query fails");
    antUse.filters = {"Freq", "Type", "PartNum"};
    antUse.unread = {"ID", "PSI_MAX", "Misc", "BegFreq", "CURRENT", "OldPartNum"};
    antUse.lists = {"Flange"};
    antUse.keyColumn = "PartNum";
    TTableUse lomUse = Use(data_.LOMData,
                           "every antenna change shows an error box and no antenna has a price, "
                           "a description or a picture");
    lomUse.filters = {"PartNo"};
    lomUse.unread = {"BegFreq", "EndingFreq"};
    lomUse.freeText = {"Desc"};
    lomUse.keyColumn = "PartNo";
    TTableUse suffixUse = Use(data_.FlangeSuffixData,
                              "every flange choice shows an error box and no part number gets a "
                              "flange suffix");
    suffixUse.filters = suffixUse.lists = {"AntennaGroup", "Flange"};
    TTableUse radomeUse = Use(data_.RadomeData,
                              "every antenna change shows an error box and no antenna has radome "
                              "options");
    radomeUse.filters = radomeUse.lists = {"Antenna_Type", "Antenna_Size"};
    radomeUse.freeText = {"Radome_Desc"};
    TTableUse packUse = Use(data_.PackData,
                            "every antenna change shows an error box and no antenna has packing "
                            "options");
    packUse.filters = packUse.lists = {"Antenna_Size", "Antenna_Group"};
    packUse.unread = {"DefaultPackSuffix"};
    packUse.freeText = {"Pack_Desc"};
    TTableUse radomeImgUse = Use(data_.RadomeImgData,
                                 "every radome choice shows an error box and no radome picture is "
                                 "shown");
    radomeImgUse.filters = radomeImgUse.lists = {"AntennaGroup", "Suffix"};

    CheckFrequencies(freqUse);
    CheckTypes(typeUse);
    CheckFlangeSuffixes(suffixUse);
    CheckRadomes(radomeUse);
    CheckPacks(packUse);
    CheckRadomePictures(radomeImgUse);
    CheckFlangePictures();
    CheckPricing(lomUse);
    CheckAntennas(antUse);
    CheckOfferedTypes();
    return Finish();
  }

 private:
  // File places in the report: the tables in the data module's order, then
  // the flange picture index.
  enum : int { kFreq, kType, kAnt, kLom, kSuffix, kRadome, kPack, kRadomeImg, kFlangeImg };

  // ------------------------------------------------------------ findings

  size_t Add(TSeverity severity, int order, const std::string& file, long line, int column,
             std::string problem, std::string effect) {
    findings_.push_back(
        {order, {severity, file, line, column, std::move(problem), std::move(effect)}});
    return findings_.size() - 1;
  }
  size_t Error(const TSource& s, long line, int column, std::string problem, std::string effect) {
    return Add(TSeverity::Error, s.order, s.path, line, column, std::move(problem),
               std::move(effect));
  }
  size_t Warning(const TSource& s, long line, int column, std::string problem, std::string effect) {
    return Add(TSeverity::Warning, s.order, s.path, line, column, std::move(problem),
               std::move(effect));
  }

  TCheckResult Finish() {
    for (TAggregate* aggregate : aggregates_)
      if (aggregate->finding != kNone && aggregate->more > 0)
        findings_[aggregate->finding].second.effect +=
            "; " + Count(aggregate->more, aggregate->noun, aggregate->nouns);
    std::stable_sort(findings_.begin(), findings_.end(), [](const auto& a, const auto& b) {
      if (a.first != b.first) return a.first < b.first;
      if (a.second.line != b.second.line) return a.second.line < b.second.line;
      return a.second.column < b.second.column;
    });
    TCheckResult result;
    for (auto& [order, finding] : findings_) {
      (finding.severity == TSeverity::Error ? result.errors : result.warnings)++;
      result.findings.push_back(std::move(finding));
    }
    result.files = files_;
    result.antennas = antennas_;
    return result;
  }

  // Makes `aggregate` known to Finish.
  TAggregate& Track(TAggregate& aggregate) {
    aggregates_.push_back(&aggregate);
    return aggregate;
  }

  // ------------------------------------------------------------ opening

  // Locates and starts reading a table's file as its open would, and checks
  // the column-name line and the skipped line. False when the open would fail.
  bool Open(const TTableUse& use, int order, TSource& s) {
    const TFlatFileDataSet& table = *use.table;
    s.order = order;
    s.use = &use;
    std::string fullName, where;
    if (table.PathMode() == pmRegistryPath) {
      const TRegistryOptions& options = table.RegistryOptions();
      const std::string value =
          options.Key + "\\" + options.Section + " value " + Quoted(options.Value);
      std::string folder;
      switch (
          CurrentUserRegistry().ReadString(options.Key, options.Section, options.Value, folder)) {
        case TRegistry::ValueKind::String:
          where =
              " (the shared folder comes from the registry, " + value + ": " + Quoted(folder) + ")";
          break;
        case TRegistry::ValueKind::Missing:
          folder = options.DefaultValue;
          where = " (the registry has no " + value + " naming the shared folder)";
          break;
        case TRegistry::ValueKind::Other:
          s.path = table.FileName();
          Error(s, 0, 0, "the registry's " + value + " is not a text",
                use.failure + ": \"Invalid data type for '" + options.Value + "'\"");
          return false;
      }
      fullName = folder + "\\" + table.FileName();
    } else if (!table.Path().empty()) {
      fullName = ProgramFolder() + table.Path() + table.FileName();
    } else {
      fullName = table.FileName();
    }
    s.path = ResolvePath(fullName);
    if (!FileExists(s.path)) {
      Error(s, 0, 0, "the file does not exist" + where,
            use.failure + ": " + Quoted(s.path + " does not exist"));
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
            use.failure + ": " + Quoted("No Data Exits in " + table.FileName()));
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
              use.failure + ": " + ListIndexText(static_cast<long>(skip) - 1));
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

  bool Prepare(const TTableUse& use, TSource& s) {
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
  bool CheckHeader(const TTableUse& use, TSource& s) {
    const TFlatFileDataSet& table = *use.table;
    bool opens = true;
    std::unordered_map<std::string, size_t> seen;
    for (size_t i = 0; i < s.header.size(); ++i) {
      const std::string& name = s.header[i];
      if (name.empty()) continue;
      const auto [at, fresh] = seen.emplace(ansi::UpperCase(name), i);
      if (fresh) continue;
      Error(s, 1, static_cast<int>(i + 1),
            "column " + Quoted(name) + " appears twice, as cells " +
                std::to_string(at->second + 1) + " and " + std::to_string(i + 1),
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
  void CheckSkippedLine(const TTableUse& use, const TSource& s, long number,
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

  // ------------------------------------------------------------ rows

  // Feeds every record line of an opened table to `onRow` with its cells,
  // after the checks every row gets; rows too short for the program are
  // reported and not fed.
  template <typename OnRow>
  void Rows(TSource& s, OnRow onRow) {
    TCells cells;
    auto take = [&](long number, std::string_view line) {
      if (!line.empty() && IsCommentMark(line[0])) return;
      if (CheckRow(s, number, line, cells)) onRow(number, cells);
    };
    for (const auto& [number, text] : s.readAhead)
      take(number, text);
    s.readAhead.clear();
    std::string_view line;
    while (s.reader->Next(line))
      take(++s.line, line);
    s.reader.reset();
  }

  bool CheckRow(const TSource& s, long number, std::string_view line, TCells& cells) {
    const TFlatFileDataSet& table = *s.use->table;
    if (!line.empty() && static_cast<unsigned char>(line[0]) <= 32) {
      const std::string_view rest = ansi::Trim(line);
      if (!rest.empty() && IsCommentMark(rest[0]))
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

  void ShortRow(const TSource& s, long number, bool empty, size_t cells) {
    const TTableUse& use = *s.use;
    const TFlatFileDataSet& table = *use.table;
    int read = -1;
    for (size_t i = cells; i < static_cast<size_t>(table.FieldCount()); ++i)
      if (!s.unread[i]) {
        read = static_cast<int>(i);
        break;
      }
    if (read < 0) read = table.FieldCount() - 1;
    const std::string& name = table.Fields(read)->FieldName();
    const std::string problem =
        empty ? "empty line, read as a row with one empty cell, but the program reads " + name +
                    " from cell " + std::to_string(read + 1)
              : "only " + Count(static_cast<long>(cells), "cell", "cells") +
                    ", but the program reads " + name + " from cell " + std::to_string(read + 1);
    for (const std::string& filter : use.filters) {
      const int at = s.Filter(filter);
      if (at < static_cast<int>(cells)) continue;
      Error(s, number, 0, problem,
            "opening " + table.Name() + " fails with " + ListIndexText(at) +
                " whenever its filters reach this line");
      return;
    }
    Error(s, number, 0, problem,
          "reading " + name + " of this row fails with " + ListIndexText(read));
  }

  // Reports a price the part-number build cannot convert; `priced` names
  // what the price belongs to.
  void CheckPrice(const TSource& s, long number, int column, std::string_view text,
                  const char* priced, std::string_view owner) {
    double value = 0;
    if (TryStrToFloat(text, value)) return;
    const std::string& name = s.use->table->Fields(column)->FieldName();
    const std::string effect =
        "every custom price " + std::string(priced) + Quoted(owner) + " is \"0.00\"";
    if (text.empty())
      Error(s, number, column + 1, name + " is empty", effect);
    else
      Error(s, number, column + 1,
            name + " " + Quoted(text) + " is not a number with the decimal separator " +
                Quoted(std::string(1, DecimalSeparator())),
            effect);
  }

  // ------------------------------------------------------------ pictures

  // Checks a picture named on a line (`name` followed by `extension`) once per
  // picture: whether it exists, whether its extension has a decoder and
  // whether it decodes. `shown` tells what shows the picture.
  template <typename Shown>
  void CheckPicture(const TSource& s, long number, int column, const std::string& folder,
                    std::string_view given, const char* extension, Shown shown) {
    pictureKey_.assign(given).append(extension);
    auto [entry, fresh] = pictures_[folder].try_emplace(pictureKey_);
    TAggregate& aggregate = entry->second;
    if (!fresh) return aggregate.Hit();
    aggregate.noun = "more row names it";
    aggregate.nouns = "more rows name it";
    Track(aggregate);
    const std::string& name = entry->first;
    if (!StaysInFolder(name)) {
      aggregate.finding =
          Error(s, number, column, "picture " + Quoted(name) + " lies outside the picture folder",
                "the program does not read it and " + shown() + " stays empty");
      return;
    }
    const std::string path = ResolvePath(ProgramFolder() + folder + name);
    if (!FileExists(path)) {
      aggregate.finding =
          Warning(s, number, column,
                  name.empty() ? "no picture is named"
                               : "picture " + Quoted(name) + " does not exist (" + path + ")",
                  shown() + " stays empty");
      return;
    }
    const std::string kind = ansi::UpperCase(FileExtension(name));
    if (kind == "WMF" || kind == "EMF") return;  // no decoder here to try it with
    if (kind != "GIF" && kind != "BMP" && kind != "ICO") {
      aggregate.finding = Error(
          s, number, column, "picture " + Quoted(name) + " has an extension without a decoder",
          "showing " + shown() + " fails with " +
              Quoted("Unknown picture file extension (." + FileExtension(name) + ")"));
      return;
    }
    if (!decode_) return;
    const std::string failure = decode_(path);
    if (!failure.empty())
      aggregate.finding =
          Error(s, number, column, "picture " + Quoted(name) + " does not decode",
                "showing " + shown() + " fails with the error box " + Quoted(failure));
  }

  // ------------------------------------------------------------ files

  void CheckFrequencies(const TTableUse& use) {
    if (!Open(use, kFreq, freqSource_)) return;
    const int freq = freqSource_.Read("Freq");
    Rows(freqSource_, [&](long number, const TCells& cells) {
      const std::string_view value = cells[static_cast<size_t>(freq)];
      if (value.empty())
        Warning(freqSource_, number, freq + 1, "empty frequency range",
                "the frequency list offers an empty entry, for which the type list shows the "
                "types of every range");
      else
        frequencies_.try_emplace(std::string(value), number);
    });
  }

  void CheckTypes(const TTableUse& use) {
    TSource& s = typesSource_;
    if (!Open(use, kType, s)) return;
    typesUsable_ = freqSource_.usable;
    const int freq = s.Filter("Freq"), prefix = s.Read("Prefix");
    std::unordered_set<std::string> rangesWithTypes;
    Rows(s, [&](long number, const TCells& cells) {
      const std::string_view range = cells[static_cast<size_t>(freq)];
      const std::string_view type = cells[static_cast<size_t>(prefix)];
      rangesWithTypes.emplace(range);
      if (!freqSource_.usable) return;
      if (frequencies_.count(std::string(range)) == 0) {
        Warning(s, number, freq + 1,
                "frequency range " + Quoted(range) + " is not in " + data_.FreqData.FileName(),
                "the type " + Quoted(type) + " is never offered");
      } else if (type.empty()) {
        Warning(s, number, prefix + 1, "empty antenna type",
                "the type list offers an empty entry, and choosing it lists every antenna of " +
                    Quoted(range));
      } else {
        std::string key = std::string(range) + kKeySeparator + std::string(type);
        if (offeredKeys_.insert(key).second)
          offered_.push_back(
              {std::move(key), number, prefix + 1, std::string(range), std::string(type)});
      }
    });
    if (!freqSource_.usable) return;
    for (const auto& [range, number] : frequencies_)
      if (rangesWithTypes.count(range) == 0)
        Warning(freqSource_, number, freqSource_.Read("Freq") + 1,
                "no row of " + data_.TypeData.FileName() + " offers a type for " + Quoted(range),
                "choosing this frequency range leaves the type list empty");
  }

  void CheckFlangeSuffixes(const TTableUse& use) {
    TSource& s = suffixSource_;
    if (!Open(use, kSuffix, s)) return;
    const int groups = s.Filter("AntennaGroup"), flanges = s.Filter("Flange"),
              suffix = s.Read("Suffix");
    Rows(s, [&](long number, const TCells& cells) {
      suffixRows_.push_back({number, std::string(cells[static_cast<size_t>(groups)]),
                             std::string(cells[static_cast<size_t>(flanges)]),
                             std::string(cells[static_cast<size_t>(suffix)])});
    });
  }

  void CheckRadomes(const TTableUse& use) {
    TSource& s = radomeSource_;
    if (!Open(use, kRadome, s)) return;
    const int types = s.Filter("Antenna_Type"), sizes = s.Filter("Antenna_Size");
    const int suffix = s.Read("Radome_Suffix"), price = s.Read("Price_Upgrade");
    Rows(s, [&](long number, const TCells& cells) {
      const std::string_view option = cells[static_cast<size_t>(suffix)];
      CheckPrice(s, number, price, cells[static_cast<size_t>(price)], "with radome option ",
                 option);
      radomeRows_.push_back({number, std::string(cells[static_cast<size_t>(types)]),
                             std::string(cells[static_cast<size_t>(sizes)]), std::string(option)});
    });
  }

  void CheckPacks(const TTableUse& use) {
    TSource& s = packSource_;
    if (!Open(use, kPack, s)) return;
    const int sizes = s.Filter("Antenna_Size"), groups = s.Filter("Antenna_Group");
    const int suffix = s.Read("Pack_Suffix"), price = s.Read("Price");
    Rows(s, [&](long number, const TCells& cells) {
      CheckPrice(s, number, price, cells[static_cast<size_t>(price)], "with packing option ",
                 cells[static_cast<size_t>(suffix)]);
      packRows_.push_back({number, std::string(cells[static_cast<size_t>(sizes)]),
                           std::string(cells[static_cast<size_t>(groups)])});
    });
  }

  void CheckRadomePictures(const TTableUse& use) {
    TSource& s = radomeImgSource_;
    if (!Open(use, kRadomeImg, s)) return;
    const int groups = s.Filter("AntennaGroup"), suffixes = s.Filter("Suffix"),
              image = s.Read("Image");
    Rows(s, [&](long number, const TCells& cells) {
      radomePictureRows_.push_back({number, std::string(cells[static_cast<size_t>(groups)]),
                                    std::string(cells[static_cast<size_t>(suffixes)])});
      CheckPicture(s, number, image + 1, data_.RadomeImg.ImagePath,
                   cells[static_cast<size_t>(image)], "",
                   [] { return std::string("the radome picture"); });
    });
  }

  // flng_img.dat is no table: no column-name line, no comment lines, every
  // line a candidate; the first line whose first cell equals the flange wins.
  void CheckFlangePictures() {
    const TImageLoader& loader = data_.FlangeImg;
    TSource& s = flangeImgSource_;
    s.order = kFlangeImg;
    s.path = ResolvePath(ProgramFolder() + loader.ImageDataPath + loader.ImageDataFile);
    if (!FileExists(s.path)) {
      Warning(s, 0, 0, "the file does not exist", "no flange picture is ever shown");
      return;
    }
    std::unique_ptr<TLineReader> reader;
    try {
      reader = std::make_unique<TLineReader>(s.path);
    } catch (const std::exception& error) {
      Error(s, 0, 0, "the file cannot be read",
            "every flange choice fails with the error box " + Quoted(error.what()));
      return;
    }
    ++files_;
    const size_t needed = static_cast<size_t>(std::max(1, loader.ImageIndex + 1));
    TCells cells;
    std::string_view line;
    long number = 0;
    while (reader->Next(line)) {
      ++number;
      SplitCells(line, "|", cells);
      const std::string flange(cells[0]);
      const auto [first, fresh] = flangePictures_.try_emplace(flange, number);
      if (!fresh) {
        Warning(s, number, 1,
                "flange " + Quoted(flange) + " already has a picture on line " +
                    std::to_string(first->second),
                "the program uses the first line only; this one is never read");
        continue;
      }
      if (cells.size() < needed) {
        Error(s, number, 0,
              line.empty() ? "empty line, but the picture name is cell " + std::to_string(needed)
                           : "only " + Count(static_cast<long>(cells.size()), "cell", "cells") +
                                 ", but the picture name is cell " + std::to_string(needed),
              "choosing flange " + Quoted(flange) + " fails with " +
                  ListIndexText(static_cast<long>(needed) - 1));
        continue;
      }
      for (size_t i = 0; i < needed; ++i)
        if (cells[i].size() > kFieldSize)
          Warning(s, number, static_cast<int>(i + 1),
                  "cell " + std::to_string(i + 1) + " is " + std::to_string(cells[i].size()) +
                      " characters long",
                  "the program compares it whole, but a value this long is often two cells run "
                  "together");
      CheckPicture(s, number, loader.ImageIndex + 1, loader.ImagePath,
                   cells[static_cast<size_t>(loader.ImageIndex)], "",
                   [&] { return "the picture of flange " + Quoted(flange); });
    }
    if (number == 0) {
      Warning(s, 0, 0, "the file is empty", "no flange picture is ever shown");
      return;
    }
    s.usable = true;
  }

  void CheckPricing(const TTableUse& use) {
    TSource& s = lomSource_;
    if (!Open(use, kLom, s)) return;
    const int model = s.Filter("PartNo"), graphic = s.Read("GraphicFile"),
              price = s.Read("USPrice");
    const std::string& pictures = data_.AntennaImg.ImagePath;
    Rows(s, [&](long number, const TCells& cells) {
      const std::string_view key = cells[static_cast<size_t>(model)];
      if (key.empty()) return;  // reached only by an antenna without a model number
      const uint32_t first = pricing_.Insert(key, static_cast<uint32_t>(number));
      if (first != 0) {
        Warning(s, number, model + 1,
                "model number " + Quoted(key) + " already has a pricing row on line " +
                    std::to_string(first),
                "the program uses the first row only; this one is never read");
        return;
      }
      CheckPrice(s, number, price, cells[static_cast<size_t>(price)], "of ", key);
      CheckPicture(s, number, graphic + 1, pictures, cells[static_cast<size_t>(graphic)], ".gif",
                   [] { return std::string("the antenna picture"); });
    });
  }

  // The first flng_list.dat row for a group and flange, as the flange-suffix
  // table finds it; -1 when there is none.
  int SuffixRow(std::string_view group, std::string_view flange) const {
    for (size_t i = 0; i < suffixRows_.size(); ++i)
      if (ListFilterPasses(suffixRows_[i].groups, group) &&
          ListFilterPasses(suffixRows_[i].flanges, flange))
        return static_cast<int>(i);
    return -1;
  }

  struct TAntenna {
    std::string_view model, range, type, size, group, flanges;
    long line;
  };

  void CheckAntennas(const TTableUse& use) {
    TSource& s = antSource_;
    if (!Open(use, kAnt, s)) return;
    static const char* const kPrinted[] = {
        "RPE",      "FCC101",    "FCC74", "FCC78", "ETSI_CLASS", "ETSI_GAIN", "Gain_Low",
        "Gain_Med", "Gain_High", "BW_H",  "X_pol", "F_B",        "VSWR",      "Return_Loss"};
    std::vector<std::pair<int, std::string>> printed;
    for (const char* column : kPrinted)
      printed.emplace_back(s.Read(column), column);
    const int model = s.Read("PartNum"), range = s.Filter("Freq"), type = s.Read("Type");
    const int queriedType = s.Filter("Type"), size = s.Read("Size_FT"), group = s.Read("Group");
    const int flanges = s.Read("Flange");
    TKeyLines models;
    std::string key;
    Rows(s, [&](long number, const TCells& cells) {
      ++antennas_;
      auto cell = [&](int at) { return cells[static_cast<size_t>(at)]; };
      const TAntenna antenna{cell(model), cell(range),   cell(type), cell(size),
                             cell(group), cell(flanges), number};
      CheckModel(s, antenna, models, model + 1);
      for (const auto& [at, column] : printed)
        if (cell(at).empty())
          Warning(
              s, number, at + 1, column + " is empty",
              "the specification sheet of " + std::string(antenna.model) + " has no entry for it");
      if (antenna.size.empty())
        Warning(s, number, size + 1, "Size_FT is empty",
                "radome and packing options are matched on type and group alone");
      if (antenna.type.empty())
        Warning(s, number, type + 1, "Type is empty", "radome options are matched on size alone");
      if (antenna.group.empty())
        Warning(s, number, group + 1, "Group is empty",
                "flange suffixes, packing options and radome pictures are matched on their "
                "other column alone");
      CheckFlangeList(s, antenna, flanges + 1);

      // Everything below depends only on these cells: look each combination up once.
      key.assign(cell(range)).append(1, kKeySeparator).append(cell(queriedType));
      for (std::string_view part : {antenna.type, antenna.size, antenna.group, antenna.flanges})
        key.append(1, kKeySeparator).append(part);
      auto [entry, fresh] = combinations_.try_emplace(key);
      if (!fresh) {
        for (TAggregate* aggregate : entry->second)
          aggregate->Hit();
        return;
      }
      std::vector<TAggregate*>& hits = entry->second;
      CheckOffered(s, antenna, cell(queriedType), range + 1, hits);
      CheckSuffixes(s, antenna, flanges + 1, hits);
      CheckRadomeOptions(s, antenna, type + 1, hits);
      CheckPackOptions(s, antenna, size + 1, hits);
    });
  }

  void CheckModel(const TSource& s, const TAntenna& antenna, TKeyLines& models, int column) {
    if (antenna.model.empty()) {
      Error(s, antenna.line, column, "PartNum is empty",
            "no model-number query finds this antenna, and its pricing, flange and part-number "
            "look-ups run unfiltered: it takes the first pricing row of " +
                data_.LOMData.FileName());
      return;
    }
    if (IsCommentMark(antenna.model[0]))
      Error(s, antenna.line, column,
            "model number " + Quoted(antenna.model) + " begins with the comment mark " +
                Quoted(antenna.model.substr(0, 1)),
            "the lines the program writes for it to " + data_.FlangeData.FileName() + " and " +
                data_.pnbData.FileName() +
                " read back as comments: its flange list and custom part number stay empty");
    const uint32_t first = models.Insert(antenna.model, static_cast<uint32_t>(antenna.line));
    if (first != 0)
      Error(s, antenna.line, column,
            "model number " + Quoted(antenna.model) + " is also on line " + std::to_string(first),
            "a query for the exact model number (command mode, the headless build) keeps only "
            "line " +
                std::to_string(first) + ", and both rows share one pricing row");
    else if (lomSource_.usable && pricing_.Find(antenna.model) == 0)
      Error(s, antenna.line, column,
            "model number " + Quoted(antenna.model) + " has no pricing row in " +
                data_.LOMData.FileName(),
            "its custom price is \"0.00\", its description has no antenna text and it shows no "
            "picture");
  }

  // An empty flange in the list: the flange list offers an empty entry, and
  // with no flange filter the suffix comes from the group's first row.
  void CheckFlangeList(const TSource& s, const TAntenna& antenna, int column) {
    TCells& items = flangeItems_;
    SplitCells(antenna.flanges, ",", items);
    if (std::none_of(items.begin(), items.end(),
                     [](std::string_view item) { return item.empty(); }))
      return;
    std::string effect = "the flange list offers an empty entry";
    if (suffixSource_.usable) {
      const int row = SuffixRow(antenna.group, "");
      effect += row < 0
                    ? ", with no flange suffix"
                    : ", whose flange suffix comes from the first " +
                          data_.FlangeSuffixData.FileName() + " row for group " +
                          Quoted(antenna.group) + " (line " +
                          std::to_string(suffixRows_[static_cast<size_t>(row)].line) + ", suffix " +
                          Quoted(suffixRows_[static_cast<size_t>(row)].suffix) + ")";
    }
    Warning(s, antenna.line, column,
            antenna.flanges.empty()
                ? "Flange is empty"
                : "Flange " + Quoted(antenna.flanges) + " lists an empty flange",
            effect);
  }

  // The frequency-and-type query filters Freq and Type exactly.
  void CheckOffered(const TSource& s, const TAntenna& antenna, std::string_view queriedType,
                    int column, std::vector<TAggregate*>& hits) {
    std::string key = std::string(antenna.range) + kKeySeparator + std::string(queriedType);
    auto [entry, fresh] = antennaPairs_.try_emplace(key);
    TAggregate& aggregate = entry->second;
    if (!typesUsable_) return;
    if (!fresh) {
      aggregate.Hit();
    } else if (offeredKeys_.count(key) == 0) {
      Track(aggregate).finding =
          Warning(s, antenna.line, column,
                  "frequency range " + Quoted(antenna.range) + " with type " + Quoted(queriedType) +
                      " is not offered in " + data_.TypeData.FileName(),
                  "the frequency-and-type query never lists " + std::string(antenna.model) +
                      "; a model-number query still finds it");
    }
    if (aggregate.finding != kNone) hits.push_back(&aggregate);
  }

  void CheckSuffixes(const TSource& s, const TAntenna& antenna, int column,
                     std::vector<TAggregate*>& hits) {
    TCells items;
    SplitCells(antenna.flanges, ",", items);
    for (std::string_view flange : items) {
      if (flange.empty()) continue;  // reported with the flange list
      if (suffixSource_.usable) {
        std::string key = std::string(antenna.group) + kKeySeparator + std::string(flange);
        auto [entry, fresh] = missingSuffixes_.try_emplace(key);
        if (fresh && SuffixRow(antenna.group, flange) < 0)
          Track(entry->second).finding =
              Error(s, antenna.line, column,
                    "flange " + Quoted(flange) + " has no " + data_.FlangeSuffixData.FileName() +
                        " row for group " + Quoted(antenna.group),
                    "the custom part number of " + std::string(antenna.model) +
                        " with this flange gets no flange suffix");
        else if (!fresh)
          entry->second.Hit();
        if (entry->second.finding != kNone) hits.push_back(&entry->second);
      }
      if (flangeImgSource_.usable) {
        auto [entry, fresh] = missingFlangePictures_.try_emplace(std::string(flange));
        if (fresh && flangePictures_.count(entry->first) == 0)
          Track(entry->second).finding = Warning(
              s, antenna.line, column,
              "flange " + Quoted(flange) + " has no line in " + data_.FlangeImg.ImageDataFile,
              "choosing it for " + std::string(antenna.model) + " empties the option picture");
        else if (!fresh)
          entry->second.Hit();
        if (entry->second.finding != kNone) hits.push_back(&entry->second);
      }
    }
  }

  void CheckRadomeOptions(const TSource& s, const TAntenna& antenna, int column,
                          std::vector<TAggregate*>& hits) {
    if (!radomeSource_.usable) return;
    std::vector<size_t> options;
    for (size_t i = 0; i < radomeRows_.size(); ++i)
      if (ListFilterPasses(radomeRows_[i].types, antenna.type) &&
          ListFilterPasses(radomeRows_[i].sizes, antenna.size))
        options.push_back(i);
    if (options.empty()) {
      std::string key = std::string(antenna.type) + kKeySeparator + std::string(antenna.size);
      auto [entry, fresh] = missingRadomes_.try_emplace(key);
      if (fresh)
        Track(entry->second).finding =
            Warning(s, antenna.line, column,
                    "no " + data_.RadomeData.FileName() + " row covers type " +
                        Quoted(antenna.type) + " and size " + Quoted(antenna.size),
                    std::string(antenna.model) +
                        " has no radome options and its custom price is "
                        "\"0.00\"");
      else
        entry->second.Hit();
      hits.push_back(&entry->second);
      return;
    }
    if (!radomeImgSource_.usable) return;
    for (size_t option : options) {
      const TRadomeRow& row = radomeRows_[option];
      std::string key = std::to_string(option) + kKeySeparator + std::string(antenna.group);
      auto [entry, fresh] = missingRadomePictures_.try_emplace(key);
      if (!fresh) {
        entry->second.Hit();
      } else if (std::none_of(radomePictureRows_.begin(), radomePictureRows_.end(),
                              [&](const TRadomePictureRow& picture) {
                                return ListFilterPasses(picture.groups, antenna.group) &&
                                       ListFilterPasses(picture.suffixes, row.suffix);
                              })) {
        Track(entry->second).finding = Warning(
            radomeSource_, row.line, radomeSource_.Read("Radome_Suffix") + 1,
            "radome option " + Quoted(row.suffix) + " has no " + data_.RadomeImgData.FileName() +
                " row for group " + Quoted(antenna.group),
            "choosing it for " + std::string(antenna.model) + " empties the option picture");
      }
      if (entry->second.finding != kNone) hits.push_back(&entry->second);
    }
  }

  void CheckPackOptions(const TSource& s, const TAntenna& antenna, int column,
                        std::vector<TAggregate*>& hits) {
    if (!packSource_.usable) return;
    if (std::any_of(packRows_.begin(), packRows_.end(), [&](const TPackRow& row) {
          return ListFilterPasses(row.sizes, antenna.size) &&
                 ListFilterPasses(row.groups, antenna.group);
        }))
      return;
    std::string key = std::string(antenna.size) + kKeySeparator + std::string(antenna.group);
    auto [entry, fresh] = missingPacks_.try_emplace(key);
    if (fresh)
      Track(entry->second).finding =
          Warning(s, antenna.line, column,
                  "no " + data_.PackData.FileName() + " row covers size " + Quoted(antenna.size) +
                      " and group " + Quoted(antenna.group),
                  std::string(antenna.model) +
                      " has no packing options and its custom price is "
                      "\"0.00\"");
    else
      entry->second.Hit();
    hits.push_back(&entry->second);
  }

  // Offered frequency and type pairs that no antenna has.
  void CheckOfferedTypes() {
    if (!antSource_.usable || !typesUsable_) return;
    for (const TOffered& pair : offered_)
      if (antennaPairs_.count(pair.key) == 0)
        Error(typesSource_, pair.line, pair.column,
              "no antenna of " + data_.AntData.FileName() + " has frequency range " +
                  Quoted(pair.range) + " and type " + Quoted(pair.type),
              "choosing them in the frequency and type lists ends in the error box \"The model "
              "number: ... was not found\"");
  }

  struct TOffered {
    std::string key;
    long line;
    int column;
    std::string range, type;
  };

  const TPictureDecoder& decode_;
  TSilentDialogs dialogs_;
  TDataMod data_{dialogs_};

  std::vector<std::pair<int, TFinding>> findings_;
  std::vector<TAggregate*> aggregates_;
  int files_ = 0;
  long antennas_ = 0;

  TSource freqSource_, typesSource_, antSource_, lomSource_, suffixSource_, radomeSource_,
      packSource_, radomeImgSource_, flangeImgSource_;
  bool typesUsable_ = false;  // both MWFreq.dat and MWAntTypes.dat open

  std::unordered_map<std::string, long> frequencies_;
  std::unordered_set<std::string> offeredKeys_;
  std::vector<TOffered> offered_;
  std::vector<TSuffixRow> suffixRows_;
  std::vector<TRadomeRow> radomeRows_;
  std::vector<TPackRow> packRows_;
  std::vector<TRadomePictureRow> radomePictureRows_;
  std::unordered_map<std::string, long> flangePictures_;
  TKeyLines pricing_;

  // Pictures by folder and name.
  std::unordered_map<std::string, std::unordered_map<std::string, TAggregate>> pictures_;
  std::string pictureKey_;
  TCells flangeItems_, listItems_;
  std::unordered_map<std::string, TAggregate> antennaPairs_, missingSuffixes_,
      missingFlangePictures_, missingRadomes_, missingRadomePictures_, missingPacks_;
  std::unordered_map<std::string, std::vector<TAggregate*>> combinations_;
};

}  // namespace

std::string FormatFinding(const TFinding& finding) {
  return finding.file + ":" + std::to_string(finding.line) + ":" + std::to_string(finding.column) +
         ": " + (finding.severity == TSeverity::Error ? "error" : "warning") + ": " +
         finding.problem + " -- " + finding.effect;
}

std::string FormatSummary(const TCheckResult& result) {
  return Count(result.errors, "error", "errors") + ", " +
         Count(result.warnings, "warning", "warnings") + " in " +
         Count(result.files, "catalogue file", "catalogue files") + " (" +
         Count(result.antennas, "antenna", "antennas") + ")";
}

TCheckResult CheckCatalogue(const TPictureDecoder& decodePicture) {
  return TChecker(decodePicture).Run();
}
