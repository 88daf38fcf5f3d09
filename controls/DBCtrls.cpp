#include "controls/DBCtrls.h"

#include <QPainter>

#include "controls/ProgramStyle.h"
#include "flatfile/custdataset.h"
#include "platform/AnsiQString.h"
#include "platform/AnsiText.h"

TFieldDataLink::TFieldDataLink(std::function<void()> changed) : changed_(std::move(changed)) {
  source_.OnStateChange = [this] { changed_(); };
  source_.OnDataChange = [this](TField* field) {
    if (field == nullptr || ansi::SameText(field->FieldName(), fieldName_)) changed_();
  };
}

void TFieldDataLink::SetDataSet(TListDataSet* dataSet) {
  source_.SetDataSet(dataSet);
  changed_();
}

void TFieldDataLink::SetFieldName(const std::string& name) {
  fieldName_ = name;
  changed_();
}

std::string TFieldDataLink::Text() const {
  TListDataSet* table = DataSet();
  if (table == nullptr || !table->Active()) return {};
  const int row = table->CurrentRow();
  if (row < 0 || row >= table->RecordCount()) return {};
  TField* field = table->FindField(fieldName_);
  if (field == nullptr) return {};
  try {
    return table->CellText(row, field->Index());
  } catch (const std::exception&) {
    return {};
  }
}

void SetFontColor(QWidget* control, const QColor& color) {
  QPalette pal = control->palette();
  pal.setColor(QPalette::WindowText, color);
  pal.setColor(QPalette::Text, color);
  control->setPalette(pal);
}

TDBText::TDBText(QWidget* parent) : QLabel(parent), link_([this] { Refresh(); }) {}

void TDBText::SetAutoSize(bool value) {
  autoSize_ = value;
  Refresh();
}

void TDBText::Refresh() {
  setText(FromAnsi(link_.Text()));
  if (autoSize_) resize(sizeHint().width(), height());
}

TDBEdit::TDBEdit(QWidget* parent) : QLineEdit(parent), link_([this] { Refresh(); }) {
  setReadOnly(true);
}

void TDBEdit::Refresh() {
  setText(FromAnsi(link_.Text()));
  setCursorPosition(0);
}

TDBMemo::TDBMemo(QWidget* parent) : QPlainTextEdit(parent), link_([this] { Refresh(); }) {
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void TDBMemo::SetBorder(bool border) {
  setFrameShape(border ? QFrame::StyledPanel : QFrame::NoFrame);
}

void TDBMemo::Refresh() {
  setPlainText(FromAnsi(link_.Text()));
}

void TDBMemo::paintEvent(QPaintEvent* event) {
  QPlainTextEdit::paintEvent(event);
  if (!hasFocus()) return;
  QPainter painter(viewport());
  DrawFocusRing(painter, viewport()->rect(), palette());
}

void TDBMemo::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  viewport()->update();
}

void TDBMemo::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  viewport()->update();
}

void TDBMemo::scrollContentsBy(int dx, int dy) {
  // Scrolling moves the pixels drawn, the ring with them: draw it all again.
  QPlainTextEdit::scrollContentsBy(dx, dy);
  viewport()->update();
}
