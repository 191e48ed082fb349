#pragma once

#include <filesystem>
#include <string_view>

namespace platform {

// The character that joins a folder and a name in the paths of the system
// the program is built for: '\' on Windows, '/' elsewhere.
inline constexpr char pathSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

// Every character that ends a folder in a path: Windows takes '/' as well.
inline constexpr std::string_view pathSeparators = pathSeparator == '/' ? "/" : "\\/";

}  // namespace platform
