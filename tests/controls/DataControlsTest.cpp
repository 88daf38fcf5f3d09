// The data-aware controls: the grid, the lookup list, the navigator and the
// bound text controls, each over its own link to a table.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "controls/ControlHooks.h"
#include "controls/FieldViews.h"
#include "controls/LookupList.h"
#include "controls/RecordNavigator.h"
#include "controls/TableGrid.h"
#include "flatfile/DelimitedTable.h"
#include "flatfile/Table.h"
#include "platform/Error.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

// A table over rows held in memory that counts its cell reads.
class MemTable : public TTable {
 public:
  MemTable(std::vector<std::string> names, Rows rows)
      : TTable("Mem"), names_(std::move(names)), source_(std::move(rows)) {}
  void SetRows(Rows rows) { source_ = std::move(rows); }
  mutable int reads = 0;

 protected:
  void BuildFieldDefs() override {
    ClearFieldDefs();
    for (const auto& name : names_)
      AddFieldDef({name, TFieldType::ftString, 50});
  }
  void LoadRows() override { rows_ = source_; }
  int CountRows() const override { return static_cast<int>(rows_.size()); }
  void ClearRows() override { rows_.clear(); }
  void DeleteRow(int row) override { rows_.erase(rows_.begin() + row); }
  std::string ReadCell(int row, int cell) const override {
    ++reads;
    const auto& r = rows_[static_cast<size_t>(row)];
    if (cell >= static_cast<int>(r.size())) throw EKavError(ListIndexError(cell));
    return r[static_cast<size_t>(cell)];
  }
  void WriteCell(int row, int cell, const std::string& text) override {
    rows_[static_cast<size_t>(row)][static_cast<size_t>(cell)] = text;
  }

 private:
  std::vector<std::string> names_;
  Rows source_, rows_;
};

Rows Antennas(int count) {
  Rows rows;
  for (int i = 0; i < count; ++i)
    rows.push_back({"VHP" + std::to_string(i), std::to_string(6 + i % 20) + " GHz", "PDR70"});
  return rows;
}

class DataControlsTest : public ::testing::Test {
 protected:
  DataControlsTest() : table({"PartNum", "Freq", "Flange"}, Antennas(5)) {
    SetErrorReporter([this](const std::string& message) { errors.push_back(message); });
    // Another follower of the table, like the data module's chains.
    chain.SetDataSet(&table);
    chain.OnDataChange = [this](TField*) {
      ++moves;
      if (!failWith.empty()) throw EKavError(failWith);
    };
  }
  ~DataControlsTest() override { SetErrorReporter(nullptr); }

  MemTable table;
  TTableLink chain;
  int moves = 0;
  std::string failWith;
  std::vector<std::string> errors;
};

// ---------------------------------------------------------------- grid

// The model number centred in blue, the frequency under a black title (field
// names ignore letter case) and a column whose field does not exist.
std::vector<TTableGridColumn> GridColumns() {
  const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter, centre = Qt::AlignCenter;
  return {{"PartNum", "Model Number", 100, centre, centre, {}, QColor(0, 0, 0xFF), {}},
          {"freq", "Frequency", 125, left, left, {}, {}, Qt::black},
          {"NoSuchField", "Missing", 64, left, left, {}, {}, {}}};
}

// The texts a model shows in a column, top down.
QStringList Texts(const QAbstractItemModel* m, int column = 0) {
  QStringList texts;
  for (int row = 0; row < m->rowCount(); ++row)
    texts << m->data(m->index(row, column), Qt::DisplayRole).toString();
  return texts;
}

