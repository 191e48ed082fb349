#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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

// Appends address cards as other programs write them: CR LF line ends,
// VERSION, N, FN, the four telephone types, EMAIL, BDAY in both file forms,
// NOTE (some long and folded), ADR and ORG on some cards; about a fifth of
// the names carry umlauts, mostly as Windows-1252 bytes, some as UTF-8, and
// about one card in a hundred is a Müller (in either form, or upper case).
// About 250 bytes a card.
class AddressBookGenerator {
 public:
  explicit AddressBookGenerator(std::uint64_t seed = defaultSeed) : random_(seed) {}
  void appendCard(std::string& out);

 private:
  void appendDigits(std::string& out, std::size_t count);
  void appendNote(std::string& out);

  Random random_;
};

// A whole address book of cards cards in memory.
[[nodiscard]] std::string makeAddressBook(std::size_t cards, std::uint64_t seed = defaultSeed);

// Writes the address book of makeAddressBook(cards, seed) to path in pieces;
// returns its size in bytes, or 0 when the file could not be written.
std::uint64_t writeAddressBook(const std::string& path, std::size_t cards,
                               std::uint64_t seed = defaultSeed);

}  // namespace bench
