#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Read and write single keys of an INI file with the semantics of the Windows
// profile routines: section and key names match regardless of case, anything
// missing reads as the default, a value longer than room - 1 bytes is cut to
// room - 1, writing creates file, section and key as needed. Paths, names and
// values are Windows-1252 bytes, taken without escape processing.
class ProfileFile {
 public:
  virtual ~ProfileFile() = default;
  [[nodiscard]] virtual std::string read(std::string_view path, std::string_view section,
                                         std::string_view key, std::string_view defaultValue,
                                         std::size_t room) const = 0;
  // Returns whether the value was stored.
  virtual bool write(std::string_view path, std::string_view section, std::string_view key,
                     std::string_view value) = 0;
};

}  // namespace platform
