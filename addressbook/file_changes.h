#pragma once

#include "addressbook/address_book.h"

namespace addressbook {

// Whether a write of the address file may go ahead, and over what.
enum class Overwrite {
  unchanged,  // the file holds what this window loaded or saved, or is another file
  confirmed,  // another program's changes, which the user agreed to write over
  refused,    // the user keeps the other program's changes
};

// Before the file that this window loaded or saved last is written to: when
// it no longer holds those bytes (another program or window changed,
// replaced or removed it), asks whether to write anyway ("Datei ge\xE4ndert",
// Yes or No, No the default). Any other file may always be written.
[[nodiscard]] Overwrite confirmOverwrite(const AddressBook& book, const Environment& env,
                                         std::string_view target);

// Reloads the address file when its stamp shows that it changed since this
// window loaded, saved or last looked at it, and the window holds no unsaved
// changes (those are kept; confirmOverwrite guards the next save). Costs one
// stamp query when nothing changed. Never while a load, fill or command
// runs. Returns whether the table was refilled.
bool reloadIfChangedOnDisk(AddressBook& book, const Environment& env, const ShowRecord& showRecord);

}  // namespace addressbook
