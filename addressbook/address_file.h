#pragma once

#include <string>
#include <string_view>

#include "addressbook/address_book.h"

namespace addressbook {

inline constexpr std::size_t maxPathLength = 299;

// A path cut to the length the program keeps.
[[nodiscard]] std::string cutPath(std::string path);

// The open or save dialog for an address file: the vCard filter, the suffix
// "vcf", starting at the file in use with its name proposed.
[[nodiscard]] platform::FileDialogRequest addressFileDialog(std::string title,
                                                            std::string_view currentFile);

// Loads the address file named in the configuration (with askForFile, the
// one the user picks in the open dialog) into a new store and fills the
// table. A missing configured file falls back to myadr.vcf in the current
// folder, created with one empty card when it is missing too. A missing file
// ("File ?") or one without cards ("No Vcards !!") is reported with its path
// and leaves store and table as they were. After a load, conflict copies of
// the file are reported (reportConflictCopies).
void loadAddressFile(AddressBook& book, const Environment& env, bool askForFile,
                     const ShowRecord& showRecord);

// Reads the address file in use again, as a load does but without asking
// for it or falling back to another file; a file that still holds the bytes
// of the last load or save is left at that. Returns whether the store and
// the table were refilled.
bool reloadAddressFile(AddressBook& book, const Environment& env, const ShowRecord& showRecord);

// Shows the records that pass the search filter (the upper-cased text of the
// filter field) in the table, selects row 1 and shows it.
void fillTable(AddressBook& book, const Environment& env, const ShowRecord& showRecord);

}  // namespace addressbook
