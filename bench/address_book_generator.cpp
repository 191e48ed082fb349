#include "bench/address_book_generator.h"

#include <array>
#include <cstdio>
#include <memory>
#include <string_view>

namespace bench {

namespace {

using namespace std::string_view_literals;

// Windows-1252 bytes; a hex escape is closed by splitting the literal where a
// hex digit follows it.
constexpr std::array familyNames{
    "Meier"sv,   "Schmidt"sv,    "Schneider"sv, "Fischer"sv,   "Weber"sv,  "Wagner"sv, "Becker"sv,
    "Schulz"sv,  "Hoffmann"sv,   "Koch"sv,      "Richter"sv,   "Klein"sv,  "Wolf"sv,   "Neumann"sv,
    "Schwarz"sv, "Zimmermann"sv, "Braun"sv,     "Hartmann"sv,  "Lange"sv,  "Werner"sv, "Krause"sv,
    "Lehmann"sv, "Schmid"sv,     "Maier"sv,     "Kaiser"sv,    "Fuchs"sv,  "Peters"sv, "Scholz"sv,
    "Jung"sv,    "Hahn"sv,       "Vogel"sv,     "Friedrich"sv, "Keller"sv, "Berger"sv, "Winkler"sv,
    "Roth"sv,    "Beck"sv,       "Lorenz"sv,    "Baumann"sv,   "Franke"sv,
};

constexpr std::array umlautFamilyNames{
    "J\xE4ger"sv,
    "K\xF6hler"sv,
    "Sch\xE4"
    "fer"sv,
    "Kr\xFCger"sv,
    "Gro\xDF"sv,
    "Schr\xF6"
    "der"sv,
    "B\xF6hm"sv,
    "G\xFCnther"sv,
    "D\xFCrr"sv,
    "Wei\xDF"sv,
    "H\xE4usler"sv,
    "L\xF6we"sv,
    "M\xF6ller"sv,
    "Sch\xFCtz"sv,
};

constexpr std::array utf8FamilyNames{
    "Schr\xC3\xB6"
    "der"sv,
    "Kr\xC3\xBCger"sv,
    "G\xC3\xBCnther"sv,
    "M\xC3\xB6ller"sv,
    "J\xC3\xA4ger"sv,
    "Gro\xC3\x9F"sv,
};

// The names that the filter MÜLLER finds.
constexpr std::array muellerNames{
    "M\xFCller"sv,
    "M\xC3\xBCller"sv,
    "M\xDCLLER"sv,
    "M\xFCller-L\xFC"
    "denscheidt"sv,
};

constexpr std::array givenNames{
    "Anna"sv,   "Hans"sv,    "Peter"sv,   "Maria"sv,     "Klaus"sv,    "Ursula"sv,
    "Thomas"sv, "Sabine"sv,  "Michael"sv, "Petra"sv,     "Andreas"sv,  "Monika"sv,
    "Stefan"sv, "Claudia"sv, "Frank"sv,   "Karin"sv,     "Wolfgang"sv, "Susanne"sv,
    "Markus"sv, "Julia"sv,   "Tobias"sv,  "Katharina"sv, "Jan"sv,      "Lena"sv,
};

constexpr std::array umlautGivenNames{
    "J\xFCrgen"sv, "Bj\xF6rn"sv, "J\xF6rg"sv, "Ren\xE9"sv, "G\xFCnter"sv, "K\xE4the"sv,
};

constexpr std::array mailNames{
    "anna"sv, "hans"sv, "peter"sv, "maria"sv, "klaus"sv, "info"sv, "post"sv, "kontakt"sv,
};

constexpr std::array mailDomains{
    "example.de"sv,
    "example.com"sv,
    "beispiel.de"sv,
    "mail.example.org"sv,
};

constexpr std::array streets{
    "Hauptstr."sv,   "Bahnhofstr."sv, "Gartenweg"sv,      "Schulstr."sv,
    "Lindenallee"sv, "Kirchplatz"sv,  "Am M\xFChlbach"sv, "Goethestr."sv,
};

constexpr std::array cities{
    "Berlin"sv,    "Hamburg"sv,       "M\xFCnchen"sv, "K\xF6ln"sv, "Frankfurt"sv,
    "Stuttgart"sv, "D\xFCsseldorf"sv, "Leipzig"sv,    "Dresden"sv, "N\xFCrnberg"sv,
};

constexpr std::array companies{
    "Meier & S\xF6hne GmbH"sv,
    "Stadtwerke"sv,
    "Autohaus Weber KG"sv,
    "Praxis Dr. Klein"sv,
    "B\xE4"
    "ckerei Schulz"sv,
    "Ingenieurb\xFCro Hahn"sv,
};

constexpr std::array notePhrases{
    "Geburtstag nicht vergessen"sv,
    "ruft meist abends an"sv,
    "Tennisclub"sv,
    "Nachbar von Anna"sv,
    "Schl\xFCssel hat Peter"sv,
    "bitte nur mobil"sv,
    "alte Nummer abgemeldet"sv,
    "Weihnachtskarte"sv,
    "Kollege aus M\xFCnchen"sv,
    "trifft sich donnerstags"sv,
    "Rechnung offen"sv,
    "Gr\xFC\xDF"
    "e an die Familie"sv,
};

template <typename Array>
std::string_view pick(Random& random, const Array& names) {
  return names[random.below(names.size())];
}

}  // namespace

std::uint64_t Random::next() {
  state_ += 0x9E3779B97F4A7C15ULL;
  std::uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

void AddressBookGenerator::appendDigits(std::string& out, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) out += static_cast<char>('0' + random_.below(10));
}

void AddressBookGenerator::appendNote(std::string& out) {
  std::string note;
  if (random_.chance(8)) {
    // A long note, folded as the writing program did: 75 bytes a line, each
    // continuation line starting with a blank.
    std::size_t length = 150 + random_.below(250);
    while (note.size() < length) note.append(pick(random_, notePhrases)).append(", ");
    out.append("NOTE:");
    std::size_t lineRoom = 70;
    for (std::size_t at = 0; at < note.size(); at += lineRoom, lineRoom = 74) {
      if (at > 0) out.append("\r\n ");
      out.append(std::string_view(note).substr(at, lineRoom));
    }
    out.append("\r\n");
    return;
  }
  note.append(pick(random_, notePhrases));
  if (random_.chance(40)) note.append("; ").append(pick(random_, notePhrases));
  out.append("NOTE:").append(note).append("\r\n");
}

void AddressBookGenerator::appendCard(std::string& out) {
  std::string_view family;
  std::size_t kind = random_.below(100);
  if (kind < 1) {
    family = pick(random_, muellerNames);
  } else if (kind < 4) {
    family = pick(random_, utf8FamilyNames);
  } else if (kind < 14) {
    family = pick(random_, umlautFamilyNames);
  } else {
    family = pick(random_, familyNames);
  }
  std::string_view given =
      random_.chance(7) ? pick(random_, umlautGivenNames) : pick(random_, givenNames);

  out.append("BEGIN:VCARD\r\nVERSION:2.1\r\n");
  out.append("N:").append(family).append(";").append(given).append("\r\n");
  out.append("FN:").append(given).append(" ").append(family).append("\r\n");
  if (random_.chance(85)) {
    out.append("TEL;WORK;VOICE:+49 ");
    appendDigits(out, 2 + random_.below(3));
    out.append(" ");
    appendDigits(out, 5 + random_.below(4));
    out.append("\r\n");
  }
  if (random_.chance(75)) {
    out.append("TEL;HOME:0");
    appendDigits(out, 2 + random_.below(3));
    out.append(" ");
    appendDigits(out, 5 + random_.below(4));
    out.append("\r\n");
  }
  if (random_.chance(70)) {
    out.append("TEL;CELL:01");
    appendDigits(out, 2);
    out.append(" ");
    appendDigits(out, 7 + random_.below(2));
    out.append("\r\n");
  }
  if (random_.chance(30)) {
    out.append("TEL;FAX:0");
    appendDigits(out, 2 + random_.below(3));
    out.append(" ");
    appendDigits(out, 5 + random_.below(4));
    out.append("\r\n");
  }
  if (random_.chance(80)) {
    out.append("EMAIL;INTERNET:").append(pick(random_, mailNames));
    appendDigits(out, 1 + random_.below(4));
    out.append("@").append(pick(random_, mailDomains)).append("\r\n");
  }
  if (random_.chance(75)) {
    out.append("BDAY:19");
    out += static_cast<char>('3' + random_.below(7));
    appendDigits(out, 1);
    std::size_t month = 1 + random_.below(12);
    std::size_t day = 1 + random_.below(28);
    out += '-';
    out += static_cast<char>('0' + month / 10);
    out += static_cast<char>('0' + month % 10);
    out += '-';
    out += static_cast<char>('0' + day / 10);
    out += static_cast<char>('0' + day % 10);
    if (random_.chance(50)) {
      std::size_t hour = random_.below(24);
      std::size_t minute = random_.below(60);
      out += 'T';
      out += static_cast<char>('0' + hour / 10);
      out += static_cast<char>('0' + hour % 10);
      out += ':';
      out += static_cast<char>('0' + minute / 10);
      out += static_cast<char>('0' + minute % 10);
    }
    out.append("\r\n");
  }
  if (random_.chance(65)) appendNote(out);
  if (random_.chance(40)) {
    out.append("ADR;HOME:;;").append(pick(random_, streets)).append(" ");
    appendDigits(out, 1 + random_.below(2));
    out.append(";").append(pick(random_, cities)).append(";;");
    appendDigits(out, 5);
    out.append(";Deutschland\r\n");
  }
  if (random_.chance(30)) out.append("ORG:").append(pick(random_, companies)).append("\r\n");
  out.append("END:VCARD\r\n");
}

std::string makeAddressBook(std::size_t cards, std::uint64_t seed) {
  AddressBookGenerator generator(seed);
  std::string out;
  out.reserve(cards * 260);
  for (std::size_t i = 0; i < cards; ++i) generator.appendCard(out);
  return out;
}

std::uint64_t writeAddressBook(const std::string& path, std::size_t cards, std::uint64_t seed) {
  struct Close {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, Close> file(std::fopen(path.c_str(), "wb"));
  if (!file) return 0;
  AddressBookGenerator generator(seed);
  constexpr std::size_t chunk = 1 << 20;
  std::string buffer;
  buffer.reserve(chunk + 4096);
  std::uint64_t written = 0;
  for (std::size_t i = 0; i < cards; ++i) {
    generator.appendCard(buffer);
    if (buffer.size() >= chunk || i + 1 == cards) {
      if (std::fwrite(buffer.data(), 1, buffer.size(), file.get()) != buffer.size()) return 0;
      written += buffer.size();
      buffer.clear();
    }
  }
  if (std::fclose(file.release()) != 0) return 0;
  return written;
}

}  // namespace bench
