#pragma once

#include <string_view>

#include "addressbook/address_book.h"

namespace addressbook {

// Whether name, beside the file named fileName, is a conflict copy of it
// that a synchronising program made when two devices changed the file at
// once: "myadr.sync-conflict-20261207-155424-F5XLXQ4.vcf" (Syncthing),
// "myadr (conflicted copy 2026-12-07 155424).vcf" (Nextcloud),
// "myadr (Annas conflicted copy 2026-12-07).vcf" (Dropbox).
[[nodiscard]] bool isConflictCopy(std::string_view name, std::string_view fileName);

// Names in one message ("Konfliktkopie") the conflict copies beside the
// address file in use that this run has not reported yet, or that changed
// since it did.
void reportConflictCopies(AddressBook& book, const Environment& env);

}  // namespace addressbook
