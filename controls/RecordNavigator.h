#pragma once
// The record navigator: First, Prior, Next and Last buttons over a table. The
// first two are enabled while the table is open and not at its beginning, the
// last two while it is open and not at its end.
#include <QWidget>
#include <array>

#include "flatfile/TableLink.h"

class QToolButton;
class TTable;

class TRecordNavigator : public QWidget {
  Q_OBJECT
 public:
  enum TNavigateBtn { nbFirst = 0, nbPrior = 1, nbNext = 2, nbLast = 3 };

  explicit TRecordNavigator(QWidget* parent = nullptr);

  TTable* DataSet() const { return source_.DataSet(); }
  void SetDataSet(TTable* dataSet);

  QToolButton* Button(TNavigateBtn which) const { return buttons_[which]; }
  // Runs a button's move as a click does.
  void BtnClick(TNavigateBtn which);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void UpdateButtons();
  // Draws the arrows in the buttons' caption colours, enabled and disabled.
  void PaintGlyphs();
  void ArrangeButtons();

  TTableLink source_;
  std::array<QToolButton*, 4> buttons_{};
};
