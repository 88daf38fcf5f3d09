#pragma once
// Read-only controls that show one field of a table's current record and
// follow it: a label (TDBText), a one-line box (TDBEdit) and a memo (TDBMemo).
// Each has its own data-source link on the table.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>
#include <string>

#include "flatfile/DataSource.h"

class TListDataSet;

// The link of a bound control: the table, the field, and the text of that
// field in the current record.
class TFieldDataLink {
 public:
  explicit TFieldDataLink(std::function<void()> changed);

  TListDataSet* DataSet() const { return source_.DataSet(); }
  void SetDataSet(TListDataSet* dataSet);
  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(const std::string& name);
  // The field of the current record (8-bit); empty when the table is closed or
  // empty, or has no such field.
  std::string Text() const;

 private:
  TDataSource source_;
  std::string fieldName_;
  std::function<void()> changed_;
};

class TDBText : public QLabel {
  Q_OBJECT
 public:
  explicit TDBText(QWidget* parent = nullptr);
  void SetDataSet(TListDataSet* dataSet) { link_.SetDataSet(dataSet); }
  void SetDataField(const std::string& field) { link_.SetFieldName(field); }
  const TFieldDataLink& Link() const { return link_; }
  // With AutoSize the label takes the width of its text.
  void SetAutoSize(bool value);
  bool AutoSize() const { return autoSize_; }

 private:
  void Refresh();
  TFieldDataLink link_;
  bool autoSize_ = false;
};

class TDBEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit TDBEdit(QWidget* parent = nullptr);
  void SetDataSet(TListDataSet* dataSet) { link_.SetDataSet(dataSet); }
  void SetDataField(const std::string& field) { link_.SetFieldName(field); }
  const TFieldDataLink& Link() const { return link_; }
  void SetBorder(bool border) { setFrame(border); }

 private:
  void Refresh();
  TFieldDataLink link_;
};

// Read-only, the memo shows no cursor, and without a border nothing lights
// up: it draws a focus ring while it has the focus. (A one-line box selects
// its text when Tab brings the focus.)
class TDBMemo : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit TDBMemo(QWidget* parent = nullptr);
  void SetDataSet(TListDataSet* dataSet) { link_.SetDataSet(dataSet); }
  void SetDataField(const std::string& field) { link_.SetFieldName(field); }
  const TFieldDataLink& Link() const { return link_; }
  void SetBorder(bool border);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void Refresh();
  TFieldDataLink link_;
};

// Sets the colour a control draws its text in.
void SetFontColor(QWidget* control, const QColor& color);
