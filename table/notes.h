#pragma once

#include <string>
#include <string_view>

namespace table {

// A line break inside a note is held as this one byte in the store and the
// table; only the notes edit field shows it as CR LF.
inline constexpr char noteLineBreak = '\x07';

// The note as the edit field shows it: every 0x07 becomes CR LF.
[[nodiscard]] std::string notesForEditing(std::string_view notes);

// The edit field's text as the store holds it: every CR LF becomes 0x07.
[[nodiscard]] std::string notesForStore(std::string_view text);

}  // namespace table
