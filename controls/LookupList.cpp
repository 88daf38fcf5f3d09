#include "controls/LookupList.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QListView>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>

#include "controls/ControlHooks.h"
#include "controls/LookupListAccessible.h"
#include "flatfile/Table.h"
#include "platform/QString1252.h"

// ---------------------------------------------------------------- model

TLookupListModel::TLookupListModel(QObject* parent) : QAbstractListModel(parent) {
  source_.OnStateChange = [this] { Rebuild(); };
  source_.OnDataChange = [this](TField*) {
    TTable* table = DataSet();
    const int records = table != nullptr && table->Active() ? table->RecordCount() : 0;
    if (records != records_) {
      Rebuild();
    } else if (records_ > 0) {
      emit dataChanged(index(ModelRow(0)), index(ModelRow(records_ - 1)));
    }
  };
}

void TLookupListModel::SetDataSet(TTable* dataSet) {
  source_.SetDataSet(dataSet);
  Rebuild();
}

void TLookupListModel::SetListField(const std::string& field) {
  listField_ = field;
  Rebuild();
}

void TLookupListModel::SetShowTitle(bool show) {
  if (show == showTitle_) return;
  beginResetModel();
  showTitle_ = show;
  endResetModel();
}

void TLookupListModel::SetTitle(const QString& title) {
  title_ = title;
  if (showTitle_) emit dataChanged(index(0), index(0));
}

QString TLookupListModel::TitleText() const {
  return title_.isEmpty() ? FromAnsi(listField_) : title_;
}

void TLookupListModel::Rebuild() {
  beginResetModel();
  TTable* table = DataSet();
  const bool active = table != nullptr && table->Active();
  records_ = active ? table->RecordCount() : 0;
  fieldIndex_ = -1;
  if (active)
    if (TField* field = table->FindField(listField_)) fieldIndex_ = field->Index();
  endResetModel();
}

int TLookupListModel::RecordOf(int modelRow) const {
  const int record = modelRow - (showTitle_ ? 1 : 0);
  return record >= 0 && record < records_ ? record : -1;
}

std::string TLookupListModel::RecordText(int row) const {
  TTable* table = DataSet();
  if (table == nullptr || !table->Active() || fieldIndex_ < 0 || row < 0 || row >= records_ ||
      row >= table->RecordCount())
    return {};
  try {
    return table->CellText(row, fieldIndex_);
  } catch (const std::exception&) {
    return {};
  }
}

int TLookupListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : records_ + (showTitle_ ? 1 : 0);
}

QVariant TLookupListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const bool title = showTitle_ && index.row() == 0;
  switch (role) {
    case Qt::DisplayRole:
      return title ? TitleText() : FromAnsi(RecordText(RecordOf(index.row())));
    case Qt::FontRole:
      if (title) {
        QFont font;
        font.setBold(true);
        return font;
      }
      break;
    case Qt::BackgroundRole:
      if (title) return QBrush(QColor(0xD4, 0xD0, 0xC8));
      break;
    case Qt::ForegroundRole:
      if (title) return QBrush(Qt::black);
      break;
  }
  return {};
}

Qt::ItemFlags TLookupListModel::flags(const QModelIndex& index) const {
  if (!index.isValid() || (showTitle_ && index.row() == 0)) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

// ---------------------------------------------------------------- combo

TLookupList::TLookupList(QWidget* parent) : QComboBox(parent), list_(new TLookupListModel(this)) {
  InstallLookupListAccessible();
  // Sizing to the contents would read every row.
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  setMinimumContentsLength(8);
  setModel(list_);
  if (auto* view = qobject_cast<QListView*>(this->view())) view->setUniformItemSizes(true);
  connect(this, qOverload<int>(&QComboBox::activated), this, &TLookupList::Activated);
  // After the combo box's own handling of a reopened table.
  connect(list_, &QAbstractItemModel::modelReset, this, &TLookupList::SyncCurrentIndex);
}

void TLookupList::SetDropDownWidth(int width) {
  view()->setMinimumWidth(width);
}

std::string TLookupList::TextAnsi() const {
  return ToAnsi(text_);
}

void TLookupList::SetText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  SyncCurrentIndex();
  update();
  AnnounceLookupListValue(this);
  if (OnChange) OnChange(this);
}

