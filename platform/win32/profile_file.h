#pragma once

#include "platform/profile_file.h"

namespace platform::win32 {

// The profile routines of Windows itself, GetPrivateProfileStringW and
// WritePrivateProfileStringW, with every text converted from Windows-1252.
// A relative path is taken relative to the working directory, as everywhere
// else in the program (the routines themselves would look in the Windows
// folder). A section, key or value holding a line break or NUL, or an empty
// section or key name, is refused and the file is not touched: the routines
// would write a line that reads back as something else.
class ProfileFile : public platform::ProfileFile {
 public:
  [[nodiscard]] std::string read(std::string_view path, std::string_view section,
                                 std::string_view key, std::string_view defaultValue,
                                 std::size_t room) const override;
  bool write(std::string_view path, std::string_view section, std::string_view key,
             std::string_view value) override;
};

}  // namespace platform::win32
