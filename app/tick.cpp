#include "app/tick.h"

#include "addressbook/numbers.h"
#include "table/control_ids.h"
#include "table/record_display.h"

namespace app {

std::string filterText(const platform::Window& window) {
  return window.text(table::control::filterEdit).substr(0, maxFilterLength);
}

void timerTick(TickState& state, table::Records& records, const table::Screen& screen,
               FileCommands& files, bool mayReload) {
  int count = records.table.rowCount();
  if (count != state.lastCount) {
    state.lastCount = count;
    screen.statusBar.setText(2, addressbook::withNumber("Datens\xE4tze: ", count));
  }

  table::followSelection(records, screen);

  if (records.busy) return;
  std::string filter = filterText(screen.window);
  if (filter != state.lastFilterText) {
    state.lastFilterText = filter;
    if (!mayReload || !files.reloadIfChanged(filter)) files.fill(filter);
  }
}

}  // namespace app
