#pragma once

#include <string>
#include <string_view>

namespace addressbook {

// Gives a text CR LF line ends, judging by counting: with as many CR as LF
// bytes nothing changes; with more LF, every LF becomes CR LF (a CR before it
// is taken into it) and a lone CR stays; with more CR, every CR becomes
// CR LF (an LF after it is taken into it) and a lone LF stays.
void normaliseLineEnds(std::string& text);

// Turns every UTF-8 sequence whose character Windows-1252 has (ä, ß, €, ...)
// into that single byte; every other byte stays as it is. Returns text.
std::string& convertUtf8Letters(std::string& text);

// Appends value to out with the conversion of convertUtf8Letters.
void appendWithUtf8Letters(std::string& out, std::string_view value);

// Whether value holds a byte that convertUtf8Letters might change.
[[nodiscard]] bool mayHoldUtf8Letters(std::string_view value);

}  // namespace addressbook
