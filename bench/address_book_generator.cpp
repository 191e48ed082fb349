#include "bench/address_book_generator.h"

#include <array>
#include <cstdio>
#include <memory>
#include <string_view>

#include "addressbook/file_text.h"
#include "addressbook/folding.h"
#include "text/cp1252.h"

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

struct AddressBookGenerator::Contact {
  std::string family;
  std::string given;
  std::string work, home, cell, fax;  // empty: none
  std::string email;
  int year = 0, month = 0, day = 0;  // year 0: no birthday
  int hour = -1, minute = 0;         // hour -1: no time
  std::string note;
  bool longNote = false;
  std::string street, city, zip;  // street empty: no address
  std::string company;
};

std::string AddressBookGenerator::digits(std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out += static_cast<char>('0' + random_.below(10));
  return out;
}

std::string AddressBookGenerator::number(std::string_view prefix) {
  return std::string(prefix) + digits(2 + random_.below(3)) + " " + digits(5 + random_.below(4));
}

AddressBookGenerator::Contact AddressBookGenerator::makeContact() {
  Contact c;
  std::size_t kind = random_.below(100);
  if (kind < 1) {
    c.family = pick(random_, muellerNames);
  } else if (kind < 4) {
    c.family = pick(random_, utf8FamilyNames);
  } else if (kind < 14) {
    c.family = pick(random_, umlautFamilyNames);
  } else {
    c.family = pick(random_, familyNames);
  }
  addressbook::convertUtf8Letters(c.family);  // Windows-1252, as the program holds names
  c.given = random_.chance(7) ? pick(random_, umlautGivenNames) : pick(random_, givenNames);
  if (random_.chance(85)) c.work = number("+49 ");
  if (random_.chance(75)) c.home = number("0");
  if (random_.chance(70)) c.cell = "01" + digits(2) + " " + digits(7 + random_.below(2));
  if (random_.chance(30)) c.fax = number("0");
  if (random_.chance(80)) {
    c.email = std::string(pick(random_, mailNames)) + digits(1 + random_.below(4)) + "@" +
              std::string(pick(random_, mailDomains));
  }
  if (random_.chance(75)) {
    c.year = 1930 + static_cast<int>(random_.below(70));
    c.month = 1 + static_cast<int>(random_.below(12));
    c.day = 1 + static_cast<int>(random_.below(28));
    if (random_.chance(50)) {
      c.hour = static_cast<int>(random_.below(24));
      c.minute = static_cast<int>(random_.below(60));
    }
  }
  if (random_.chance(65)) {
    c.longNote = random_.chance(8);
    std::size_t length = c.longNote ? 150 + random_.below(250) : 0;
    c.note = pick(random_, notePhrases);
    while (c.note.size() < length) c.note.append(", ").append(pick(random_, notePhrases));
    if (!c.longNote && random_.chance(40)) c.note.append("; ").append(pick(random_, notePhrases));
  }
  if (random_.chance(40)) {
    c.street = std::string(pick(random_, streets)) + " " + digits(1 + random_.below(2));
    c.city = pick(random_, cities);
    c.zip = digits(5);
  }
  if (random_.chance(30)) c.company = pick(random_, companies);
  return c;
}