void TLookupList::ShowValue(const std::string& value) {
  TTable* table = DataSet();
  if (FromAnsi(value) == text_) return;
  if (table == nullptr || !table->Active()) {
    // A table that failed to open offers nothing: no choice of an earlier
    // antenna stays on show.
    SetText({});
    return;
  }
  for (int row = 0; row < list_->RecordCount(); ++row) {
    if (list_->RecordText(row) == value) {
      if (row != table->CurrentRow()) table->SetRecNo(row + 1);
      break;
    }
  }
  SetText(FromAnsi(value));
}

void TLookupList::ChooseRecord(int row) {
  TTable* table = DataSet();
  if (table == nullptr || !table->Active() || row < 0 || row >= list_->RecordCount()) return;
  const QString text = FromAnsi(list_->RecordText(row));
  if (row != table->CurrentRow()) table->SetRecNo(row + 1);
  SetText(text);
}

void TLookupList::Activated(int modelRow) {
  const int record = list_->RecordOf(modelRow);
  if (record >= 0) RunGuarded([&] { ChooseRecord(record); });
}

void TLookupList::SyncCurrentIndex() {
  TTable* table = DataSet();
  int modelRow = -1;
  if (!text_.isEmpty() && table != nullptr && table->Active()) {
    const int current = table->CurrentRow();
    if (current >= 0 && current < list_->RecordCount() &&
        FromAnsi(list_->RecordText(current)) == text_) {
      modelRow = list_->ModelRow(current);
    } else {
      for (int row = 0; row < list_->RecordCount() && modelRow < 0; ++row)
        if (FromAnsi(list_->RecordText(row)) == text_) modelRow = list_->ModelRow(row);
    }
  }
  if (modelRow == currentIndex()) return;
  const QSignalBlocker blocker(this);
  setCurrentIndex(modelRow);
}

void TLookupList::showPopup() {
  // The drop-down opens on the row the list shows.
  SyncCurrentIndex();
  QComboBox::showPopup();
}

void TLookupList::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  painter.setPen(palette().color(QPalette::Text));
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText = text_;
  option.currentIcon = QIcon();
  if (hasFrame()) {
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
  } else {
    if (isEnabled()) {
      // Flat: the field's colour and the arrow, no frame or bevel around them.
      painter.fillRect(rect(), palette().brush(QPalette::Active, QPalette::Base));
    } else {
      // Disabled, a flat field in the page's colour would vanish: it keeps
      // the field and frame of the other disabled boxes.
      QStyleOptionFrame frame;
      frame.initFrom(this);
      frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, this);
      frame.state |= QStyle::State_Sunken;
      painter.drawPrimitive(QStyle::PE_PanelLineEdit, frame);
    }
    QStyleOption arrow(option);
    arrow.rect =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
    painter.drawPrimitive(QStyle::PE_IndicatorArrowDown, arrow);
    // With no frame to light up, the focus shows as a highlighted text field.
    if (hasFocus()) {
      const QRect field =
          style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
      painter.fillRect(field, palette().brush(QPalette::Highlight));
      option.palette.setColor(QPalette::Text, palette().color(QPalette::HighlightedText));
      option.palette.setColor(QPalette::ButtonText, palette().color(QPalette::HighlightedText));
      painter.setPen(palette().color(QPalette::HighlightedText));
    }
  }
  painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void TLookupList::keyPressEvent(QKeyEvent* event) {
  TTable* table = DataSet();
  const bool plain =
      event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
  if (plain && table != nullptr && table->Active() && list_->RecordCount() > 0) {
    const int last = list_->RecordCount() - 1;
    // Nothing shown yet: the first Down or Up picks the first entry.
    const int current = text_.isEmpty() ? -1 : table->CurrentRow();
    int target = -2;
    switch (event->key()) {
      case Qt::Key_Down:
        target = current < 0 ? 0 : std::min(current + 1, last);
        break;
      case Qt::Key_Up:
        target = current < 0 ? 0 : std::max(current - 1, 0);
        break;
      case Qt::Key_Home:
        target = 0;
        break;
      case Qt::Key_End:
        target = last;
        break;
      default:
        break;
    }
    if (target != -2) {
      // A key that stays on the shown row changes nothing.
      if (target != current || FromAnsi(list_->RecordText(target)) != text_)
        RunGuarded([&] { ChooseRecord(target); });
      event->accept();
      return;
    }
  }
  QComboBox::keyPressEvent(event);
}

void TLookupList::wheelEvent(QWheelEvent* event) {
  event->ignore();
}
