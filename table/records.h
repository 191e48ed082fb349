#pragma once

#include <cstddef>

#include "addressbook/record_store.h"
#include "table/record_table.h"

namespace table {

// The records in use, the rows of the table that shows them, and what the
// edit fields and the row label show of them.
struct Records {
  addressbook::RecordStore store;
  RecordTable table{store};
  // Applied edits that the file does not have yet.
  bool changed = false;
  // True while a load, a fill or the list runs and lets events through;
  // commands and the filter step of the timer wait until it is false again.
  bool busy = false;
  // The slot whose record the edit fields show (0: none).
  std::size_t shownSlot = 0;
  // The row number the row label shows.
  int labelledRow = 0;
};

}  // namespace table
