#pragma once

#include <string>

#include "addressbook/record_store.h"

namespace addressbook {

// The bytes of the address file for the store: one card per slot that holds
// a record, in slot order, each "BEGIN:VCARD", its non-empty fields in field
// table order as key ":" value, "END:VCARD", every line ended by CR LF.
// Birthdays are written in file form; values longer than 70 bytes are folded
// after bytes 69, 136, 203, ... Nothing stands before the first card or after
// the last; a store without records gives no bytes at all.
[[nodiscard]] std::string addressFileText(const RecordStore& store);

}  // namespace addressbook
