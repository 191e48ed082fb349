#pragma once

#include "platform/dialogs.h"
#include "table/records.h"
#include "table/screen.h"

namespace table {

// The text of a field or cell that the editing commands take or write.
inline constexpr std::size_t maxCellLength = 259;

// Copies the edit fields into the selected row and its record: name and
// given name as "name;given name", the numbers, the e-mail address, the notes
// (line breaks held as 0x07) and, when day, month or year is filled and every
// check passes, the birthday. Each failing check of the birthday shows its
// message; the other fields are applied all the same. Without a selected row
// nothing is written and the user is told.
void applyEdits(Records& records, const Screen& screen, platform::Dialogs& dialogs);

// Asks whether to delete the selected record and, on Yes, empties its name
// and marks the records changed; returns whether it did. The row stays and
// goes on showing the record as it was until the next fill (the caller saves
// the address book at once).
bool deleteRecord(Records& records, const Screen& screen, platform::Dialogs& dialogs);

// Adds a row for the first free slot, empty or (duplicate) with the selected
// row's fields, selects it, shows it and puts the caret into the name field.
// The slot stays taken while the table shows the row.
void newRecord(Records& records, const Screen& screen, platform::Dialogs& dialogs, bool duplicate);

}  // namespace table