namespace {

std::string twoDigits(int n) {
  return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

// A line folded as phones fold them: 75 bytes a line.
void appendPhoneLine(std::string& out, std::string_view line) {
  std::size_t room = 75;
  while (line.size() > room) {
    out.append(line.substr(0, room)).append("\r\n ");
    line.remove_prefix(room);
    room = 74;
  }
  out.append(line).append("\r\n");
}

std::string escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == ',' || c == ';' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

// A small photo: a few hundred bytes of JPEG in base64 (one of eight, told
// apart by their last characters).
std::string photo(std::size_t variant) {
  static const std::string body = [] {
    std::string text =
        "/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAgGBgcGBQgHBwcJCQgKDBQNDAsLDBkSEw8UHRofHh0a";
    constexpr std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    Random random(7);
    while (text.size() < 600) text += alphabet[random.below(alphabet.size())];
    return text;
  }();
  return body + "AAAAAAA" + static_cast<char>('A' + variant % 8) + "//Z";
}

}  // namespace

void AddressBookGenerator::appendOwn(std::string& out, const Contact& c) {
  out.append("BEGIN:VCARD\r\nN:").append(c.family).append(";").append(c.given).append("\r\n");
  if (!c.work.empty()) out.append("TEL;WORK:").append(c.work).append("\r\n");
  if (!c.home.empty()) out.append("TEL;HOME:").append(c.home).append("\r\n");
  if (!c.cell.empty()) out.append("TEL;CELL:").append(c.cell).append("\r\n");
  if (!c.fax.empty()) out.append("TEL;FAX:").append(c.fax).append("\r\n");
  if (!c.email.empty()) out.append("EMAIL:").append(c.email).append("\r\n");
  if (c.year != 0) {
    // The program writes a birthday without a time in its display form.
    out.append("BDAY:");
    if (c.hour < 0) {
      out.append(twoDigits(c.day) + "." + twoDigits(c.month) + "." + std::to_string(c.year));
    } else {
      out.append(std::to_string(c.year) + "-" + twoDigits(c.month) + "-" + twoDigits(c.day) + "T" +
                 twoDigits(c.hour) + ":" + twoDigits(c.minute));
    }
    out.append("\r\n");
  }
  if (!c.note.empty()) {
    out.append("NOTE:");
    addressbook::appendFolded(out, c.note);
    out.append("\r\n");
  }
  out.append("END:VCARD\r\n");
}

void AddressBookGenerator::appendPhone(std::string& out, const Contact& c) {
  using text::cp1252::textToUtf8;
  std::string family = textToUtf8(c.family);
  std::string given = textToUtf8(c.given);
  out.append("BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Apple Inc.//iPhone OS 17.1//EN\r\n");
  out.append("N:").append(family).append(";").append(given).append(";;;\r\n");
  out.append("FN:").append(given).append(" ").append(family).append("\r\n");
  if (!c.company.empty()) out.append("ORG:").append(escaped(textToUtf8(c.company))).append(";\r\n");
  if (!c.email.empty()) {
    out.append("EMAIL;type=INTERNET;type=HOME;type=pref:").append(c.email).append("\r\n");
  }
  if (!c.cell.empty())
    out.append("TEL;type=CELL;type=VOICE;type=pref:").append(c.cell).append("\r\n");
  if (!c.work.empty()) out.append("TEL;type=WORK;type=VOICE:").append(c.work).append("\r\n");
  if (!c.home.empty()) out.append("TEL;type=HOME;type=VOICE:").append(c.home).append("\r\n");
  if (!c.fax.empty()) out.append("TEL;type=WORK;type=FAX:").append(c.fax).append("\r\n");
  std::string city = textToUtf8(c.city.empty() ? "Berlin" : c.city);
  std::string street = textToUtf8(c.street.empty() ? "Hauptstr. 1" : c.street);
  out.append("item1.ADR;type=HOME;type=pref:;;").append(street).append(";").append(city);
  out.append(";;").append(c.zip.empty() ? "10115" : c.zip).append(";Deutschland\r\n");
  out.append("item1.X-ABADR:de\r\n");
  out.append("item2.ADR;type=WORK:;;Industriestr. ").append(digits(2)).append(";").append(city);
  out.append(";;").append(digits(5)).append(";Deutschland\r\nitem2.X-ABADR:de\r\n");
  if (!c.note.empty()) appendPhoneLine(out, "NOTE:" + escaped(textToUtf8(c.note)));
  if (c.year != 0) {
    out.append("BDAY;value=date:" + std::to_string(c.year) + "-" + twoDigits(c.month) + "-" +
               twoDigits(c.day) + "\r\n");
  }
  appendPhoneLine(out, "PHOTO;ENCODING=b;TYPE=JPEG:" + photo(random_.below(8)));
  out.append("UID:").append(digits(8)).append("-").append(digits(4)).append("-4");
  out.append(digits(3)).append("-a").append(digits(3)).append("-").append(digits(12));
  out.append("\r\nEND:VCARD\r\n");
}

void AddressBookGenerator::appendCard(std::string& out) {
  Contact contact = makeContact();
  if (form_ == CardForm::own) {
    appendOwn(out, contact);
  } else {
    appendPhone(out, contact);
  }
}

std::string makeAddressBook(std::size_t cards, CardForm form, std::uint64_t seed) {
  AddressBookGenerator generator(form, seed);
  std::string out;
  out.reserve(cards * (form == CardForm::own ? 180 : 1150));
  for (std::size_t i = 0; i < cards; ++i) generator.appendCard(out);
  return out;
}

std::uint64_t writeAddressBook(const std::string& path, std::size_t cards, CardForm form,
                               std::uint64_t seed) {
  struct Close {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, Close> file(std::fopen(path.c_str(), "wb"));
  if (!file) return 0;
  AddressBookGenerator generator(form, seed);
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
