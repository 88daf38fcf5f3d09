#pragma once
// Read-only controls that show one field of a table's current record and
// follow it: a label (TFieldText), a one-line box (TFieldEdit) and a memo (TFieldMemo).
// Each has its own data-source link on the table.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>
#include <string>

#include "flatfile/TableLink.h"

class TTable;

// The link of a bound control: the table, the field, and the text of that
// field in the current record.
class TFieldDataLink {
 public:
  explicit TFieldDataLink(std::function<void()> changed);

  TTable* DataSet() const { return source_.DataSet(); }
  void SetDataSet(TTable* dataSet);
  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(const std::string& name);
  // The field of the current record (8-bit); empty when the table is closed or
  // empty, or has no such field.
  std::string Text() const;

 private:
  TTableLink source_;
  std::string fieldName_;
  std::function<void()> changed_;
};

class TFieldText : public QLabel {
  Q_OBJECT
 public:
  explicit TFieldText(QWidget* parent = nullptr);
  void SetDataSet(TTable* dataSet) { link_.SetDataSet(dataSet); }
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

class TFieldEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit TFieldEdit(QWidget* parent = nullptr);
  void SetDataSet(TTable* dataSet) { link_.SetDataSet(dataSet); }
  void SetDataField(const std::string& field) { link_.SetFieldName(field); }
  const TFieldDataLink& Link() const { return link_; }
  void SetBorder(bool border) { setFrame(border); }
  // Shows `text` (8-bit) as the field's own: for a box bound to no table.
  void ShowText(const std::string& text);

 protected:
  // A box that holds the focus shows the ring, not only its selected text:
  // after End or a click nothing else would tell.
  void paintEvent(QPaintEvent* event) override;

 private:
  void Refresh();
  TFieldDataLink link_;
};

// Read-only, the memo shows no cursor, and without a border nothing lights
// up: it draws a focus ring while it has the focus. (A one-line box selects
// its text when Tab brings the focus.)
class TFieldMemo : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit TFieldMemo(QWidget* parent = nullptr);
  void SetDataSet(TTable* dataSet) { link_.SetDataSet(dataSet); }
  void SetDataField(const std::string& field) { link_.SetFieldName(field); }
  const TFieldDataLink& Link() const { return link_; }
  void SetBorder(bool border);
  // Shows `text` (8-bit) as the field's own: for a memo bound to no table.
  void ShowText(const std::string& text);

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
