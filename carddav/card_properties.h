#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace carddav {

// One property line of a card, unfolded, with what tells it apart from the
// others when two versions of a card are compared.
struct CardProperty {
  std::string line;  // unfolded, without its line end
  std::string name;  // upper case, without a group
  // The line as its meaning: name, group, the parameters in one spelling
  // (upper case, sorted, bare types as TYPE=, the value's encoding and
  // charset left out) and the value decoded, trailing empty components of a
  // structured value dropped. Two lines that another program wrote
  // differently but that say the same have the same key.
  std::string key;
};

// The property lines of a card (CR LF or LF line ends), BEGIN and END left
// out, in their order. The card's version decides how values are decoded.
[[nodiscard]] std::vector<CardProperty> cardProperties(std::string_view card);

// The value of the card's UID line, blanks around it taken off; empty when
// it has none.
[[nodiscard]] std::string cardUid(std::string_view card);

// Properties of which a card holds one.
[[nodiscard]] bool isSingle(std::string_view name);

}  // namespace carddav
