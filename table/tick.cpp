#include "table/tick.h"

#include "addressbook/address_file.h"
#include "addressbook/file_changes.h"
#include "addressbook/numbers.h"

namespace table {

using platform::ControlId;

void followSelection(TickState& state, const addressbook::AddressBook& book,
                     const addressbook::Environment& env,
                     const addressbook::ShowRecord& showRecord) {
  int selected = env.window.selectedRow();
  std::size_t slot = book.table.slotOfRow(selected);
  if (slot != state.lastShownSlot) {
    showRecord(selected);
    state.lastShownSlot = slot;
  }
  if (selected != state.lastSelectedRow) {
    state.lastSelectedRow = selected;
    env.window.setText(ControlId::rowLabel, addressbook::withNumber(" ", selected));
  }
}

void timerTick(TickState& state, addressbook::AddressBook& book,
               const addressbook::Environment& env, const addressbook::ShowRecord& showRecord) {
  int count = book.table.rowCount();
  if (count != state.lastCount) {
    state.lastCount = count;
    env.window.setStatusText(2, addressbook::withNumber("Datens\xE4tze: ", count));
  }

  followSelection(state, book, env, showRecord);

  if (book.busy) return;
  std::string filter = env.window.text(ControlId::filterEdit).substr(0, maxFilterLength);
  if (filter != state.lastFilterText) {
    state.lastFilterText = std::move(filter);
    if (!addressbook::reloadIfChangedOnDisk(book, env, showRecord))
      addressbook::fillTable(book, env, showRecord);
  }
}

}  // namespace table
