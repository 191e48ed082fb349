#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/path_separator.h"

namespace platform {

// Files of the local machine. Paths are Windows-1252 bytes; an implementation
// converts them to the form its operating system expects.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // A regular file (links followed) exists under this path.
  [[nodiscard]] virtual bool isFile(std::string_view path) const = 0;
  // Whether the file is kept out of the user's ordinary view of its folder:
  // here when its name starts with '.'; a system that marks hidden files
  // in another way says so in its backend.
  [[nodiscard]] virtual bool isHidden(std::string_view path) const {
    auto separator = path.find_last_of(pathSeparators);
    std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
    return name.starts_with('.');
  }
  // The whole file, or nothing when it cannot be read.
  [[nodiscard]] virtual std::optional<std::string> readFile(std::string_view path) const = 0;
  // Replaces the file's content with bytes so that the path names either the
  // old or the new content at every moment. Returns whether all bytes were
  // stored; on failure the old file is left as it was.
  virtual bool replaceFile(std::string_view path, std::string_view bytes) = 0;
  // The process's current working directory, without a trailing separator.
  [[nodiscard]] virtual std::string currentDirectory() const = 0;
  // Creates the folder, and any missing folder above it, open to the user
  // only. Returns whether the path names a folder afterwards. A file system
  // that cannot create folders keeps this default.
  virtual bool createFolder(std::string_view path) {
    static_cast<void>(path);
    return false;
  }
};

}  // namespace platform
