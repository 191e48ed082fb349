#pragma once

#include <string>
#include <string_view>

namespace carddav {

// What a note says before a value that the server held for a property of
// which a card holds one, when the card here changed it otherwise.
inline constexpr std::string_view conflictNote = "Beim Abgleich anders auf dem Server: ";

// One card from two versions that each changed base in their own way, all
// three in the server's form (serverForm): what only one side changed comes
// through, and a value that both changed, each otherwise, is kept twice.
// Lines are compared by what they say (CardProperty::key), the server's
// order is kept, and a line that only this side added stands where the line
// it replaced stood, or before the server's lines of its property. Of a
// property of which a card holds one (N, FN, BDAY, ...) this side's value
// stays and the server's goes into the note (after conflictNote); of the
// bookkeeping ones (UID, REV, PRODID, VERSION) the server's stays. An empty
// base (the two sides met for the first time) keeps the lines of both.
[[nodiscard]] std::string mergeCards(std::string_view base, std::string_view local,
                                     std::string_view server);

}  // namespace carddav
