#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace document {

// The address file as this window last loaded or saved it, so that a change
// by another program or a second window can be noticed.
struct DiskFile {
  std::string path;  // empty until a file has been loaded or saved
  // As last seen: at the load or save, or at a later look that found it
  // changed. Nothing when the path named nothing.
  std::optional<platform::FileStamp> stamp;
  // The bytes as loaded or saved.
  std::uint64_t size = 0;
  std::uint64_t hash = 0;

  // Whether bytes are the bytes remembered.
  [[nodiscard]] bool holds(std::string_view bytes) const;
};

// What is known of path when it holds bytes: just read from it (stamp taken
// before the read) or just written to it (stamp taken after the write).
[[nodiscard]] DiskFile diskFileOf(std::string path, std::optional<platform::FileStamp> stamp,
                                  std::string_view bytes);

// Whether the file at file.path still holds the bytes it was loaded or saved
// with. Reads and hashes it: a stamp alone is not trusted, as network file
// systems keep it cached. A file that was removed or cannot be read does not.
[[nodiscard]] bool holdsRememberedBytes(const DiskFile& file, const platform::FileSystem& files);

}  // namespace document
