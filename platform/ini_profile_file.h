#pragma once

#include "platform/file_system.h"
#include "platform/profile_file.h"

namespace platform {

// The Windows profile routines on any system, over FileSystem (so every write
// replaces the file atomically).
//
// Reading: a line "[name]" opens a section, "key=value" holds a value; blanks
// and tabs around names and values do not count, names match regardless of
// ASCII letter case, and the first matching section and key win. A value
// enclosed in a pair of the same quote (" or ') is given without them. Lines
// starting with ';' or '#' are comments.
//
// Writing changes only the key's own line: an existing value is replaced in
// place, a new key goes after the last key of its section, a new section at
// the end of the file. Every other byte of the file stays as it was. New
// lines end like the file's first line (CR LF in a new file or one without a
// line end). A section, key or value that could not be read back as written
// (a line break, NUL, ']' in a section, '=' in a key, a key starting with
// '[', ';' or '#', an empty name) is refused and the file is not touched.
class IniProfileFile : public ProfileFile {
 public:
  explicit IniProfileFile(FileSystem& files) : files_(files) {}

  [[nodiscard]] std::string read(std::string_view path, std::string_view section,
                                 std::string_view key, std::string_view defaultValue,
                                 std::size_t room) const override;
  bool write(std::string_view path, std::string_view section, std::string_view key,
             std::string_view value) override;

 private:
  FileSystem& files_;
};

}  // namespace platform
