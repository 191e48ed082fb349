#pragma once

#include "addressbook/address_book.h"

namespace table {

// The text of a field or cell that the editing commands take or write.
inline constexpr std::size_t maxCellLength = 259;

// Copies the edit fields into the selected row and its record: name and
// given name as "name;given name", the numbers, the e-mail address, the notes
// (line breaks held as 0x07) and, when day, month or year is filled and every
// check passes, the birthday. Each failing check of the birthday shows its
// message; the other fields are applied all the same. Without a selected row
// nothing is written and the user is told.
void applyEdits(addressbook::AddressBook& book, const addressbook::Environment& env);

// Asks whether to delete the selected record and, on Yes, empties its name
// and saves the address book. Should that save not happen, the row stays and
// goes on showing the record as it was until the next fill.
void deleteRecord(addressbook::AddressBook& book, const addressbook::Environment& env,
                  const addressbook::ShowRecord& showRecord,
                  const addressbook::SortByName& sortByName);

// Adds a row for the first free slot, empty or (duplicate) with the selected
// row's fields, selects it, shows it and puts the caret into the name field.
// The slot stays taken while the table shows the row.
void newRecord(addressbook::AddressBook& book, const addressbook::Environment& env, bool duplicate,
               const addressbook::ShowRecord& showRecord);

}  // namespace table
