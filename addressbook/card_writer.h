#pragma once

#include <cstddef>
#include <string>

#include "addressbook/record_store.h"

namespace addressbook {

// Appends the card of slot, which holds more than the program's own lines
// (RecordStore::card), as it came: byte for byte while no field of the slot
// changed; else with the value of each changed field's line replaced (its
// group, name, parameters and place kept, the value in the line's own
// encoding), the line of an emptied field left out, and a line in the
// program's own spelling for a field that had none, after the card's last
// line of the kinds before it in the field table. When the name changed,
// an FN line follows it (given name, a blank, name).
void appendKeptCard(std::string& out, const RecordStore& store, std::size_t slot);

}  // namespace addressbook
