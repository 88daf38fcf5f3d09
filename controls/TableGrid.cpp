#include "controls/TableGrid.h"

#include <QAccessible>
#include <QHeaderView>
#include <QHelpEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QToolTip>

#include "controls/ControlHooks.h"
#include "controls/ProgramStyle.h"
#include "controls/ReadableColor.h"
#include "flatfile/Table.h"
#include "platform/QString1252.h"

namespace {

constexpr int kIndicatorWidth = 12;

// The row indicator: an empty section per row, with an arrow on the table's
// current row.
class TIndicatorHeader : public QHeaderView {
 public:
  TIndicatorHeader(TDataSetTableModel* model, QWidget* parent)
      : QHeaderView(Qt::Vertical, parent), model_(model) {
    setSectionResizeMode(QHeaderView::Fixed);
    setSectionsClickable(false);
    setHighlightSections(false);
  }
  QSize sizeHint() const override {
    return QSize(kIndicatorWidth, QHeaderView::sizeHint().height());
  }

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
    // The section's face is drawn here: what the header's own drawing leaves
    // in the painter hides anything drawn after it.
    painter->save();
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = logicalIndex;
    option.position = QStyleOptionHeader::Middle;
    option.state |= QStyle::State_Raised;
    if (isEnabled()) option.state |= QStyle::State_Enabled;
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    painter->restore();
    if (logicalIndex != model_->CurrentRow()) return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(Qt::NoPen);
    painter->setBrush(palette().color(QPalette::ButtonText));
    const QPointF c = QRectF(rect).center();
    const QPointF arrow[] = {
        {c.x() - 2.5, c.y() - 4.0}, {c.x() + 2.5, c.y()}, {c.x() - 2.5, c.y() + 4.0}};
    painter->drawPolygon(arrow, 3);
    painter->restore();
  }

 private:
  TDataSetTableModel* model_;
};

// Draws the cell, then the grid's row and column lines as its options say.
// A cell whose column cuts its text shows the whole text as its tooltip.
class TGridLineDelegate : public QStyledItemDelegate {
 public:
  TGridLineDelegate(const TTableGrid* grid)
      : QStyledItemDelegate(const_cast<TTableGrid*>(grid)), grid_(grid) {}
  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override {
    if (event->type() != QEvent::ToolTip || !index.isValid())
      return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    if (Cut(opt, view)) {
      QToolTip::showText(event->globalPos(), opt.text, view->viewport(), option.rect);
    } else {
      QToolTip::hideText();
      event->ignore();
    }
    return true;
  }
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem opt(option);
    // The whole row shows as selected, with no focus frame around one cell.
    opt.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, opt, index);
    painter->save();
    painter->setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 0));
    const QRect r = option.rect;
    if (grid_->Options().testFlag(TTableGrid::dgRowLines))
      painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    if (grid_->Options().testFlag(TTableGrid::dgColLines))
      painter->drawLine(r.right(), r.top(), r.right(), r.bottom());
    painter->restore();
  }

 private:
  // Whether the cell's text is wider than the room the style gives it: the
  // text rectangle less a margin on each side.
  static bool Cut(const QStyleOptionViewItem& option, const QWidget* view) {
    if (option.text.isEmpty()) return false;
    const QStyle* style = view->style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const QRect room = style->subElementRect(QStyle::SE_ItemViewItemText, &option, view);
    return option.fontMetrics.horizontalAdvance(option.text) > room.width() - 2 * margin;
  }

  const TTableGrid* grid_;
};

}  // namespace

// ---------------------------------------------------------------- model

TDataSetTableModel::TDataSetTableModel(QObject* parent) : QAbstractTableModel(parent) {
  source_.OnStateChange = [this] {
    beginResetModel();
    Rebuild();
    endResetModel();
    emit CurrentRowMoved(CurrentRow());
  };
  source_.OnDataChange = [this](TField* field) { TableChanged(field); };
}

void TDataSetTableModel::SetDataSet(TTable* dataSet) {
  beginResetModel();
  source_.SetDataSet(dataSet);
  Rebuild();
  endResetModel();
  emit CurrentRowMoved(CurrentRow());
}

void TDataSetTableModel::SetColumns(std::vector<TTableGridColumn> columns) {
  beginResetModel();
  columns_ = std::move(columns);
  Rebuild();
  endResetModel();
  emit CurrentRowMoved(CurrentRow());
}

