#include "platform/win32/record_list_view.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/type_ahead.h"
#include "platform/win32/dpi.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {

RecordListView::RecordListView(HWND parent, ControlId id, std::string_view windowText,
                               COLORREF background)
    : view_(CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, toWide(windowText).c_str(),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                                LVS_SHOWSELALWAYS | LVS_OWNERDATA,
                            0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(toInt(id))),
                            GetModuleHandleW(nullptr), nullptr)) {
  DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER;
  SendMessageW(view_, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  SendMessageW(view_, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(background));
  SendMessageW(view_, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(background));
}

int RecordListView::columnCount() const {
  HWND header = reinterpret_cast<HWND>(SendMessageW(view_, LVM_GETHEADER, 0, 0));
  return header == nullptr ? 0 : static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
}

void RecordListView::setColumns(std::span<const TableColumn> columns, int dpi) {
  for (int i = columnCount() - 1; i >= 0; --i) SendMessageW(view_, LVM_DELETECOLUMN, i, 0);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    std::wstring title = toWide(columns[i].title);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = scaled(std::max(columns[i].width, 0), dpi);
    column.pszText = title.data();
    column.iSubItem = static_cast<int>(i);
    SendMessageW(view_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

int RecordListView::columnWidth(int column, int dpi) const {
  if (column < 1 || column > columnCount()) return 0;
  auto width = static_cast<int>(SendMessageW(view_, LVM_GETCOLUMNWIDTH, column - 1, 0));
  return unscaled(width, dpi);
}

void RecordListView::rescale(int oldDpi, int newDpi) {
  for (int column = 0; column < columnCount(); ++column) {
    auto width = static_cast<int>(SendMessageW(view_, LVM_GETCOLUMNWIDTH, column, 0));
    SendMessageW(view_, LVM_SETCOLUMNWIDTH, column,
                 MAKELPARAM(scaled(unscaled(width, oldDpi), newDpi), 0));
  }
}

int RecordListView::contentRows() const { return content_ ? content_->rowCount() : 0; }

void RecordListView::setContent(const TableContent* content) {
  content_ = content;
  reset();
}

void RecordListView::reset() {
  LVITEMW none{};
  none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(view_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  SendMessageW(view_, LVM_SETITEMCOUNT, contentRows(), LVSICF_NOSCROLL);
  InvalidateRect(view_, nullptr, TRUE);
}

void RecordListView::rowsAppended() {
  int shown = static_cast<int>(SendMessageW(view_, LVM_GETITEMCOUNT, 0, 0));
  int rows = contentRows();
  if (rows < shown) {
    reset();  // the content shrank without saying so: start afresh
    return;
  }
  SendMessageW(view_, LVM_SETITEMCOUNT, rows, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
}

void RecordListView::rowChanged(int row) {
  int shown = static_cast<int>(SendMessageW(view_, LVM_GETITEMCOUNT, 0, 0));
  if (row < 1 || row > shown) return;
  SendMessageW(view_, LVM_REDRAWITEMS, row - 1, row - 1);
}

int RecordListView::selectedRow() const {
  auto index = static_cast<int>(
      SendMessageW(view_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  return index < 0 ? 0 : index + 1;
}

void RecordListView::selectRow(int row) {
  LVITEMW none{};
  none.stateMask = LVIS_SELECTED;
  if (row == 0) {
    SendMessageW(view_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    return;
  }
  int shown = static_cast<int>(SendMessageW(view_, LVM_GETITEMCOUNT, 0, 0));
  if (row < 1 || row > shown) return;
  SendMessageW(view_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  // Selecting does not scroll; scrollToRow does.
  LVITEMW selected{};
  selected.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  selected.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(view_, LVM_SETITEMSTATE, row - 1, reinterpret_cast<LPARAM>(&selected));
}

void RecordListView::scrollToRow(int row) {
  int shown = static_cast<int>(SendMessageW(view_, LVM_GETITEMCOUNT, 0, 0));
  if (row < 1 || row > shown) return;
  SendMessageW(view_, LVM_ENSUREVISIBLE, row - 1, FALSE);
}

// The view asks for this when letters are typed into it, with all letters
// of the search so far; where they lead is the record table's rule, from
// the row that has the focus. Other kinds of search find nothing.
int RecordListView::find(const NMLVFINDITEMW& search) const {
  if (content_ == nullptr || (search.lvfi.flags & LVFI_PARTIAL) == 0 ||
      search.lvfi.psz == nullptr) {
    return -1;
  }
  auto focused =
      static_cast<int>(SendMessageW(view_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  int shown = static_cast<int>(SendMessageW(view_, LVM_GETITEMCOUNT, 0, 0));
  int row = typeAheadRow(*content_, focused + 1, fromWide(search.lvfi.psz));
  return row >= 1 && row <= shown ? row - 1 : -1;
}

std::optional<LRESULT> RecordListView::notify(
    NMHDR& header, const std::function<void(int column)>& columnClicked) {
  if (header.hwndFrom != view_) return std::nullopt;
  if (header.code == LVN_ODFINDITEMW) {
    return find(reinterpret_cast<const NMLVFINDITEMW&>(header));
  }
  if (header.code == LVN_GETDISPINFOW) {
    // The view reads the answer back from its own record.
    auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
    if ((info.item.mask & LVIF_TEXT) != 0) {
      int row = info.item.iItem + 1;
      // The content may already have lost rows that the view still shows
      // until it is told; such cells are empty rather than read out of range.
      cellText_ = row <= contentRows() ? toWide(content_->cell(row, info.item.iSubItem + 1))
                                       : std::wstring();
      info.item.pszText = cellText_.data();
    }
  } else if (header.code == LVN_COLUMNCLICK) {
    const auto& click = reinterpret_cast<const NMLISTVIEW&>(header);
    columnClicked(click.iSubItem + 1);
  }
  return 0;
}

}  // namespace platform::win32
