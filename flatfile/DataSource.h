#pragma once
// A link between a table and whatever follows its current record: grids,
// lookup lists, text boxes and the data module's query chains.
#include <functional>

class TListDataSet;
class TField;

class TDataSource {
 public:
  // Raised when the table opens (no field), when its current record moves or
  // its records are rebuilt (no field), and when a field's value changes
  // (that field). Never on close.
  std::function<void(TField* field)> OnDataChange;
  // Raised when the table opens or closes.
  std::function<void()> OnStateChange;

  TDataSource() = default;
  explicit TDataSource(TListDataSet* dataSet) { SetDataSet(dataSet); }
  ~TDataSource();
  TDataSource(const TDataSource&) = delete;
  TDataSource& operator=(const TDataSource&) = delete;

  TListDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TListDataSet* dataSet);

 private:
  friend class TListDataSet;
  TListDataSet* dataSet_ = nullptr;
};
