#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/record_store.h"

namespace addressbook {

// A card starts after this separator, wherever it stands in the text.
inline constexpr std::string_view cardSeparator = "BEGIN:VCARD\r\n";

// Number of card separators in text.
[[nodiscard]] std::size_t countCards(std::string_view text);

// Where each card separator of text starts, in order.
[[nodiscard]] std::vector<std::size_t> findCards(std::string_view text);

// Called now and then while cards are read, and after the last card, with the
// number of cards read so far and the card count; false stops the reading.
using ReadProgress = std::function<bool(std::size_t done, std::size_t total)>;

// Reads the cardCount cards (countCards) of text, whose line ends are
// already normalised, into slots 1 to cardCount of a new store whose
// capacity follows from the card count. Lines are unfolded
// and matched against the field table; values are taken after the first ":",
// with UTF-8 letters converted and birthdays in display form. Lines that match
// no key are ignored; for a key given twice the last line counts.
[[nodiscard]] RecordStore readCards(std::string text, std::size_t cardCount,
                                    const ReadProgress& progress = {});

// readCards with the separators that findCards gave for text.
[[nodiscard]] RecordStore readCards(std::string text, const std::vector<std::size_t>& separators,
                                    const ReadProgress& progress = {});

}  // namespace addressbook
