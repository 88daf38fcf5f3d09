#include "controls/FieldViews.h"

#include <QPainter>

#include "controls/ProgramStyle.h"
#include "controls/ReadableColor.h"
#include "flatfile/Table.h"
#include "platform/QString1252.h"
#include "platform/Text1252.h"

TFieldDataLink::TFieldDataLink(std::function<void()> changed) : changed_(std::move(changed)) {
  source_.OnStateChange = [this] { changed_(); };
  source_.OnDataChange = [this](TField* field) {
    if (field == nullptr || ansi::SameText(field->FieldName(), fieldName_)) changed_();
  };
}

void TFieldDataLink::SetDataSet(TTable* dataSet) {
  source_.SetDataSet(dataSet);
  changed_();
}

void TFieldDataLink::SetFieldName(const std::string& name) {
  fieldName_ = name;
  changed_();
}

std::string TFieldDataLink::Text() const {
  TTable* table = DataSet();
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
  // The designed colour, as far as the background it is drawn on allows.
  QPalette pal = control->palette();
  pal.setColor(QPalette::WindowText, ReadableOn(color, pal.color(QPalette::Window)));
  pal.setColor(QPalette::Text, ReadableOn(color, pal.color(QPalette::Base)));
  control->setPalette(pal);
}

TFieldText::TFieldText(QWidget* parent) : QLabel(parent), link_([this] { Refresh(); }) {}

void TFieldText::SetAutoSize(bool value) {
  autoSize_ = value;
  Refresh();
}

void TFieldText::Refresh() {
  setText(FromAnsi(link_.Text()));
  if (autoSize_) resize(sizeHint().width(), height());
}

TFieldEdit::TFieldEdit(QWidget* parent) : QLineEdit(parent), link_([this] { Refresh(); }) {
  setReadOnly(true);
}

void TFieldEdit::Refresh() {
  ShowText(link_.Text());
}

void TFieldEdit::ShowText(const std::string& text) {
  setText(FromAnsi(text));
  setCursorPosition(0);
}

TFieldMemo::TFieldMemo(QWidget* parent) : QPlainTextEdit(parent), link_([this] { Refresh(); }) {
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void TFieldMemo::SetBorder(bool border) {
  setFrameShape(border ? QFrame::StyledPanel : QFrame::NoFrame);
}

void TFieldMemo::Refresh() {
  ShowText(link_.Text());
}

void TFieldMemo::ShowText(const std::string& text) {
  setPlainText(FromAnsi(text));
}

void TFieldEdit::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  if (!hasFocus()) return;
  QPainter painter(this);
  DrawFocusRing(painter, rect(), palette());
}

void TFieldMemo::paintEvent(QPaintEvent* event) {
  QPlainTextEdit::paintEvent(event);
  if (!hasFocus()) return;
  QPainter painter(viewport());
  DrawFocusRing(painter, viewport()->rect(), palette());
}

void TFieldMemo::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  viewport()->update();
}

void TFieldMemo::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  viewport()->update();
}

void TFieldMemo::scrollContentsBy(int dx, int dy) {
  // Scrolling moves the pixels drawn, the ring with them: draw it all again.
  QPlainTextEdit::scrollContentsBy(dx, dy);
  viewport()->update();
}
