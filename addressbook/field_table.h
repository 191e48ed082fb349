#pragma once

#include <optional>
#include <string_view>

namespace addressbook {

// The eight fields of an address record, numbered as the rows of the field
// table; the same number is the record table's column and the key in the file.
namespace field {
inline constexpr int name = 1;       // N: family name ";" given name
inline constexpr int workPhone = 2;  // TEL;WORK
inline constexpr int homePhone = 3;  // TEL;HOME
inline constexpr int mobile = 4;     // TEL;CELL
inline constexpr int fax = 5;        // TEL;FAX
inline constexpr int email = 6;      // EMAIL
inline constexpr int birthday = 7;   // BDAY, display form
inline constexpr int notes = 8;      // NOTE, line breaks held as 0x07
}  // namespace field

[[nodiscard]] constexpr int fieldCount() { return 8; }

// Key ("TEL;WORK") and German label ("Telefon dienstlich") of rows 1 to 8;
// nothing for any other row.
[[nodiscard]] std::optional<std::string_view> fieldKey(int row);
[[nodiscard]] std::optional<std::string_view> fieldLabel(int row);

// The row whose key, followed by ":", starts the line exactly as the program
// writes it ("TEL;CELL:0171"), 0 when none does.
[[nodiscard]] int ownField(std::string_view line);

}  // namespace addressbook
