#pragma once

#include <string>

#include "addressbook/address_book.h"

namespace table {

// What the timer last acted on.
struct TickState {
  int lastCount = 0;
  int lastSelectedRow = 0;
  // The slot whose record the edit fields show (0: none).
  std::size_t lastShownSlot = 0;
  std::string lastFilterText;
};

inline constexpr std::size_t maxFilterLength = 259;

// Brings the row label and the edit fields in line with the selection: the
// label follows the selected row number, and the fields are filled again
// whenever the selected row shows another record than they do (a row that
// a sort or refill moved under the selection counts too), but not for the
// record they already show, so typing after New is never wiped out.
void followSelection(TickState& state, const addressbook::AddressBook& book,
                     const addressbook::Environment& env,
                     const addressbook::ShowRecord& showRecord);

// One timer tick: writes the row count to the status bar when it changed,
// follows the selection, and refills the table when the search filter
// changed (not while a load or fill is running; a later tick catches up):
// from the file when another program changed it and nothing is unsaved,
// else from the store.
void timerTick(TickState& state, addressbook::AddressBook& book,
               const addressbook::Environment& env, const addressbook::ShowRecord& showRecord);

}  // namespace table
