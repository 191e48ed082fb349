#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace addressbook {

// Converts a birthday between the file form (1961-03-07, optionally "T" and
// a time) and the display form (07.03.1961, optionally " ; " and a time), in
// the direction the value shows: a value holding "-" before its first ";"
// is in file form. A
// display form without a time stays in display form, without blanks. A
// display form the file cannot take (not three "." parts, month or day out
// of range, a bad time) becomes empty. Returns value.
std::string& convertBirthday(std::string& value);

// Whether value is a birthday in the file form the program writes itself
// (1961-03-07, 1961-03-07T08:30 or 1961-03-07T08:30:15, month, day and time
// in range): such a value converts to the display form and back.
[[nodiscard]] bool isPlainFileBirthday(std::string_view value);

// A birthday as vCard 2.1 to 4.0 write it, in display form: 1970-12-30 and
// 19701230 give 30.12.1970, with " ; " and hours and minutes when a time
// follows after "T" (08:30, 0830, 08:30:00Z, 08:30:00+01:00); --1230 and
// --12-30, which name no year, give 30.12.0000. Nothing for any other text,
// and for a month or day out of range.
[[nodiscard]] std::optional<std::string> readVcardBirthday(std::string_view value);

// A birthday of the display form as vCard writes it: 30.12.1970 gives
// 1970-12-30, 30.12.1970 ; 08:30 gives 1970-12-30T08:30; empty for a form
// the file cannot take (as convertBirthday judges it).
[[nodiscard]] std::string writeVcardBirthday(std::string_view display);

}  // namespace addressbook
