#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/record_store.h"

namespace addressbook {

// A card starts after this separator, wherever it stands in the text.
inline constexpr std::string_view cardSeparator = "BEGIN:VCARD\r\n";

// Number of cards in text (see findCards).
[[nodiscard]] std::size_t countCards(std::string_view text);

// Where each card of text starts, in order: at each card separator (inside
// a line too, unless the next line continues that line as a fold), and at
// each line that other programs write for it in other letter cases
// ("begin:vcard", "BEGIN:vCard"), a byte-order mark before the first line
// aside.
[[nodiscard]] std::vector<std::size_t> findCards(std::string_view text);

// Reads the cards of a text into a new store, as many at a time as the
// caller asks, so that a long read can show its progress and stop between
// steps. A card of the program's own lines (see ownField) is read as the
// program writes it: lines unfolded, values taken after the first ":", with
// UTF-8 letters converted and birthdays in display form, and for a key
// given twice the last line counts. Any other card is read by its
// properties (see readCardFields) and its text kept in the store.
class StoreReader {
 public:
  // text: line ends already normalised; separators: where findCards found
  // its cards. The store's capacity follows from the card count.
  StoreReader(std::string text, std::vector<std::size_t> separators);
  ~StoreReader();
  StoreReader(const StoreReader&) = delete;
  StoreReader& operator=(const StoreReader&) = delete;

  [[nodiscard]] std::size_t total() const { return separators_.size(); }
  [[nodiscard]] std::size_t cardsRead() const { return cardsRead_; }
  // Reads the cards up to number last (counted from 1, at most total) into
  // slots of the same numbers.
  void readThrough(std::size_t last);
  // The store, with the cards read so far.
  [[nodiscard]] RecordStore takeStore();

 private:
  class CardReader;

  RecordStore store_;
  std::string_view text_;
  std::vector<std::size_t> separators_;
  std::size_t cardsRead_ = 0;
  std::unique_ptr<CardReader> reader_;
};

// Reads every card of text (its line ends normalised) with the separators
// that findCards gave for it.
[[nodiscard]] RecordStore readCards(std::string text, std::vector<std::size_t> separators);

// Reads the first cardCount cards of text (its line ends normalised).
[[nodiscard]] RecordStore readCards(std::string text, std::size_t cardCount);

}  // namespace addressbook
