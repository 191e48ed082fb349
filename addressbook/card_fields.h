#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/card_lines.h"

namespace addressbook {

// What the program shows of a card that another program wrote, and which of
// the card's lines each field came from.
//
// Lines are told apart by their property (the name before ";" or ":", a
// group prefix aside, in any letter case). The name shows the family and
// the given name of N; without them, the first of FN, ORG, NICKNAME, EMAIL
// and TEL that holds text. A TEL line goes to the fax column when it is of
// type FAX, else to the mobile column (CELL, MOBILE, IPHONE), else to the
// work or the private column; of several lines for one column the
// preferred one shows, else the first. A number of no such type (VOICE,
// MAIN, OTHER, no type at all; not PAGER) shows in the private column when
// the card has no private number. The e-mail is the preferred or the first
// EMAIL, the birthday and the note the first BDAY and NOTE. A card that
// nothing names shows as unnamedCard, so that it stays a record.
inline constexpr std::string_view unnamedCard = "(ohne Namen)";

struct CardFields {
  std::vector<CardLine> lines;
  std::array<std::string, 8> shown;  // field f at [f - 1], as the program holds it
  std::array<int, 8> source{};       // the line field f came from at [f - 1]; -1: none
  int fnLine = -1;                   // the card's FN line, -1: none
  int versionLine = -1;
  int version = 21;  // 21, 30 or 40 (a card without VERSION counts as 2.1)
  // The field row that each line belongs to by its kind: 1 for N and FN,
  // 2 to 5 for a TEL of those columns, 6 EMAIL, 7 BDAY, 8 NOTE; 0 for any
  // other line.
  std::vector<int> lineRows;
};

// card: the card's text from its BEGIN line on, with CR LF line ends.
[[nodiscard]] CardFields readCardFields(std::string_view card);

// The field a line fills by its property and, for TEL, its type: 1 for N,
// 2 to 5 for a TEL of those columns, 6 EMAIL, 7 BDAY, 8 NOTE; 0 for any
// other line, an untyped TEL among them.
[[nodiscard]] int fieldOfLine(std::string_view line);

// The scheme of a TEL value that is a URI (vCard 4.0).
inline constexpr std::string_view telScheme = "tel:";

// Whether the TEL line's value is a URI ("tel:+49...").
[[nodiscard]] bool isTelUri(std::string_view value);

}  // namespace addressbook
