#pragma once
// A read-only grid over a table: a QTableView whose model reads the table's
// cells as the view asks for them, never moving the table's cursor to read.
// The grid follows the table's current record, opens and closes through its
// own data-source link; choosing a row makes it the table's current record.
#include <QAbstractTableModel>
#include <QColor>
#include <QFlags>
#include <QTableView>
#include <string>
#include <vector>

#include "flatfile/TableLink.h"

class TTable;

// One column of a grid: the field it shows and how.
struct TTableGridColumn {
  std::string FieldName;  // the field's name (8-bit, as the table declares it)
  QString Title;
  int Width = 64;
  Qt::Alignment Alignment = Qt::AlignLeft | Qt::AlignVCenter;
  Qt::Alignment TitleAlignment = Qt::AlignLeft | Qt::AlignVCenter;
  QColor Color;           // cell background; invalid: the grid's own
  QColor FontColor;       // cell text; invalid: the grid's own
  QColor TitleFontColor;  // title text; invalid: the grid's own
};

// A column with centred text and title.
inline TTableGridColumn CentredColumn(const char* field, const char* title, int width) {
  TTableGridColumn column;
  column.FieldName = field;
  column.Title = QString::fromLatin1(title);
  column.Width = width;
  column.Alignment = column.TitleAlignment = Qt::AlignCenter;
  return column;
}

// The rows of a table as an item model. Row i is the table's record i + 1.
class TDataSetTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TDataSetTableModel(QObject* parent = nullptr);

  TTable* DataSet() const { return source_.DataSet(); }
  void SetDataSet(TTable* dataSet);
  // With no columns the grid shows every field under its own name.
  const std::vector<TTableGridColumn>& Columns() const { return columns_; }
  void SetColumns(std::vector<TTableGridColumn> columns);
  // The columns in use: the given ones, or one per field of the open table.
  const std::vector<TTableGridColumn>& ShownColumns() const { return shown_; }

  // The table's current row (-1: none or closed).
  int CurrentRow() const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 signals:
  // The table's current record moved to `row` (-1: none).
  void CurrentRowMoved(int row);

 private:
  void Rebuild();
  void TableChanged(TField* field);

  TTableLink source_;
  std::vector<TTableGridColumn> columns_;
  std::vector<TTableGridColumn> shown_;
  std::vector<int> fieldIndex_;  // per shown column, -1 when the field is missing
  int rows_ = 0;
};

class TTableGrid : public QTableView {
  Q_OBJECT
 public:
  enum TTableGridOption {
    dgTitles = 0x1,      // the title row
    dgIndicator = 0x2,   // the row indicator column
    dgRowLines = 0x4,    // lines between rows
    dgColLines = 0x8,    // lines between columns
    dgRowSelect = 0x10,  // whole-row selection
  };
  Q_DECLARE_FLAGS(TTableGridOptions, TTableGridOption)

  explicit TTableGrid(QWidget* parent = nullptr);

  TTable* DataSet() const { return model_->DataSet(); }
  void SetDataSet(TTable* dataSet);
  void SetColumns(std::vector<TTableGridColumn> columns);
  TDataSetTableModel* Model() const { return model_; }

  TTableGridOptions Options() const { return options_; }
  void SetOptions(TTableGridOptions options);
  // Without a border the grid draws no frame around itself.
  void SetBorder(bool border);

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void keyboardSearch(const QString& search) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void FollowTable(int row);
  void ShowSelection();
  void ApplyColumns();
  void ApplyRowHeight();

  TDataSetTableModel* model_;
  TTableGridOptions options_;
  bool following_ = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TTableGrid::TTableGridOptions)