void TDataSetTableModel::Rebuild() {
  TTable* table = DataSet();
  const bool active = table != nullptr && table->Active();
  rows_ = active ? table->RecordCount() : 0;
  shown_ = columns_;
  if (shown_.empty() && active) {
    for (int i = 0; i < table->FieldCount(); ++i) {
      TTableGridColumn column;
      column.FieldName = table->Fields(i)->FieldName();
      column.Title = FromAnsi(column.FieldName);
      shown_.push_back(column);
    }
  }
  fieldIndex_.assign(shown_.size(), -1);
  if (!active) return;
  for (size_t c = 0; c < shown_.size(); ++c)
    if (TField* field = table->FindField(shown_[c].FieldName)) fieldIndex_[c] = field->Index();
}

void TDataSetTableModel::TableChanged(TField* field) {
  TTable* table = DataSet();
  const int rows = table != nullptr && table->Active() ? table->RecordCount() : 0;
  if (rows != rows_) {
    // Records were added or removed without a close: start over.
    beginResetModel();
    Rebuild();
    endResetModel();
  } else if (rows_ > 0 && !shown_.empty()) {
    if (field != nullptr && CurrentRow() >= 0) {
      emit dataChanged(index(CurrentRow(), 0), index(CurrentRow(), columnCount() - 1));
    } else {
      // The records may have been rebuilt: the view repaints what it shows.
      emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
    }
  }
  emit CurrentRowMoved(CurrentRow());
}

int TDataSetTableModel::CurrentRow() const {
  TTable* table = DataSet();
  if (table == nullptr || !table->Active()) return -1;
  const int row = table->CurrentRow();
  return row >= 0 && row < rows_ ? row : -1;
}

int TDataSetTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int TDataSetTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

QVariant TDataSetTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_ || index.column() >= columnCount()) return {};
  const TTableGridColumn& column = shown_[static_cast<size_t>(index.column())];
  switch (role) {
    case Qt::DisplayRole: {
      TTable* table = DataSet();
      const int field = fieldIndex_[static_cast<size_t>(index.column())];
      if (table == nullptr || !table->Active() || field < 0 || index.row() >= table->RecordCount())
        return {};
      try {
        return FromAnsi(table->CellText(index.row(), field));
      } catch (const std::exception&) {
        return {};  // a record too short for this field shows an empty cell
      }
    }
    case Qt::TextAlignmentRole:
      return static_cast<int>(column.Alignment);
    case Qt::ForegroundRole:
      return column.FontColor.isValid() ? QVariant(QBrush(column.FontColor)) : QVariant();
    case Qt::BackgroundRole:
      return column.Color.isValid() ? QVariant(QBrush(column.Color)) : QVariant();
  }
  return {};
}

QVariant TDataSetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) return {};
  if (section < 0 || section >= columnCount()) return {};
  const TTableGridColumn& column = shown_[static_cast<size_t>(section)];
  switch (role) {
    case Qt::DisplayRole:
      return column.Title;
    case Qt::TextAlignmentRole:
      return static_cast<int>(column.TitleAlignment);
    case Qt::ForegroundRole:
      return column.TitleFontColor.isValid() ? QVariant(QBrush(column.TitleFontColor)) : QVariant();
  }
  return {};
}

Qt::ItemFlags TDataSetTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

// ---------------------------------------------------------------- grid

