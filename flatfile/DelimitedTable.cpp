#include "flatfile/DelimitedTable.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "flatfile/FlatFileRules.h"
#include "flatfile/LineReader.h"
#include "flatfile/RowFilter.h"
#include "platform/Error.h"
#include "platform/NativeFile.h"
#include "platform/PathResolver.h"
#include "platform/ProgramFolder.h"
#include "platform/Text1252.h"
#include "settings/Registry.h"

namespace {

constexpr size_t kFirstArenaBlock = 64 << 10;
constexpr size_t kArenaBlock = 4 << 20;

}  // namespace

TDelimitedTable::TDelimitedTable(std::string name) : TTable(std::move(name)), headerItems_("|") {}

TDelimitedTable::~TDelimitedTable() = default;

TFileLocation TDelimitedTable::Location() const {
  TFileLocation location;
  if (fileName_.empty()) {
    location.error = "Missing File";
    return location;
  }
  if (pathMode_ == TPathMode::BesideProgram && !path_.empty()) {
    // Beside the program: every spelling of its data folder reaches one folder.
    location.path = LayoutPath(ProgramFolder(), path_ + fileName_);
  } else if (pathMode_ == TPathMode::FromRegistry) {
    location.fromRegistry = true;
    if (givenFolder_) {
      location.folder = *givenFolder_;
      location.registryValue = TRegistry::ValueKind::String;
    } else {
      location.registryValue = CurrentUserRegistry().ReadString(
          registryOptions_.Key, registryOptions_.Section, registryOptions_.Value, location.folder);
    }
    switch (location.registryValue) {
      case TRegistry::ValueKind::String:
        break;
      case TRegistry::ValueKind::Missing:
        location.folder = registryOptions_.DefaultValue;
        break;
      case TRegistry::ValueKind::Other:
        location.path = fileName_;
        location.error = "Invalid data type for '" + registryOptions_.Value + "'";
        return location;
    }
    if (ansi::Trim(location.folder).empty()) {
      // An unset folder would be the root folder of the drive, never the catalogue's.
      location.path = fileName_;
      location.folderUnset = true;
      location.error = "The shared catalogue folder, which holds " + fileName_ + ", is not set";
      return location;
    }
    location.path = ResolvePath(location.folder + "\\" + fileName_);
  } else {
    location.path = ResolvePath(fileName_);
  }
  if (!FileExists(location.path)) {
    // A file behind a folder the user may not read is not a missing file.
    const std::string reason = native::UnreachableReason(location.path);
    location.error = reason.empty() ? location.path + " does not exist"
                                    : "Cannot open file \"" + location.path + "\". " + reason;
  }
  return location;
}

std::string TDelimitedTable::LocateFile() {
  if (content_) return fileName_;
  if (pathMode_ == TPathMode::FromRegistry && !fileName_.empty() && !givenFolder_)
    CurrentUserRegistry().CreateKey(registryOptions_.Key);
  const TFileLocation location = Location();
  if (location.fromRegistry && location.registryValue != TRegistry::ValueKind::Other)
    path_ = location.folder + "\\";
  if (!location.error.empty()) throw EKavError(location.error);
  return location.path;
}

void TDelimitedTable::BuildFieldDefs() {
  if (Active()) return;
  // A delimiter set while the table is open counts from the next open.
  openDelimiter_ = delimiter_;
  fullFileName_ = LocateFile();
  ReadHeader();

  const std::vector<std::string>& names = headerItems_.Items();
  std::unordered_set<std::string> seen;
  // Fields named Field1..n cannot clash, whatever the header line holds.
  if (!defaultFieldNames_)
    for (const std::string& name : names)
      if (!name.empty() && !seen.insert(ansi::UpperCase(name)).second)
        throw EKavError("A component named " + name + " already exists");
  ClearFieldDefs();
  for (size_t i = 0; i < names.size(); ++i)
    AddFieldDef({defaultFieldNames_ ? "Field" + std::to_string(i + 1) : names[i],
                 TFieldType::ftString, 50});
}

void TDelimitedTable::ReadHeader() {
  linesReadAhead_.clear();
  reader_ = OpenReader();
  std::string_view line;
  if (!reader_->Next(line)) throw EKavError(EmptyFileError(fileName_));
  const std::string header(line);
  headerItems_.SetDelimiter(openDelimiter_);
  headerItems_.SplitText(header);
  if (defaultFieldNames_) linesReadAhead_.push_back(header);
  if (skipRow_ > 0) {
    const size_t wanted = static_cast<size_t>(skipRow_);
    while (linesReadAhead_.size() < wanted) {
      if (!reader_->Next(line)) throw EKavError(ListIndexError(skipRow_ - 1));
      linesReadAhead_.emplace_back(line);
    }
    linesReadAhead_.erase(linesReadAhead_.begin() + (skipRow_ - 1));
  }
}

void TDelimitedTable::LoadRows() {
  ClearRows();
  AcceptLines();
  reader_.reset();
  linesReadAhead_.clear();
}

