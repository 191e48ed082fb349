#pragma once

#include "platform/record_view.h"
#include "table/record_table.h"

namespace table {

enum class SortMode { textAscending, textDescending, dateAscending };

// Reorders the table's rows by column (1-based): texts compared after ANSI
// upper-casing, byte by byte, a text before every longer one it starts
// with; or by the date key that turns DD.MM.YYYY into YYYYMMDD. An empty
// table, a column that does not exist and a hidden column (width 0) are left
// alone. The selection stays on its record.
void sortTable(RecordTable& rows, platform::RecordView& view, int column, SortMode mode);

// Sorts the rows by name, A to Z, as a save does.
void sortByName(RecordTable& rows, platform::RecordView& view);

}  // namespace table
