#include "flatfile/Table.h"

#include <algorithm>

#include "platform/Error.h"
#include "platform/Text1252.h"

TTable::TTable(std::string name) : name_(std::move(name)) {}

TTable::~TTable() {
  for (TTableLink* link : links_)
    link->dataSet_ = nullptr;
}

void TTable::Open() {
  if (active_) return;
  try {
    BuildFieldDefs();
    if (fields_.empty()) {
      for (size_t i = 0; i < fieldDefs_.size(); ++i) {
        const TFieldDef& def = fieldDefs_[i];
        fields_.push_back(
            std::make_unique<TField>(this, def.Name, def.DataType, def.Size, static_cast<int>(i)));
      }
      defaultFields_ = true;
    }
    if (!defaultFields_) BindFields();  // fields made from the definitions match them
    LoadRows();
  } catch (...) {
    UnbindFields();
    ClearRows();
    ReleaseOpenState();
    throw;
  }
  active_ = true;
  cursor_ = -1;
  // The first fetch makes the first record current.
  if (CountRows() > 0) cursor_ = 0;
  bof_ = true;
  eof_ = CountRows() == 0;
  NotifyStateChange();
  NotifyDataChange(nullptr);
}

void TTable::Close() {
  if (!active_) return;
  UnbindFields();
  ClearRows();
  ReleaseOpenState();
  active_ = false;
  bof_ = eof_ = true;
  NotifyStateChange();
}

void TTable::BindFields() {
  const std::string prefix = name_.empty() ? "" : name_ + ": ";
  for (const auto& field : fields_) {
    auto def = std::find_if(fieldDefs_.begin(), fieldDefs_.end(), [&](const TFieldDef& d) {
      return ansi::SameText(d.Name, field->FieldName());
    });
    if (def == fieldDefs_.end())
      throw EKavError(prefix + "Field '" + field->FieldName() + "' not found");
    if (def->DataType != field->DataType())
      throw EKavError(prefix + "Type mismatch for field '" + field->FieldName() +
                      "', expecting: " + FieldTypeName(field->DataType()) +
                      " actual: " + FieldTypeName(def->DataType));
    if (def->Size != field->Size())
      throw EKavError(prefix + "Size mismatch for field '" + field->FieldName() + "', expecting: " +
                      std::to_string(field->Size()) + " actual: " + std::to_string(def->Size));
  }
}

void TTable::UnbindFields() {
  if (defaultFields_) fields_.clear();
  defaultFields_ = false;
}

void TTable::CheckActive() const {
  if (!active_) throw EKavError(name_ + ": Cannot perform this operation on a closed dataset");
}

void TTable::First() {
  CheckActive();
  cursor_ = CountRows() > 0 ? 0 : -1;
  bof_ = true;
  eof_ = CountRows() == 0;
  NotifyDataChange(nullptr);
}

void TTable::Last() {
  CheckActive();
  const int count = CountRows();
  cursor_ = count > 0 ? count - 1 : count;
  eof_ = true;
  bof_ = count == 0;
  NotifyDataChange(nullptr);
}

void TTable::Next() {
  CheckActive();
  if (eof_) return;
  // A forward move, also one that only reaches the end, leaves the beginning.
  bof_ = false;
  if (cursor_ < CountRows() - 1) {
    ++cursor_;
    NotifyDataChange(nullptr);
  } else {
    eof_ = true;
  }
}

void TTable::Prior() {
  CheckActive();
  if (bof_) return;
  eof_ = false;
  if (cursor_ > 0) {
    --cursor_;
    NotifyDataChange(nullptr);
  } else {
    bof_ = true;
  }
}

void TTable::SetRecNo(int n) {
  CheckActive();
  if (n < 0 || n > RecordCount()) throw EKavError("SetRecNo: out of range");
  cursor_ = n - 1;
  bof_ = eof_ = RecordCount() == 0;
  NotifyDataChange(nullptr);
}

void TTable::Delete() {
  if (!active_ || CountRows() == 0) return;
  if (cursor_ >= 0 && cursor_ < CountRows()) {
    DeleteRow(cursor_);
    if (cursor_ >= CountRows()) --cursor_;
  }
  if (CountRows() == 0) bof_ = eof_ = true;
  NotifyDataChange(nullptr);
}

TField* TTable::AddField(const std::string& name, TFieldType type, int size) {
  fields_.push_back(
      std::make_unique<TField>(this, name, type, size, static_cast<int>(fields_.size())));
  return fields_.back().get();
}

TField* TTable::Fields(int index) const {
  if (index < 0 || index >= FieldCount()) throw EKavError(ListIndexError(index));
  return fields_[static_cast<size_t>(index)].get();
}

TField* TTable::FindField(std::string_view name) const {
  for (const auto& field : fields_)
    if (ansi::SameText(field->FieldName(), name)) return field.get();
  return nullptr;
}

TField* TTable::FieldByName(std::string_view name) const {
  TField* field = FindField(name);
  if (field == nullptr)
    throw EKavError((name_.empty() ? "" : name_ + ": ") + "Field '" + std::string(name) +
                    "' not found");
  return field;
}

std::string TTable::CellText(int row, int fieldIndex) const {
  if (row < 0 || row >= CountRows()) throw EKavError(ListIndexError(row));
  return ReadCell(row, fieldIndex);
}

void TTable::ReadFieldForField(const TField& field, std::string& out) const {
  out.clear();
  if (!active_ || CountRows() == 0) return;
  out = CellText(cursor_, field.Index());
}

void TTable::WriteFieldForField(const TField& field, const std::string& text) {
  if (!active_ || cursor_ < 0 || cursor_ >= CountRows()) throw EKavError(ListIndexError(cursor_));
  WriteCell(cursor_, field.Index(), text);
  NotifyDataChange(const_cast<TField*>(&field));
}

void TTable::NotifyDataChange(TField* field) {
  // A handler may attach or detach links, or reopen this very table: walk a copy.
  const std::vector<TTableLink*> links = links_;
  for (TTableLink* link : links)
    if (std::find(links_.begin(), links_.end(), link) != links_.end() && link->OnDataChange)
      link->OnDataChange(field);
}

void TTable::NotifyStateChange() {
  const std::vector<TTableLink*> links = links_;
  for (TTableLink* link : links)
    if (std::find(links_.begin(), links_.end(), link) != links_.end() && link->OnStateChange)
      link->OnStateChange();
}
