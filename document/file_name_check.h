#pragma once

#include <cstddef>
#include <string_view>

namespace document {

// Why the configuration would not give the name of an address file back
// exactly as it is, so that the next start would not open this very file.
enum class FileNameProblem {
  none,
  tooLong,           // longer than the configuration keeps
  controlCharacter,  // a line break would end the value
  blankAtEnd,        // the configuration reader drops blanks at either end
};

// The first problem of path for a configuration that keeps values of at
// most maxLength bytes.
[[nodiscard]] FileNameProblem fileNameProblem(std::string_view path, std::size_t maxLength);

}  // namespace document
