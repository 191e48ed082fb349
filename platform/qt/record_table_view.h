#pragma once

#include <QColor>
#include <QTableView>

namespace platform::qt {

// The record table as the list of a Windows report view behaves: whole rows,
// one at a time, grid lines, the selection still shown when the table has no
// focus, rows of one height (so a million of them scroll as easily as ten),
// no editing, no sorting of its own, and a click below the last row clears
// the selection. Tab leaves the table instead of moving between cells.
class RecordTableView : public QTableView {
 public:
  RecordTableView(QColor background, QWidget* parent);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void fitRowHeight();
};

}  // namespace platform::qt
