#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QTableView>

#include "platform/qt/record_table_model.h"

namespace platform::qt {

// The record table as the list of a Windows report view behaves: whole rows,
// one at a time, grid lines, the selection still shown when the table has no
// focus, rows of one height (so a million of them scroll as easily as ten),
// no editing, no sorting of its own, and a click below the last row clears
// the selection. Tab leaves the table instead of moving between cells.
// Letters typed into it go where the record table's type-ahead rule says.
// It owns the model of the rows it shows.
class RecordTableView : public QTableView {
 public:
  RecordTableView(RecordTableModel& model, QColor background, QWidget* parent);

  void keyboardSearch(const QString& search) override;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void fitRowHeight();

  const RecordTableModel& rows_;
  // The letters of the search going on, and since when the last one came.
  QString typed_;
  QElapsedTimer sinceTyped_;
};

}  // namespace platform::qt
