#pragma once
// A drop-down list of one field of a table's rows, with an optional title row
// at the top of the list. Choosing an entry makes that row the table's current
// record and shows its text. The shown text is the list's own: it changes only
// through a choice, ShowValue or SetText, and each change raises OnChange.
// The combo box's own current item follows the shown text (none when no row
// holds it), since that item's text is what a screen reader reads out.
#include <QAbstractListModel>
#include <QComboBox>
#include <functional>
#include <string>

#include "flatfile/TableLink.h"

class TTable;

// The rows of the list: the title row (when shown) and one row per record,
// read from the table as the drop-down asks for them.
class TLookupListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  explicit TLookupListModel(QObject* parent = nullptr);

  TTable* DataSet() const { return source_.DataSet(); }
  void SetDataSet(TTable* dataSet);
  const std::string& ListField() const { return listField_; }
  void SetListField(const std::string& field);
  bool ShowTitle() const { return showTitle_; }
  void SetShowTitle(bool show);
  // The title row's text; empty: the field's name.
  void SetTitle(const QString& title);
  QString TitleText() const;

  // Model row of record `row`, and back (-1 for the title row or out of range).
  int ModelRow(int record) const { return record + (showTitle_ ? 1 : 0); }
  int RecordOf(int modelRow) const;
  int RecordCount() const { return records_; }
  // The list field of record `row` (8-bit); empty when missing.
  std::string RecordText(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  void Rebuild();

  TTableLink source_;
  std::string listField_;
  QString title_;
  bool showTitle_ = false;
  int records_ = 0;
  int fieldIndex_ = -1;
};

class TLookupList : public QComboBox {
  Q_OBJECT
 public:
  explicit TLookupList(QWidget* parent = nullptr);

  TTable* DataSet() const { return list_->DataSet(); }
  void SetDataSet(TTable* dataSet) { list_->SetDataSet(dataSet); }
  // The display and key field.
  const std::string& ListField() const { return list_->ListField(); }
  void SetListField(const std::string& field) { list_->SetListField(field); }
  void SetShowTitle(bool show) { list_->SetShowTitle(show); }
  void SetTitle(const QString& title) { list_->SetTitle(title); }
  // Without a border the list draws no frame (flat).
  void SetBorder(bool border) { setFrame(border); }
  // Width of the drop-down list when wider than the control.
  void SetDropDownWidth(int width);
  TLookupListModel* ListModel() const { return list_; }

  // The shown text.
  const QString& Text() const { return text_; }
  std::string TextAnsi() const;
  // Shows `text` without touching the table.
  void SetText(const QString& text);
  // When `value` differs from the shown text and the table is open: moves the
  // table to the first row whose list field equals `value` (when it is not
  // already there) and shows `value`. A closed table shows nothing.
  void ShowValue(const std::string& value);
  // Chooses record `row` as the user does: makes it current and shows it.
  void ChooseRecord(int row);

  // Raised after every change of the shown text; the sender is the list.
  std::function<void(QObject* sender)> OnChange;

  void showPopup() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void Activated(int modelRow);
  // Makes the model row showing the shown text current: the table's current
  // record when it holds the text, else the first record that does.
  void SyncCurrentIndex();

  TLookupListModel* list_;
  QString text_;
};
