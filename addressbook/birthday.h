#pragma once

#include <string>

namespace addressbook {

// Converts a birthday between the file form (1961-03-07, optionally "T" and
// a time) and the display form (07.03.1961, optionally " ; " and a time), in
// the direction the value shows: a value holding "-" before its first ";"
// is in file form. A
// display form without a time stays in display form, without blanks. A
// display form the file cannot take (not three "." parts, month or day out
// of range, a bad time) becomes empty. Returns value.
std::string& convertBirthday(std::string& value);

}  // namespace addressbook
