#pragma once

#include <string>

#include "addressbook/address_book.h"

namespace table {

// What the timer last acted on.
struct TickState {
  int lastCount = 0;
  int lastSelectedRow = 0;
  std::string lastFilterText;
};

inline constexpr std::size_t maxFilterLength = 259;

// One timer tick: writes the row count to the status bar when it changed,
// shows a newly selected row, and refills the table from the store when the
// search filter changed (not while a load or fill is running; a later tick
// catches up).
void timerTick(TickState& state, addressbook::AddressBook& book, const addressbook::Environment& env,
               const addressbook::ShowRecord& showRecord);

}  // namespace table
