#include "table/fill.h"

#include "addressbook/record_filter.h"
#include "table/progress.h"
#include "table/record_display.h"
#include "text/cp1252.h"

namespace table {

void fillTable(Records& records, const Screen& screen, std::string_view filter,
               std::string_view file) {
  BusyGuard busy(records);
  std::string upperFilter = text::cp1252::toUpper(filter);
  records.table.clear();
  screen.view.reset();
  ProgressDisplay display(screen, file);
  records.table.setSlots(addressbook::filterRecords(
      records.store, upperFilter, [&](std::size_t examined, std::size_t capacity) {
        return display.update(examined, capacity, false);
      }));
  std::size_t capacity = records.store.hasSlots() ? records.store.capacity() : 0;
  display.update(capacity, capacity, true);
  screen.view.reset();
  screen.view.selectRow(records.table.rowCount() > 0 ? 1 : 0);
  showRecord(records, screen, 1);
}

}  // namespace table
