#pragma once

#include <string>
#include <string_view>

namespace addressbook {

inline constexpr std::string_view lineEnd = "\r\n";

// Ends the line written so far with end (a line end or a fold). A reader
// takes "BEGIN:VCARD" + CR LF for the start of a card wherever it stands
// (and a line of it in another letter case), so a line that would end in
// that text gets one more fold before its last byte; reading removes the
// fold again and the value is unchanged.
void endLine(std::string& out, std::string_view end);

// Appends a value: folded when it is longer than 70 bytes (for p = 70, 140,
// ... up to its length a fold goes in front of the p-th byte of the text
// with the earlier folds in it, which puts the folds after bytes 69, 136,
// 203, ... of the value), a CR LF inside it continued by a blank, and a lone
// CR or LF written as a blank.
void appendFolded(std::string& out, std::string_view value);

// Appends lines of a card as they are, each ended by CR LF (the last one
// too); a lone CR or LF inside them is written as a blank, as in a value,
// and left out at the start of a line.
void appendLines(std::string& out, std::string_view lines);

// Appends the start of a line (its name and parameters, up to the value)
// as appendLines writes a line: without line breaks in front, and a lone CR
// or LF inside it as a blank. Written as it is, the next read could count
// such a line break as a line end and cut the line there.
void appendLineStart(std::string& out, std::string_view start);

// Whether appendLines writes card (from its BEGIN line on) as the empty card:
// a BEGIN line, then empty lines and END lines only. Such a card holds
// nothing and is read back as no record.
[[nodiscard]] bool writesEmptyCard(std::string_view card);

}  // namespace addressbook
