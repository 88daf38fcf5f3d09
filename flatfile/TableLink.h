#pragma once
// A link between a table and whatever follows its current record: grids,
// lookup lists, text boxes and the data module's query chains.
#include <functional>

class TTable;
class TField;

class TTableLink {
 public:
  // Raised when the table opens (no field), when its current record moves or
  // its records are rebuilt (no field), and when a field's value changes
  // (that field). Never on close.
  std::function<void(TField* field)> OnDataChange;
  // Raised when the table opens or closes.
  std::function<void()> OnStateChange;

  TTableLink() = default;
  explicit TTableLink(TTable* dataSet) { SetDataSet(dataSet); }
  ~TTableLink();
  TTableLink(const TTableLink&) = delete;
  TTableLink& operator=(const TTableLink&) = delete;

  TTable* DataSet() const { return dataSet_; }
  void SetDataSet(TTable* dataSet);

 private:
  friend class TTable;
  TTable* dataSet_ = nullptr;
};
