#pragma once
// The table of one delimited catalogue file. Opening it locates the file
// (beside the program or in a folder named by the registry), takes the first
// line as the column names, drops comment lines and the configured skip line,
// and keeps the lines that pass the row filters as records. Every open reads
// the file again; nothing is ever written back.
//
// Accepted lines are copied into one arena per open and kept as spans; a
// record's cells are split when first read.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "flatfile/DelimitedList.h"
#include "flatfile/FlatFileTypes.h"
#include "flatfile/LazyCells.h"
#include "flatfile/Table.h"
#include "platform/NameValueList.h"
#include "settings/Registry.h"

class TLineReader;

// Where an open looks for the table's file, and why it would fail there.
struct TFileLocation {
  std::string path;   // the full name the open reads (or shows in its error)
  std::string error;  // the open's error text; empty when the file is there
  // In registry mode: what the registry held and the folder taken.
  bool fromRegistry = false;
  TRegistry::ValueKind registryValue = TRegistry::ValueKind::Missing;
  std::string folder;
  // The registry names no folder (none set, or only blanks).
  bool folderUnset = false;
};

class TDelimitedTable : public TTable {
 public:
  explicit TDelimitedTable(std::string name = {});
  ~TDelimitedTable() override;

  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string name) { fileName_ = std::move(name); }
  // The folder of the file; in registry mode every open replaces it.
  const std::string& Path() const { return path_; }
  void SetPath(std::string path) { path_ = std::move(path); }
  TNameValueList& Filters() { return filters_; }
  const TNameValueList& Filters() const { return filters_; }
  void SetFilters(const TNameValueList& filters) { filters_ = filters; }
  TDataInstance DataInstance() const { return dataInstance_; }
  void SetDataInstance(TDataInstance value) { dataInstance_ = value; }
  TPathMode PathMode() const { return pathMode_; }
  void SetPathMode(TPathMode mode) { pathMode_ = mode; }
  TRegistryOptions& RegistryOptions() { return registryOptions_; }
  const TRegistryOptions& RegistryOptions() const { return registryOptions_; }
  int SkipRow() const { return skipRow_; }
  void SetSkipRow(int row) { skipRow_ = row; }
  bool Filtered() const { return filtered_; }
  void SetFiltered(bool filtered) { filtered_ = filtered; }
  TFilterOption FilterOption() const { return filterOption_; }
  void SetFilterOption(TFilterOption option) { filterOption_ = option; }
  const std::string& Delimiter() const { return delimiter_; }
  void SetDelimiter(std::string delimiter) { delimiter_ = std::move(delimiter); }
  bool DefaultFieldNames() const { return defaultFieldNames_; }
  void SetDefaultFieldNames(bool value) { defaultFieldNames_ = value; }

  // The folder named for this run in place of the registry's value (registry
  // mode only); every open takes it.
  void SetGivenFolder(std::string folder) { givenFolder_ = std::move(folder); }
  // Keeps the table in memory: every open reads `bytes` as the file's whole
  // content, by the same rules, and no file is looked for.
  void SetContent(std::string bytes) { content_ = std::move(bytes); }

  // The line of the file that holds record `row` (a row-list position),
  // counted from 1, looked for again in the file; 0 when it is no longer there.
  long SourceLine(int row) const;

  // Locates the file as the next open will, without creating the registry
  // key or changing Path.
  TFileLocation Location() const;

  // The cells of record `row` (a row-list position) as views into the table's
  // memory, valid until the next read or change of the table: the fast way to
  // read every cell of many rows.
  const std::vector<std::string_view>& RowCells(int row) const;

  // The column names of the open table (empty when closed).
  const TDelimitedList& HeaderItems() const { return headerItems_; }

 protected:
  void BuildFieldDefs() override;
  void LoadRows() override;
  int CountRows() const override { return static_cast<int>(rows_.size()); }
  void ClearRows() override;
  void DeleteRow(int row) override;
  std::string ReadCell(int row, int cellIndex) const override;
  void WriteCell(int row, int cellIndex, const std::string& text) override;
  void ReleaseOpenState() override;

 private:
  // Twelve bytes a row: a million-row catalogue keeps its records in little
  // more than the file's own size. A row whose cells were written keeps them
  // in edits_, and its record then holds their index instead of the text.
#pragma pack(push, 4)
  struct Row {
    static constexpr uint32_t kEdited = 0xFFFFFFFFu;
    union {
      const char* data;
      size_t edit;
    };
    uint32_t size;  // kEdited once a cell was written
    bool Edited() const { return size == kEdited; }
  };
#pragma pack(pop)
  static_assert(sizeof(Row) == 12 || sizeof(void*) != 8);

  std::string LocateFile();
  // A reader of the located file, or of the content the table is given.
  std::unique_ptr<TLineReader> OpenReader() const;
  void ReadHeader();
  void AcceptLines();
  void AppendRow(std::string_view line);
  const std::vector<std::string_view>& SplitRow(int row) const;

  std::string fileName_;
  std::string path_;
  TNameValueList filters_;
  TDataInstance dataInstance_ = TDataInstance::AllMatches;
  TPathMode pathMode_ = TPathMode::BesideProgram;
  TRegistryOptions registryOptions_;
  int skipRow_ = 0;
  bool filtered_ = false;
  TFilterOption filterOption_ = TFilterOption::Exact;
  std::string delimiter_ = "|";
  bool defaultFieldNames_ = false;

  std::optional<std::string> givenFolder_;
  std::optional<std::string> content_;

  std::string openDelimiter_ = "|";  // the delimiter in force at the last open
  std::string fullFileName_;
  TDelimitedList headerItems_;
  // Between reading the header and building the records: the open file and
  // the data lines read ahead of it (up to the skip line).
  std::unique_ptr<TLineReader> reader_;
  std::vector<std::string> linesReadAhead_;

  std::vector<std::unique_ptr<char[]>> arena_;
  size_t arenaUsed_ = 0, arenaSize_ = 0;
  std::vector<Row> rows_;
  std::vector<std::vector<std::string>> edits_;
  // The cells of the row read last.
  mutable int splitRow_ = -1;
  mutable std::vector<std::string_view> splitCells_;
};
