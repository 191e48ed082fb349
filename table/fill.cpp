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
  addressbook::RecordFilter pass(records.store, upperFilter);
  for (std::size_t step = slotsPerStep; !pass.finished(); step += slotsPerStep) {
    pass.examineBefore(step);
    if (!pass.finished() && !display.update(step, pass.capacity(), false)) break;
  }
  records.table.setSlots(pass.takeSlots());
  display.update(pass.capacity(), pass.capacity(), true);
  screen.view.reset();
  screen.view.selectRow(records.table.rowCount() > 0 ? 1 : 0);
  showRecord(records, screen, 1);
}

}  // namespace table
