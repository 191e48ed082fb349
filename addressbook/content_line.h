#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace addressbook {

// One line of a card, unfolded, taken apart as vCard 2.1 to 4.0 write it:
// [group "."] name [";" parameters] ":" value.
struct ContentLine {
  std::string_view group;  // without its dot; empty when the line has none
  std::string_view name;   // as written
  // Everything between the name and the colon, its first ';' included
  // (";TYPE=CELL;PREF=1"); empty when there are none.
  std::string_view parameters;
  std::string_view value;  // after the colon that ends the parameters
  // Whether the line is a property at all: a name of letters, digits and
  // '-', then ';' or ':'. A line that is none (the rest of a value that
  // another program did not fold) fills no field.
  bool isProperty = false;
};

[[nodiscard]] ContentLine parseContentLine(std::string_view line);

// ASCII letters compared without regard to case.
[[nodiscard]] inline bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    // Setting bit 5 makes letters small and leaves a difference of anything else.
    if (a[i] != b[i] &&
        ((a[i] | 0x20) != (b[i] | 0x20) || (a[i] | 0x20) < 'a' || (a[i] | 0x20) > 'z')) {
      return false;
    }
  }
  return true;
}

// What the parameters of a line say, read in one pass. A type counts in
// any spelling of 2.1 to 4.0: a bare parameter ("TEL;WORK;VOICE"), or one
// of the comma-separated values of a TYPE parameter, quoted or not,
// repeated or not ("TYPE=WORK,VOICE", "type=cell;type=pref",
// "TYPE=\"cell,voice\"").
struct Parameters {
  enum Type : unsigned {
    work = 1U << 0,
    home = 1U << 1,
    cell = 1U << 2,  // CELL, MOBILE, IPHONE
    fax = 1U << 3,
    pager = 1U << 4,
  };
  unsigned types = 0;
  // The type PREF, or a PREF parameter (4.0: PREF=1).
  bool preferred = false;
  // ENCODING=QUOTED-PRINTABLE, or the bare QUOTED-PRINTABLE of 2.1.
  bool quotedPrintable = false;
  std::optional<std::string_view> charset;  // the CHARSET parameter's value
};

[[nodiscard]] Parameters readParameters(std::string_view parameters);

}  // namespace addressbook