void TDelimitedTable::AcceptLines() {
  std::unique_ptr<TRowFilter> filter;
  if (filtered_) filter = std::make_unique<TRowFilter>(filters_, filterOption_, headerItems_);
  TLazyCells cells(openDelimiter_);
  // Answers whether to read on.
  auto take = [&](std::string_view line) {
    if (IsCommentLine(line)) return true;
    if (filter) {
      cells.Reset(line);
      if (!filter->Accept(cells)) return true;
    }
    AppendRow(line);
    return dataInstance_ != TDataInstance::FirstMatch;
  };
  for (const std::string& line : linesReadAhead_)
    if (!take(line)) return;
  if (!reader_) return;
  if (filter && filter->CanSkim(openDelimiter_)) {
    std::string_view block;
    while (reader_->NextLines(block))
      if (!filter->SkimLines(block, openDelimiter_[0], take)) return;
  }
  std::string_view line;
  while (reader_->Next(line))
    if (!take(line)) return;
}

void TDelimitedTable::AppendRow(std::string_view line) {
  if (line.size() >= Row::kEdited) throw EKavError("Line too long in " + fileName_);
  if (arena_.empty() || arenaSize_ - arenaUsed_ < line.size()) {
    // Blocks start small and double, so a small file takes a small block.
    const size_t next = arena_.empty() ? kFirstArenaBlock : std::min(arenaSize_ * 2, kArenaBlock);
    arenaSize_ = std::max(next, line.size());
    arena_.push_back(std::unique_ptr<char[]>(new char[arenaSize_]));  // not zeroed
    arenaUsed_ = 0;
  }
  char* at = arena_.back().get() + arenaUsed_;
  if (!line.empty()) std::memcpy(at, line.data(), line.size());
  arenaUsed_ += line.size();
  Row row;
  row.data = at;
  row.size = static_cast<uint32_t>(line.size());
  rows_.push_back(row);
}

std::unique_ptr<TLineReader> TDelimitedTable::OpenReader() const {
  if (content_) return std::make_unique<TLineReader>(TLineReader::TBytes{*content_});
  return std::make_unique<TLineReader>(fullFileName_);
}

long TDelimitedTable::SourceLine(int row) const {
  if (row < 0 || row >= CountRows() || rows_[static_cast<size_t>(row)].Edited()) return 0;
  const Row& wanted = rows_[static_cast<size_t>(row)];
  const std::string_view text(wanted.data, wanted.size);
  try {
    const std::unique_ptr<TLineReader> reader = OpenReader();
    std::string_view line;
    for (long number = 1; reader->Next(line); ++number)
      if (number > 1 && line == text) return number;
  } catch (const std::exception&) {
    // a file gone since the open: no line to name
  }
  return 0;
}

void TDelimitedTable::ClearRows() {
  rows_.clear();
  rows_.shrink_to_fit();
  arena_.clear();
  arenaUsed_ = arenaSize_ = 0;
  edits_.clear();
  splitRow_ = -1;
}

void TDelimitedTable::DeleteRow(int row) {
  rows_.erase(rows_.begin() + row);
  splitRow_ = -1;
}

void TDelimitedTable::ReleaseOpenState() {
  headerItems_.Clear();
  reader_.reset();
  linesReadAhead_.clear();
}

const std::vector<std::string_view>& TDelimitedTable::SplitRow(int row) const {
  if (splitRow_ != row) {
    const Row& r = rows_[static_cast<size_t>(row)];
    SplitCells(std::string_view(r.data, r.size), openDelimiter_, splitCells_);
    splitRow_ = row;
  }
  return splitCells_;
}

const std::vector<std::string_view>& TDelimitedTable::RowCells(int row) const {
  if (row < 0 || row >= CountRows()) throw EKavError(ListIndexError(row));
  const Row& r = rows_[static_cast<size_t>(row)];
  if (!r.Edited()) return SplitRow(row);
  splitCells_.assign(edits_[r.edit].begin(), edits_[r.edit].end());
  splitRow_ = -1;  // these views are not the row's file cells
  return splitCells_;
}

std::string TDelimitedTable::ReadCell(int row, int cellIndex) const {
  const Row& r = rows_[static_cast<size_t>(row)];
  if (r.Edited()) {
    const std::vector<std::string>& cells = edits_[r.edit];
    if (cellIndex < 0 || cellIndex >= static_cast<int>(cells.size()))
      throw EKavError(ListIndexError(cellIndex));
    return cells[static_cast<size_t>(cellIndex)];
  }
  const std::vector<std::string_view>& cells = SplitRow(row);
  if (cellIndex < 0 || cellIndex >= static_cast<int>(cells.size()))
    throw EKavError(ListIndexError(cellIndex));
  return std::string(cells[static_cast<size_t>(cellIndex)]);
}

void TDelimitedTable::WriteCell(int row, int cellIndex, const std::string& text) {
  Row& r = rows_[static_cast<size_t>(row)];
  if (!r.Edited()) {
    const std::vector<std::string_view>& cells = SplitRow(row);
    edits_.emplace_back(cells.begin(), cells.end());
    r.edit = edits_.size() - 1;
    r.size = Row::kEdited;
  }
  std::vector<std::string>& cells = edits_[r.edit];
  if (cellIndex < 0 || cellIndex >= static_cast<int>(cells.size()))
    throw EKavError(ListIndexError(cellIndex));
  cells[static_cast<size_t>(cellIndex)] = text;
}
