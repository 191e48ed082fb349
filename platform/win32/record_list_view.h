#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/control_id.h"
#include "platform/record_view.h"
#include "platform/table_content.h"

namespace platform::win32 {

// The record table as a list view in report mode (grid lines, full-row and
// single selection, the selection shown also without the focus) in virtual
// mode: it holds no rows, only their number, and asks the TableContent for
// the cells it paints, so a million rows cost nothing to fill. Rows are
// numbered from 1.
class RecordListView {
 public:
  RecordListView(HWND parent, ControlId id, std::string_view windowText, COLORREF background);

  [[nodiscard]] HWND handle() const { return view_; }

  // Column widths are given at 100 % and kept so; the view shows them at dpi.
  void setColumns(std::span<const TableColumn> columns, int dpi);
  [[nodiscard]] int columnWidth(int column, int dpi) const;
  // Shows the column widths at a new DPI.
  void rescale(int oldDpi, int newDpi);

  void setContent(const TableContent* content);
  // The content changed wholesale: the selection is cleared, every row shown
  // again.
  void reset();
  void rowsAppended();
  void rowChanged(int row);

  [[nodiscard]] int selectedRow() const;
  void selectRow(int row);
  void scrollToRow(int row);

  // Handles a notification of the view: the cells it asks for, the row
  // that letters typed into it lead to, the left click on a column header
  // (the 1-based column goes to columnClicked). The answer for the view
  // when it was one of the view's own, nothing otherwise.
  std::optional<LRESULT> notify(NMHDR& header,
                                const std::function<void(int column)>& columnClicked);

 private:
  [[nodiscard]] int contentRows() const;
  [[nodiscard]] int columnCount() const;
  // The row index (from 0) for a search of the view, -1 for none.
  [[nodiscard]] int find(const NMLVFINDITEMW& search) const;

  HWND view_;
  const TableContent* content_ = nullptr;
  // The text of the cell last asked for: the view reads it from here.
  std::wstring cellText_;
};

}  // namespace platform::win32
