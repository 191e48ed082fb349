#pragma once

#include "addressbook/address_book.h"

namespace addressbook {

// Writes the whole store to the address file (with saveAs, or when the
// file does not exist, to the file the user picks in the save dialog): the
// search filter is emptied, the table refilled and sorted by name, the file
// as it was copied to the backups (the first time in a run, and whenever
// another program's changes are about to be written over), then the file
// replaced. A file that another program changed since it was loaded is
// written only when the user agrees (confirmOverwrite). A failed write is
// reported ("Speichern fehlgeschlagen !"); a failed or refused write leaves
// the file, the file name in use and the change mark as they were.
// Returns whether the file now holds the store.
bool saveAddressFile(AddressBook& book, const Environment& env, bool saveAs,
                     const ShowRecord& showRecord, const SortByName& sortByName);

// Before changes would be thrown away: asks whether to save them (Yes, No,
// Cancel). Returns whether the caller may go on: nothing unsaved, No, or
// Yes and the save succeeded.
bool offerToSaveChanges(AddressBook& book, const Environment& env, const ShowRecord& showRecord,
                        const SortByName& sortByName);

}  // namespace addressbook
