#pragma once
// The in-memory table every catalogue table is built on: a cursor over an
// ordered row list, field objects by name and position, and data-source links
// notified synchronously of every change.
//
// The cursor position is -1 before the first record, the record count after
// the last one, 0..count-1 on a record. The row storage and the reading of a
// cell are left to the descendant.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "flatfile/Field.h"
#include "flatfile/TableLink.h"

class TTable {
 public:
  explicit TTable(std::string name = {});
  virtual ~TTable();
  TTable(const TTable&) = delete;
  TTable& operator=(const TTable&) = delete;

  // The table's name, put in front of the field-binding messages.
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // Opening an open table or closing a closed one does nothing. A failed open
  // leaves the table closed and raises the failure to the caller.
  void Open();
  void Close();
  bool Active() const { return active_; }
  void SetActive(bool active) { active ? Open() : Close(); }

  void First();
  void Next();
  void Prior();
  void Last();
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  bool IsEmpty() const { return RecordCount() == 0; }

  int RecordCount() const { return active_ ? CountRows() : 0; }
  // Cursor position + 1: 0 before the first record, 1 on the first.
  int RecNo() const { return cursor_ + 1; }
  // n from 0 to the record count; anything else fails with
  // "SetRecNo: out of range". SetRecNo(0) puts the cursor before the first record.
  void SetRecNo(int n);
  // Removes the current record.
  void Delete();

  // Keyed search is not offered: always not found.
  bool Locate(std::string_view, std::string_view) const { return false; }

  // Declares a field: declared fields survive close and must be offered by
  // the file at every open.
  TField* AddField(const std::string& name, TFieldType type = TFieldType::ftString, int size = 50);
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  TField* Fields(int index) const;
  TField* FindField(std::string_view name) const;
  // Fails with "<table>: Field '<name>' not found".
  TField* FieldByName(std::string_view name) const;
  const std::vector<TFieldDef>& FieldDefs() const { return fieldDefs_; }

  // Cell access for fields and grids. `row` is a row-list position.
  std::string CellText(int row, int fieldIndex) const;
  // The row the current record buffer shows (the cursor position).
  int CurrentRow() const { return cursor_; }

 protected:
  // Fills the field definitions (the flat-file table reads its file here).
  virtual void BuildFieldDefs() = 0;
  // Fills the row list.
  virtual void LoadRows() = 0;
  virtual int CountRows() const = 0;
  virtual void ClearRows() = 0;
  virtual void DeleteRow(int row) = 0;
  // Reads the cell of `row` at `cellIndex`; fails with the list index error
  // when the record has no such cell.
  virtual std::string ReadCell(int row, int cellIndex) const = 0;
  virtual void WriteCell(int row, int cellIndex, const std::string& text) = 0;
  // Releases what the descendant holds beyond its rows (called on close and
  // after a failed open).
  virtual void ReleaseOpenState() {}

  void ClearFieldDefs() { fieldDefs_.clear(); }
  void AddFieldDef(TFieldDef def) { fieldDefs_.push_back(std::move(def)); }
  void NotifyDataChange(TField* field);

 private:
  friend class TField;
  friend class TTableLink;

  // Moving needs an open table.
  void CheckActive() const;
  void BindFields();
  void UnbindFields();
  void NotifyStateChange();
  void ReadFieldForField(const TField& field, std::string& out) const;
  void WriteFieldForField(const TField& field, const std::string& text);

  std::string name_;
  bool active_ = false;
  bool bof_ = true;
  bool eof_ = true;
  int cursor_ = -1;
  std::vector<TFieldDef> fieldDefs_;
  std::vector<std::unique_ptr<TField>> fields_;
  bool defaultFields_ = false;  // fields_ were made from the definitions at open
  std::vector<TTableLink*> links_;
};