TEST_F(DataControlsTest, GridShowsTheColumnsAsDeclared) {
  TTableGrid grid;
  grid.SetColumns(GridColumns());
  grid.SetDataSet(&table);
  auto* m = grid.Model();
  EXPECT_EQ(std::pair(m->rowCount(), m->columnCount()), std::pair(0, 3));  // closed
  table.Open();
  EXPECT_EQ(Texts(m), (QStringList{"VHP0", "VHP1", "VHP2", "VHP3", "VHP4"}));
  EXPECT_EQ(m->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Model Number");
  EXPECT_EQ(m->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
  EXPECT_EQ(m->headerData(1, Qt::Horizontal, Qt::ForegroundRole).value<QBrush>().color(),
            QColor(Qt::black));
  EXPECT_EQ(Texts(m, 1), (QStringList{"6 GHz", "7 GHz", "8 GHz", "9 GHz", "10 GHz"}));
  EXPECT_EQ(Texts(m, 2), QStringList(5, ""));
  EXPECT_EQ(m->data(m->index(0, 0), Qt::ForegroundRole).value<QBrush>().color(),
            QColor(0, 0, 0xFF));
  EXPECT_EQ(m->data(m->index(0, 0), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
  EXPECT_FALSE(m->flags(m->index(0, 0)).testFlag(Qt::ItemIsEditable));
  // Widths survive the reopen that resets the view.
  table.Close();
  table.Open();
  EXPECT_EQ(std::make_pair(grid.columnWidth(0), grid.columnWidth(1)), std::make_pair(100, 125));
  EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);

  // Without declared columns every field shows under its name.
  TTableGrid plain;
  plain.SetDataSet(&table);
  EXPECT_EQ(std::pair(plain.Model()->columnCount(),
                      plain.Model()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString()),
            std::pair(3, QString("Flange")));
  table.Close();
  EXPECT_EQ(std::pair(plain.Model()->rowCount(), grid.Model()->rowCount()), std::pair(0, 0));
}

TEST_F(DataControlsTest, ChoosingARowMovesTheTableOnceAndFollowingItMovesNothing) {
  table.Open();
  TTableGrid grid;
  grid.SetOptions(TTableGrid::dgTitles | TTableGrid::dgIndicator | TTableGrid::dgRowLines |
                  TTableGrid::dgRowSelect);
  grid.SetDataSet(&table);
  EXPECT_EQ(grid.currentIndex().row(), 0);
  moves = 0;
  grid.setCurrentIndex(grid.Model()->index(3, 1));
  EXPECT_EQ(std::tuple(table.RecNo(), moves, grid.currentIndex().row()), std::tuple(4, 1, 3));

  // The table moves elsewhere: the grid follows without moving it again.
  moves = 0;
  table.First();
  EXPECT_EQ(std::pair(moves, grid.currentIndex().row()), std::pair(1, 0));
  table.Last();
  EXPECT_EQ(std::pair(moves, grid.currentIndex().row()), std::pair(2, 4));

  // A reopen with other rows shows them and their first row.
  table.SetRows(Antennas(8));
  table.Close();
  table.Open();
  EXPECT_EQ(std::pair(grid.Model()->rowCount(), grid.currentIndex().row()), std::pair(8, 0));
}

TEST_F(DataControlsTest, AnErrorInTheChainGoesToTheErrorReport) {
  table.Open();
  TTableGrid grid;
  grid.SetDataSet(&table);
  failWith = "Missing File";
  grid.setCurrentIndex(grid.Model()->index(2, 0));
  EXPECT_EQ(std::pair(errors, table.RecNo()),
            std::pair(std::vector<std::string>{"Missing File"}, 3));
}

TEST_F(DataControlsTest, PaintingReadsOnlyVisibleRowsAndNeverMovesTheCursor) {
  table.Open();
  QWidget window;
  window.resize(500, 140);
  TTableGrid grid(&window);
  grid.setGeometry(0, 0, 489, 110);
  grid.SetColumns(GridColumns());
  grid.SetDataSet(&table);
  window.show();
  table.SetRecNo(3);
  moves = 0;

  table.reads = 0;
  table.SetRows(Antennas(20000));
  table.Close();
  table.Open();
  table.SetRecNo(10000);
  moves = 0;
  grid.grab();
  EXPECT_EQ(std::tuple(table.CurrentRow(), moves, grid.currentIndex().row()),
            std::tuple(9999, 0, 9999));
  // A handful of rows are on screen, two fields each.
  EXPECT_TRUE(table.reads > 0 && table.reads < 2 * 20) << table.reads;
  // The indicator column is narrow whatever the row count, and shows an
  // arrow on the current row only.
  QHeaderView* indicator = grid.verticalHeader();
  EXPECT_LE(indicator->width(), 16);
  const QImage marks = indicator->grab().toImage();
  auto darkPixels = [&](int row) {
    const int top = indicator->sectionViewportPosition(row);
    int dark = 0;
    for (int y = top; y < top + indicator->sectionSize(row); ++y)
      for (int x = 0; x < marks.width(); ++x)
        dark += qGray(marks.pixel(x, y)) < 64;
    return dark;
  };
  EXPECT_GT(darkPixels(9999), 4);
  EXPECT_EQ(darkPixels(9998), 0);
}

TEST_F(DataControlsTest, GridOverAFlatFileTable) {
  TempDir dir;
  WriteFile(dir / "MWAnts.dat", "PartNum|Freq\nVHLP1-7|7 GHz\nVHLP2-11|11 GHz\nSHP\xE9|23 GHz\n");
  TDelimitedTable ants("Ants");
  ants.SetFileName(dir / "MWAnts.dat");
  TTableGrid grid;
  grid.SetDataSet(&ants);
  ants.Open();
  EXPECT_EQ(Texts(grid.Model()),
            (QStringList{"VHLP1-7", "VHLP2-11", QString::fromUtf8("SHP\u00e9")}));
  grid.setCurrentIndex(grid.Model()->index(1, 0));
  EXPECT_EQ(ants.FieldByName("PartNum")->AsString(), "VHLP2-11");
}

TEST_F(DataControlsTest, ACellItsColumnCutsShowsItsWholeTextAsTooltip) {
  table.SetRows({{"VHP2-23", "23 GHz", "CPR137G, PDR70, UBR84, UDR84"}});
  table.Open();
  QWidget window;
  window.resize(500, 140);
  TTableGrid grid(&window);
  grid.setGeometry(0, 0, 489, 110);
  grid.SetDataSet(&table);
  for (int column = 0; column < 3; ++column)
    grid.setColumnWidth(column, 100);
  window.show();
  auto tip = [&](int column) {
    const QPoint at = grid.visualRect(grid.Model()->index(0, column)).center();
    QHelpEvent help(QEvent::ToolTip, at, grid.viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid.viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  EXPECT_EQ(tip(0), "");  // fits its column
  grid.setColumnWidth(2, 400);
  EXPECT_EQ(tip(2), "");
  grid.setColumnWidth(2, 100);
  EXPECT_EQ(tip(2), "CPR137G, PDR70, UBR84, UDR84");
}

TEST_F(DataControlsTest, ARowGridMovesByRowsAndKeepsTheNamingColumnInView) {
  table.SetRows({{"VHP2-23", "23 GHz", "CPR137G"},
                 {"VHP4-23", "23 GHz", "PDR70"},
                 {"VHP6-23", "23 GHz", "UBR84"}});
  table.Open();
  QWidget window;
  window.resize(200, 140);
  TTableGrid grid(&window);
  grid.setGeometry(0, 0, 190, 110);
  grid.SetOptions(TTableGrid::dgRowSelect);
  grid.SetDataSet(&table);
  for (int column = 0; column < 3; ++column)
    grid.setColumnWidth(column, 150);
  window.show();
  grid.setFocus();
  grid.setCurrentIndex(grid.Model()->index(0, 0));
  QTest::keyClick(&grid, Qt::Key_End);
  EXPECT_EQ(std::tuple(grid.currentIndex().row(), grid.currentIndex().column(),
                       grid.horizontalScrollBar()->value()),
            std::tuple(2, 0, 0));
  QTest::keyClick(&grid, Qt::Key_Home);
  EXPECT_EQ(grid.currentIndex().row(), 0);
  // Right scrolls to read the row's other cells; moving on brings the
  // naming column back.
  QTest::keyClick(&grid, Qt::Key_Right);
  EXPECT_GT(grid.horizontalScrollBar()->value(), 0);
  QTest::keyClick(&grid, Qt::Key_Down);
  EXPECT_EQ(std::tuple(grid.currentIndex().row(), grid.horizontalScrollBar()->value()),
            std::tuple(1, 0));
}

// ---------------------------------------------------------------- lookup list

class LookupTest : public DataControlsTest {
 protected:
  LookupTest() {
    combo.SetListField("Freq");
    combo.SetShowTitle(true);
    combo.SetDataSet(&table);
    combo.OnChange = [this](QObject* sender) {
      changes.push_back((sender == &combo ? "" : "?") + combo.TextAnsi() + "@" +
                        std::to_string(table.CurrentRow()));
    };
  }
  TLookupList combo;
  std::vector<std::string> changes;
};

TEST_F(LookupTest, ListsTheFieldUnderATitleRow) {
  auto* m = combo.ListModel();
  EXPECT_EQ(m->rowCount(), 1);  // the title alone while closed
  table.Open();
  EXPECT_EQ(Texts(m), (QStringList{"Freq", "6 GHz", "7 GHz", "8 GHz", "9 GHz", "10 GHz"}));
  EXPECT_EQ(m->flags(m->index(0)), Qt::NoItemFlags);
  combo.SetTitle("Frequencies");
  EXPECT_EQ(m->data(m->index(0), Qt::DisplayRole).toString(), "Frequencies");
  // Nothing is shown until something is chosen, nor read out: a screen
  // reader reads the combo box's own current text.
  EXPECT_EQ(std::tuple(combo.Text(), combo.currentText(), changes),
            std::tuple(QString(), QString(), std::vector<std::string>{}));
}

TEST_F(LookupTest, ChoosingMakesTheRowCurrentBeforeTheChangeEvent) {
  table.Open();
  moves = 0;
  emit combo.activated(3);  // the drop-down's third record
  EXPECT_EQ(std::tuple(table.CurrentRow(), combo.Text(), changes, moves),
            std::tuple(2, QString("8 GHz"), std::vector<std::string>{"8 GHz@2"}, 1));
  // The title row is no choice; choosing the shown row again changes nothing.
  emit combo.activated(0);
  emit combo.activated(3);
  EXPECT_EQ(std::pair(changes.size(), moves), std::pair(size_t{1}, 1));
  // Keys move through the records.
  QTest::keyClick(&combo, Qt::Key_Down);
  QTest::keyClick(&combo, Qt::Key_Down);
  EXPECT_EQ(table.CurrentRow(), 4);
  QTest::keyClick(&combo, Qt::Key_Down);  // already on the last
  QTest::keyClick(&combo, Qt::Key_Home);
  EXPECT_EQ(std::pair(changes, combo.currentText()),
            std::pair(std::vector<std::string>{"8 GHz@2", "9 GHz@3", "10 GHz@4", "6 GHz@0"},
                      QString("6 GHz")));
}

TEST_F(LookupTest, ShowValuePositionsTheTableAndRaisesTheChange) {
  combo.ShowValue("8 GHz");  // closed: nothing
  EXPECT_TRUE(changes.empty());
  table.SetRows({{"A", "7 GHz", ""}, {"B", "8 GHz", ""}, {"C", "8 GHz", ""}});
  table.Open();
  moves = 0;
  combo.ShowValue("8 GHz");  // the first row with the value
  EXPECT_EQ(std::pair(table.CurrentRow(), changes),
            std::pair(1, std::vector<std::string>{"8 GHz@1"}));
  combo.ShowValue("8 GHz");  // already shown
  EXPECT_EQ(changes.size(), 1u);
  // Shown text and table stay apart: a reopen keeps the text and raises nothing.
  table.Close();
  table.Open();
  EXPECT_EQ(std::tuple(combo.Text(), combo.currentText(), changes.size()),
            std::tuple(QString("8 GHz"), QString("8 GHz"), size_t{1}));
  // A value on the current row shows without moving the table again.
  table.SetRecNo(1);
  moves = 0;
  combo.ShowValue("7 GHz");
  EXPECT_EQ(std::pair(moves, combo.Text()), std::pair(0, QString("7 GHz")));
  // A value no row holds is shown, the table stays.
  combo.ShowValue("99 GHz");
  EXPECT_EQ(std::pair(table.CurrentRow(), changes.back()), std::pair(0, std::string("99 GHz@0")));
  combo.SetText("");
  EXPECT_EQ(std::pair(changes.back(), combo.currentText()),
            std::pair(std::string("@0"), QString()));
}

// ---------------------------------------------------------------- navigator and boxes

TEST_F(DataControlsTest, NavigatorButtonsFollowTheEndsOfTheTable) {
  TRecordNavigator nav;
  nav.resize(228, 25);
  nav.show();
  nav.SetDataSet(&table);
  using enum TRecordNavigator::TNavigateBtn;
  auto enabled = [&] {
    std::string s;
    for (auto b : {nbFirst, nbPrior, nbNext, nbLast})
      s += nav.Button(b)->isEnabled() ? "1" : "0";
    return s;
  };
  EXPECT_EQ(enabled(), "0000");  // closed
  // The darkest pixel of a button's arrow, which lies in the middle of it.
  auto glyph = [&](TRecordNavigator::TNavigateBtn b) {
    const QImage image = nav.Button(b)->grab().toImage();
    int darkest = 255;
    for (int y = image.height() / 2 - 6; y < image.height() / 2 + 6; ++y)
      for (int x = image.width() / 2 - 6; x < image.width() / 2 + 6; ++x)
        darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return darkest;
  };
  // Disabled, an arrow is greyed as a disabled button's caption is.
  const int greyed = qGray(nav.palette().color(QPalette::Disabled, QPalette::ButtonText).rgb());
  EXPECT_NEAR(glyph(nbFirst), greyed, 8);
  table.Open();
  EXPECT_LT(glyph(nbLast), 60);
  EXPECT_EQ(enabled(), "0011");
  nav.Button(nbNext)->click();
  EXPECT_EQ(std::pair(table.CurrentRow(), enabled()), std::pair(1, std::string("1111")));
  nav.Button(nbLast)->click();
  EXPECT_EQ(std::pair(table.CurrentRow(), enabled()), std::pair(4, std::string("1100")));
  nav.Button(nbFirst)->click();
  EXPECT_EQ(enabled(), "0011");
  // Stepping past the last record by Next: the end flag comes without a
  // notification, and the button still turns off.
  table.SetRecNo(5);
  EXPECT_EQ(enabled(), "1111");
  nav.Button(nbNext)->click();
  EXPECT_EQ(enabled(), "1100");
  table.Close();
  EXPECT_EQ(enabled(), "0000");
  EXPECT_EQ(std::pair(nav.Button(nbFirst)->geometry(), nav.Button(nbLast)->geometry()),
            std::pair(QRect(0, 0, 57, 25), QRect(171, 0, 57, 25)));
}

TEST_F(DataControlsTest, BoundBoxesFollowTheCurrentRecord) {
  TFieldText text;
  text.SetDataSet(&table);
  text.SetDataField("PartNum");
  text.SetAutoSize(true);
  TFieldEdit edit;
  edit.SetDataSet(&table);
  edit.SetDataField("FREQ");
  TFieldMemo memo;
  memo.SetDataSet(&table);
  memo.SetDataField("Flange");
  auto shown = [&] { return QStringList{text.text(), edit.text(), memo.toPlainText()}; };
  EXPECT_EQ(std::pair(edit.isReadOnly(), memo.isReadOnly()), std::pair(true, true));
  EXPECT_EQ(shown(), QStringList(3, ""));
  table.SetRows({{"VHP2-\xE9", "7 GHz", "CPR112G"}, {"VHP4", "8 GHz"}});
  table.Open();
  EXPECT_EQ(shown(), (QStringList{QString::fromUtf8("VHP2-\u00e9"), "7 GHz", "CPR112G"}));
  EXPECT_EQ(text.width(), text.sizeHint().width());
  table.Next();  // the memo's record is too short for its field
  EXPECT_EQ(shown(), (QStringList{"VHP4", "8 GHz", ""}));
  table.FieldByName("Freq")->SetAsString("9 GHz");
  EXPECT_EQ(edit.text(), "9 GHz");
  table.Close();
  EXPECT_EQ(shown(), QStringList(3, ""));
}

}  // namespace
