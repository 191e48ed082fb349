#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace addressbook {

// The value of the decimal number at the start of text after leading blanks
// and tabs (an optional sign is taken), 0 when there is none. Values beyond
// the 64-bit range are held at its ends.
[[nodiscard]] std::int64_t leadingNumber(std::string_view text);

// The number in decimal, zero-padded to at least width digits.
[[nodiscard]] std::string padded(std::int64_t number, int width);

// text followed by number in decimal, built front to back (a literal put
// before a number's temporary text makes GCC 12 warn at -O3).
[[nodiscard]] std::string withNumber(std::string_view text, std::int64_t number);

// The k-th piece (from 1) when text is cut at every delimiter; empty when
// there is no such piece.
[[nodiscard]] std::string_view part(std::string_view text, char delimiter, int k);

// text without leading and trailing blanks (0x20).
[[nodiscard]] std::string_view trimBlanks(std::string_view text);

}  // namespace addressbook
