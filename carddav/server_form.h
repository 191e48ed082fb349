#pragma once

#include <string>
#include <string_view>

namespace carddav {

// The card as CardDAV servers take it: vCard 3.0 (a card of 4.0 stays 4.0),
// UTF-8, types as TYPE= parameters, text values escaped, with an FN and a
// UID (uid where the card has none), CR LF line ends. Every property is kept.
// card: a card of the address file, from its BEGIN line to its END line.
[[nodiscard]] std::string serverForm(std::string_view card, std::string_view uid);

// The card as the address file keeps it: CR LF line ends (servers often
// answer with LF only), ending in its END line's line end.
[[nodiscard]] std::string fileForm(std::string_view card);

}  // namespace carddav
