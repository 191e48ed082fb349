#pragma once

#include <cstddef>
#include <string_view>

// What a name chosen in a file dialog must be for the program to use it as
// the address file's name, and what the user is told when it is not. Texts
// are Windows-1252; the offending name follows them.
namespace platform::address_file_name {

// The configuration keeps the name of the address file in 255 bytes; a
// longer one would be cut and name another file at the next start.
inline constexpr std::size_t maxLength = 255;

inline constexpr std::string_view problemCaption = "Dateiname ?";
inline constexpr std::string_view unusableCharacters =
    "Dieser Dateiname enth\xE4lt Zeichen, die das Programm nicht verwenden kann:\r\n";
inline constexpr std::string_view tooLong =
    "Dieser Dateiname ist zu lang (h\xF6"
    "chstens 255 Zeichen):\r\n";

}  // namespace platform::address_file_name
