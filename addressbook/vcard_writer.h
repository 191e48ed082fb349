#pragma once

#include <string>
#include <string_view>

#include "addressbook/record_store.h"

namespace addressbook {

// A new address file: one empty card, so that reading it finds a card and
// gives a store with room for new records.
inline constexpr std::string_view emptyAddressFileText = "BEGIN:VCARD\r\nEND:VCARD\r\n\r\n";

// The bytes of the address file for the store: one card per slot that holds
// a record, in slot order. A card that another program wrote goes back as it
// came, changed only where the record changed (appendKeptCard). Any other
// card is "BEGIN:VCARD", its non-empty fields in field table order as key
// ":" value, "END:VCARD", every line ended by CR LF; birthdays in file form,
// values longer than 70 bytes folded after bytes 69, 136, 203, ... Nothing
// stands before the first card or after the last; a store without records
// gives no bytes at all.
[[nodiscard]] std::string addressFileText(const RecordStore& store);

// What a save writes: addressFileText, or for a store without records the
// empty card of a new file (a file without cards could not be loaded again,
// and the store read from it would have no room for a new record).
[[nodiscard]] std::string savedFileText(const RecordStore& store);

}  // namespace addressbook
