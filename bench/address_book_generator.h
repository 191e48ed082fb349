#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace bench {

// A small deterministic generator (splitmix64), so that every run and every
// machine sees the same address books.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next();
  // A number from 0 to bound - 1 (bound > 0).
  std::size_t below(std::size_t bound) { return static_cast<std::size_t>(next() % bound); }
  // True in percent of the calls.
  bool chance(unsigned percent) { return below(100) < percent; }

 private:
  std::uint64_t state_;
};

inline constexpr std::uint64_t defaultSeed = 0x4D6F727669ULL;

// How the cards of a generated address book are written.
enum class CardForm {
  // As the program writes them itself: N, TEL;WORK, TEL;HOME, TEL;CELL,
  // TEL;FAX, EMAIL, BDAY, NOTE, in that order, values folded after 69
  // bytes. About 170 bytes a card.
  own,
  // As phones and servers write them: vCard 3.0 in UTF-8 with FN, UID, the
  // numbers typed with TYPE=, two addresses, the note escaped, a small
  // photo. About 1,100 bytes a card.
  phone,
};

// Appends address cards: about a fifth of the names carry umlauts, and
// about one card in a hundred is a Müller (in the phone form in UTF-8, in
// the own form in Windows-1252, some upper case).
class AddressBookGenerator {
 public:
  explicit AddressBookGenerator(CardForm form = CardForm::own, std::uint64_t seed = defaultSeed)
      : form_(form), random_(seed) {}
  void appendCard(std::string& out);

 private:
  struct Contact;
  [[nodiscard]] Contact makeContact();
  [[nodiscard]] std::string digits(std::size_t count);
  [[nodiscard]] std::string number(std::string_view prefix);
  static void appendOwn(std::string& out, const Contact& contact);
  void appendPhone(std::string& out, const Contact& contact);

  CardForm form_;
  Random random_;
};

// A whole address book of cards cards in memory.
[[nodiscard]] std::string makeAddressBook(std::size_t cards, CardForm form = CardForm::own,
                                          std::uint64_t seed = defaultSeed);

// Writes the address book of makeAddressBook(cards, form, seed) to path in
// pieces; returns its size in bytes, or 0 when the file could not be
// written.
std::uint64_t writeAddressBook(const std::string& path, std::size_t cards,
                               CardForm form = CardForm::own, std::uint64_t seed = defaultSeed);

}  // namespace bench
