#pragma once

#include <string>
#include <string_view>

namespace addressbook {

// Turns a file in UTF-16 into UTF-8: one that starts with a byte-order mark
// of UTF-16 (either byte order), or without one with "BEGIN" in UTF-16.
// A half of a surrogate pair that has no other half becomes U+FFFD. Any
// other text stays as it is.
void decodeUtf16File(std::string& text);

// Gives a text CR LF line ends, judging by counting: with as many CR as LF
// bytes nothing changes; with more LF, every LF becomes CR LF (a CR before it
// is taken into it) and a lone CR stays; with more CR, every CR becomes
// CR LF (an LF after it is taken into it) and a lone LF stays.
void normaliseLineEnds(std::string& text);

// A file's bytes as the reader takes them: UTF-16 turned into UTF-8; CR CR
// LF turned into CR LF in a file whose every line ends so (as iPhone exports
// do, where counting would make two line ends of each and break its folded
// lines); then CR LF line ends.
void prepareFileText(std::string& text);

// Turns every UTF-8 sequence whose character Windows-1252 has (ä, ß, €, ...)
// into that single byte; every other byte stays as it is. Returns text.
std::string& convertUtf8Letters(std::string& text);

// Appends value to out with the conversion of convertUtf8Letters.
void appendWithUtf8Letters(std::string& out, std::string_view value);

// Whether value holds a byte that convertUtf8Letters might change.
[[nodiscard]] bool mayHoldUtf8Letters(std::string_view value);

}  // namespace addressbook