TTableGrid::TTableGrid(QWidget* parent) : QTableView(parent), model_(new TDataSetTableModel(this)) {
  setVerticalHeader(new TIndicatorHeader(model_, this));
  setModel(model_);
  setItemDelegate(new TGridLineDelegate(this));
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Tab and Shift+Tab go to the next and previous control; arrows move within.
  setTabKeyNavigation(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setShowGrid(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsMovable(false);
  connect(model_, &TDataSetTableModel::CurrentRowMoved, this, &TTableGrid::FollowTable);
  connect(model_, &QAbstractItemModel::modelReset, this, &TTableGrid::ApplyColumns);
  SetOptions(dgTitles | dgIndicator | dgRowLines | dgColLines);
  ApplyRowHeight();
}

void TTableGrid::SetDataSet(TTable* dataSet) {
  model_->SetDataSet(dataSet);
}

void TTableGrid::SetColumns(std::vector<TTableGridColumn> columns) {
  // Each column's colours as designed, as far as the theme's cell and title
  // backgrounds allow.
  for (TTableGridColumn& column : columns) {
    if (column.FontColor.isValid())
      column.FontColor = ReadableOn(column.FontColor, palette().color(QPalette::Base));
    if (column.TitleFontColor.isValid())
      column.TitleFontColor = ReadableOn(column.TitleFontColor, palette().color(QPalette::Button));
  }
  model_->SetColumns(std::move(columns));
}

void TTableGrid::SetOptions(TTableGridOptions options) {
  options_ = options;
  horizontalHeader()->setVisible(options.testFlag(dgTitles));
  verticalHeader()->setVisible(options.testFlag(dgIndicator));
  setSelectionBehavior(options.testFlag(dgRowSelect) ? QAbstractItemView::SelectRows
                                                     : QAbstractItemView::SelectItems);
  viewport()->update();
}

void TTableGrid::SetBorder(bool border) {
  setFrameShape(border ? QFrame::StyledPanel : QFrame::NoFrame);
}

void TTableGrid::ApplyRowHeight() {
  const int rowHeight = fontMetrics().height() + 4;
  verticalHeader()->setMinimumSectionSize(rowHeight);
  verticalHeader()->setDefaultSectionSize(rowHeight);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setFixedHeight(rowHeight + 1);
}

void TTableGrid::ApplyColumns() {
  const auto& columns = model_->ShownColumns();
  for (int c = 0; c < static_cast<int>(columns.size()); ++c)
    setColumnWidth(c, columns[static_cast<size_t>(c)].Width);
}

void TTableGrid::FollowTable(int row) {
  following_ = true;
  if (row < 0 || model_->columnCount() == 0) {
    setCurrentIndex(QModelIndex());
  } else {
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    const QModelIndex target = model_->index(row, column);
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
    ShowSelection();
    scrollTo(target);
  }
  verticalHeader()->viewport()->update();
  following_ = false;
}

// The current row is highlighted only while the grid has the focus, so the
// columns' own colours show otherwise and the user sees where the focus is.
void TTableGrid::ShowSelection() {
  const QModelIndex current = currentIndex();
  if (!hasFocus() || !current.isValid()) {
    selectionModel()->clearSelection();
    return;
  }
  selectionModel()->select(current,
                           QItemSelectionModel::ClearAndSelect |
                               (options_.testFlag(dgRowSelect) ? QItemSelectionModel::Rows
                                                               : QItemSelectionModel::NoUpdate));
}

void TTableGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  if (hasFocus()) {
    QTableView::currentChanged(current, previous);
  } else {
    // Only the widget with the keyboard focus may tell a screen reader that
    // the focus moved (Qt's table view tells it for any current cell): a
    // grid that follows its table says that what it shows changed.
    QAbstractItemView::currentChanged(current, previous);
    QAccessibleEvent event(this, QAccessible::SelectionWithin);
    QAccessible::updateAccessibility(&event);
  }
  if (following_ || !current.isValid()) return;
  TTable* table = DataSet();
  if (table == nullptr || !table->Active()) return;
  if (current.row() == table->CurrentRow()) return;
  RunGuarded([&] { table->SetRecNo(current.row() + 1); });
}

QModelIndex TTableGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  if (!options_.testFlag(dgRowSelect)) return QTableView::moveCursor(action, modifiers);
  // A grid that chooses whole rows moves between rows only: Home and End go
  // to the first and last row, and the row's first column (the one that
  // names it) stays where the cursor is, in view. Left and Right scroll.
  const QModelIndex current = currentIndex();
  const int rows = model()->rowCount();
  switch (action) {
    case MoveHome:
      return rows > 0 ? model()->index(0, 0) : QModelIndex();
    case MoveEnd:
      return rows > 0 ? model()->index(rows - 1, 0) : QModelIndex();
    case MoveLeft:
    case MoveRight: {
      QScrollBar* bar = horizontalScrollBar();
      bar->setValue(bar->value() + (action == MoveRight ? 1 : -1) * bar->singleStep() * 4);
      return current;
    }
    default: {
      const QModelIndex moved = QTableView::moveCursor(action, modifiers);
      return moved.isValid() ? model()->index(moved.row(), 0) : moved;
    }
  }
}

void TTableGrid::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  ShowSelection();
  viewport()->update();
}

void TTableGrid::focusOutEvent(QFocusEvent* event) {
  QTableView::focusOutEvent(event);
  ShowSelection();
  viewport()->update();
}

// The highlighted row shows the focus; a grid with no current row (an empty
// query's) would look the same focused or not, so it gets the focus ring.
void TTableGrid::paintEvent(QPaintEvent* event) {
  QTableView::paintEvent(event);
  if (!hasFocus() || currentIndex().isValid()) return;
  QPainter painter(viewport());
  DrawFocusRing(painter, viewport()->rect(), palette());
}

void TTableGrid::keyboardSearch(const QString&) {
  // Typing does not search: a search would read every row of the table.
}
