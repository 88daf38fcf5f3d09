#pragma once
// The catalogue checker's inner workings, shared by its source files: the
// checker itself, what it knows of each table's use, and one file being read.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "catalog/DataModule.h"
#include "checker/CatalogChecker.h"
#include "flatfile/DelimitedList.h"
#include "flatfile/FlatFileRules.h"
#include "flatfile/LineReader.h"
#include "platform/Text1252.h"

namespace checker_detail {

using TCells = std::vector<std::string_view>;

inline constexpr size_t kFieldSize = 50;
inline constexpr size_t kNone = static_cast<size_t>(-1);
inline constexpr char kKeySeparator = '\x1f';  // joins the parts of a look-up key

inline std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

inline std::string Count(long n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
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
  TDelimitedTable* table = nullptr;
  std::vector<std::string> filters;   // the columns it filters on, in the order it sets them
  std::vector<std::string> unread;    // columns it carries but never reads
  std::vector<std::string> freeText;  // descriptions: long by nature
  std::vector<std::string> lists;     // comma-separated lists: their items are the values
  std::string keyColumn;              // tells a data row from the separator line the program skips
  std::string failure;                // what a failed open means to the user
};

// What the catalogue's declaration of `table` says of its columns, and the
// columns `link` filters it on (none: it is not linked).
inline TTableUse Use(TDelimitedTable& table, const TTableDeclaration& declared,
                     const TChainLink* link, std::string failure) {
  TTableUse use;
  use.table = &table;
  use.failure = std::move(failure);
  auto names = [&](TColumnRole role) {
    const std::vector<const char*> columns = declared.ColumnsOf(role);
    return std::vector<std::string>(columns.begin(), columns.end());
  };
  use.unread = names(TColumnRole::Carried);
  use.freeText = names(TColumnRole::Description);
  use.lists = names(TColumnRole::CommaList);
  if (const char* key = declared.ColumnOf(TColumnRole::Key)) use.keyColumn = key;
  if (link != nullptr) {
    use.filters = FilterColumns(*link);
    // A filtered cell of a comma-list table holds a list of values.
    if (declared.ListsFilterValues())
      use.lists.insert(use.lists.end(), use.filters.begin(), use.filters.end());
  }
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

// The rows of an option table, each with the cells its link filters on.
struct TOptionRow {
  long line;
  std::vector<std::string> keys;  // in the link's filter order
  std::string suffix;
};

struct TLinkedRows {
  const TChainLink* link;
  // How the linked table compares its filters: the table's own setting.
  TFilterOption compare;
  std::vector<TOptionRow> rows;
  // For each filter, the antenna-table cell it takes, or -1 for the one it
  // takes from the option chosen (a flange, a radome option).
  std::vector<int> antennaCells;

  void Take(const TSource& s, long number, const TCells& cells, std::string suffix = {}) {
    TOptionRow row{number, {}, std::move(suffix)};
    for (const TChainFilter& filter : link->filters)
      row.keys.emplace_back(cells[static_cast<size_t>(s.Filter(filter.column))]);
    rows.push_back(std::move(row));
  }
  // Finds the antenna-table cells the filters read.
  void Prepare(const TSource& antennas) {
    antennaCells.clear();
    for (const TChainFilter& filter : link->filters)
      antennaCells.push_back(filter.from == &TDataModule::Antennas ? antennas.Read(filter.field)
                                                                   : -1);
  }
  // The values the filters take for an antenna (its cells) and a chosen option.
  void Values(const TCells& antenna, std::string_view chosen,
              std::vector<std::string_view>& values) const {
    values.clear();
    for (const int at : antennaCells)
      values.push_back(at < 0 ? chosen : antenna[static_cast<size_t>(at)]);
  }
  // Whether a row passes the table's filters set to `values`, as the program sets them.
  bool Matches(const TOptionRow& row, const std::vector<std::string_view>& values) const {
    for (size_t i = 0; i < values.size(); ++i)
      if (!PassesFilter(row.keys[i], values[i], compare)) return false;
    return true;
  }
  // The first row the reopened table would show, or -1.
  int First(const std::vector<std::string_view>& values) const {
    for (size_t i = 0; i < rows.size(); ++i)
      if (Matches(rows[i], values)) return static_cast<int>(i);
    return -1;
  }
};

// A look-up key made of the values a link's filters take.
inline std::string JoinedKey(const std::vector<std::string_view>& values) {
  std::string key;
  for (size_t i = 0; i < values.size(); ++i)
    key.append(i ? 1 : 0, kKeySeparator).append(values[i]);
  return key;
}

class TChecker {
 public:
  TChecker(const TPictureDecoder& decode, std::string folderGiven)
      : decode_(decode), folderGiven_(std::move(folderGiven)) {
    if (!folderGiven_.empty()) data_.SetSharedFolder(folderGiven_);
  }

  TCheckResult Run();

 private:
  // File places in the report: the tables in the data module's order, then
  // the flange picture index.
  enum : int { kFreq, kType, kAnt, kPricing, kSuffix, kRadome, kPack, kRadomeImg, kFlangeImg };

  // ------------------------------------------------------------ findings

  size_t Add(TSeverity severity, int order, const std::string& file, long line, int column,
             std::string problem, std::string effect);
  size_t Error(const TSource& s, long line, int column, std::string problem, std::string effect);
  size_t Warning(const TSource& s, long line, int column, std::string problem, std::string effect);

  TCheckResult Finish();

  // Makes `aggregate` known to Finish.
  TAggregate& Track(TAggregate& aggregate);

  // The aggregate of `key` in `seen`: the first time, `find` makes its
  // finding (kNone when there is no gap); each later time counts as one more
  // alike. It joins the antenna's `hits` when it has a finding.
  template <typename Find>
  void Aggregate(std::unordered_map<std::string, TAggregate>& seen, const std::string& key,
                 std::vector<TAggregate*>& hits, Find find) {
    auto [entry, fresh] = seen.try_emplace(key);
    TAggregate& aggregate = entry->second;
    if (!fresh)
      aggregate.Hit();
    else if (const size_t finding = find(); finding != kNone)
      Track(aggregate).finding = finding;
    if (aggregate.finding != kNone) hits.push_back(&aggregate);
  }

  // ------------------------------------------------------------ opening

  // Locates and starts reading a table's file as its open would, and checks
  // the column-name line and the skipped line. False when the open would fail.
  bool Open(const TTableUse& use, int order, TSource& s);

  bool Prepare(const TTableUse& use, TSource& s);

  // Duplicate and missing column names fail the open; columns out of the
  // declared order open, but every field reads the cell at its declared
  // position. False when the open fails.
  bool CheckHeader(const TTableUse& use, TSource& s);

  // The line after the header of MWAnts.dat and M_LOM.dat never becomes a
  // record; a model number there is lost.
  void CheckSkippedLine(const TTableUse& use, const TSource& s, long number,
                        const std::string& text);

  // ------------------------------------------------------------ rows

  // Feeds every record line of an opened table to `onRow` with its cells,
  // after the checks every row gets; rows too short for the program are
  // reported and not fed.
  template <typename OnRow>
  void Rows(TSource& s, OnRow onRow) {
    TCells cells;
    auto take = [&](long number, std::string_view line) {
      if (IsCommentLine(line)) return;
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

  bool CheckRow(const TSource& s, long number, std::string_view line, TCells& cells);

  void ShortRow(const TSource& s, long number, bool empty, size_t cells);

  // Reports a price the part-number build cannot convert; `priced` names
  // what the price belongs to.
  void CheckPrice(const TSource& s, long number, int column, std::string_view text,
                  const char* priced, std::string_view owner);

  // ------------------------------------------------------------ pictures

  // Checks a picture named on a line (`name` followed by `extension`) once per
  // picture: whether it exists, whether its extension has a decoder and
  // whether it decodes. `shown` tells what shows the picture.
  void CheckPicture(const TSource& s, long number, int column, const std::string& folder,
                    std::string_view given, const char* extension,
                    const std::function<std::string()>& shown);

  // ------------------------------------------------------------ files

  void CheckFrequencies(const TTableUse& use);

  void CheckTypes(const TTableUse& use);

  void CheckFlangeSuffixes(const TTableUse& use);

  void CheckRadomes(const TTableUse& use);

  void CheckPacks(const TTableUse& use);

  void CheckRadomePictures(const TTableUse& use);

  // flng_img.dat is no table: no column-name line, no comment lines, every
  // line a candidate; the first line whose first cell equals the flange wins.
  void CheckFlangePictures();

  void CheckPricing(const TTableUse& use);

  struct TAntenna {
    std::string_view model, range, type, size, group, flanges;
    long line;
    const TCells& cells;
  };

  void CheckAntennas(const TTableUse& use);

  void CheckModel(const TSource& s, const TAntenna& antenna, TKeyLines& models, int column);

  // An empty flange in the list: the flange list offers an empty entry, and
  // with no flange filter the suffix comes from the group's first row.
  void CheckFlangeList(const TSource& s, const TAntenna& antenna, int column);

  // The frequency-and-type query filters Freq and Type exactly.
  void CheckOffered(const TSource& s, const TAntenna& antenna, std::string_view queriedType,
                    int column, std::vector<TAggregate*>& hits);

  void CheckSuffixes(const TSource& s, const TAntenna& antenna, int column,
                     std::vector<TAggregate*>& hits);

  void CheckRadomeOptions(const TSource& s, const TAntenna& antenna, int column,
                          std::vector<TAggregate*>& hits);

  void CheckPackOptions(const TSource& s, const TAntenna& antenna, int column,
                        std::vector<TAggregate*>& hits);

  size_t NoOptions(const TSource& s, const TAntenna& antenna, int column, const std::string& file,
                   const std::string& covered, const char* options);

  // Offered frequency and type pairs that no antenna has.
  void CheckOfferedTypes();

  struct TOffered {
    std::string key;
    long line;
    int column;
    std::string range, type;
  };

  // The rows of a linked table, compared as the program's table compares.
  TLinkedRows Linked(const TChainLink& link) {
    return {&link, (data_.*link.table).FilterOption(), {}, {}};
  }

  const TPictureDecoder& decode_;
  std::string folderGiven_;  // the shared folder given for the run; empty: the registry's
  TSilentDialogs dialogs_;
  TDataModule data_{dialogs_, TDataModule::TWorkingFiles::InMemory};

  std::vector<std::pair<int, TFinding>> findings_;
  std::vector<TAggregate*> aggregates_;
  int files_ = 0;
  long antennas_ = 0;

  TSource freqSource_, typesSource_, antSource_, pricingSource_, suffixSource_, radomeSource_,
      packSource_, radomeImgSource_, flangeImgSource_;
  bool typesUsable_ = false;  // both MWFreq.dat and MWAntTypes.dat open

  std::unordered_map<std::string, long> frequencies_;
  std::unordered_set<std::string> offeredKeys_;
  std::vector<TOffered> offered_;
  TLinkedRows suffixRows_{Linked(chain::kFlangeSuffix)};
  TLinkedRows radomeRows_{Linked(chain::kRadomes)};
  TLinkedRows packRows_{Linked(chain::kPacks)};
  TLinkedRows radomePictureRows_{Linked(chain::kRadomePictures)};
  std::vector<std::string_view> linkValues_;
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

}  // namespace checker_detail
