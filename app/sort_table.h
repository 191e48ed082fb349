#pragma once

#include "addressbook/record_table.h"
#include "platform/window.h"

namespace app {

enum class SortMode { textAscending, textDescending, dateAscending };

// Reorders the table's rows by column (1-based): texts compared after ANSI
// upper-casing, byte by byte, a text before every longer one it starts
// with; or by the date key that turns DD.MM.YYYY into YYYYMMDD. An empty
// table, a column that does not exist and a hidden column (width 0) are left
// alone. The selection stays on its record.
void sortTable(addressbook::RecordTable& rows, platform::Window& window, int column, SortMode mode);

}  // namespace app
