#pragma once

#include <span>
#include <string>

#include "platform/table_content.h"

namespace platform {

struct TableColumn {
  std::string title;  // Windows-1252
  int width = 0;      // pixels; 0 hides the column
};

// The record table of the main window: it shows a TableContent, row by row,
// and keeps one selected row. Rows and columns are numbered from 1.
class RecordView {
 public:
  virtual ~RecordView() = default;

  virtual void setColumns(std::span<const TableColumn> columns) = 0;
  [[nodiscard]] virtual int columnWidth(int column) const = 0;
  // The content object outlives the view's use of it.
  virtual void setContent(const TableContent& content) = 0;
  // The content changed wholesale (filled, sorted): one reset of the view.
  virtual void reset() = 0;
  virtual void rowAppended() = 0;
  virtual void rowChanged(int row) = 0;
  // First selected row, 0 when none.
  [[nodiscard]] virtual int selectedRow() const = 0;
  // Selects one row (0 clears the selection).
  virtual void selectRow(int row) = 0;
  virtual void scrollToRow(int row) = 0;
};

}  // namespace platform
