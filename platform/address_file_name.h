#pragma once

#include <string_view>

// What the user is told when a name chosen in a file dialog has characters
// the program cannot use (no Windows-1252 form); the checks of what the
// configuration can hold are in the core. Texts are Windows-1252; the
// offending name follows them.
namespace platform::address_file_name {

inline constexpr std::string_view problemCaption = "Dateiname ?";
inline constexpr std::string_view unusableCharacters =
    "Dieser Dateiname enth\xE4lt Zeichen, die das Programm nicht verwenden kann:\r\n";

}  // namespace platform::address_file_name
