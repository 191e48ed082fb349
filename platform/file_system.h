#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class EntryKind { file, folder, other };

// What a file looks like from outside, without reading it: enough to notice
// that it was changed, replaced or removed since it was last seen.
struct FileStamp {
  EntryKind kind = EntryKind::other;
  // The file's identity: device and inode, or volume serial and file index.
  std::uint64_t volume = 0;
  std::uint64_t fileId = 0;
  std::uint64_t size = 0;
  // Last modification in nanoseconds since 1970, as fine as the file system
  // keeps it.
  std::int64_t modifiedNs = 0;

  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// One entry of a folder.
struct FolderEntry {
  std::string name;  // Windows-1252, without the folder
  EntryKind kind = EntryKind::other;
  std::int64_t modifiedNs = 0;  // as in FileStamp
};

// Files of the local machine. Paths are Windows-1252 bytes; an implementation
// converts them to the form its operating system expects.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // A regular file (links followed) exists under this path.
  [[nodiscard]] virtual bool isFile(std::string_view path) const = 0;
  // Whether the file is kept out of the user's ordinary view of its folder,
  // as the system marks hidden files.
  [[nodiscard]] virtual bool isHidden(std::string_view path) const = 0;
  // The whole file, or nothing when it cannot be read.
  [[nodiscard]] virtual std::optional<std::string> readFile(std::string_view path) const = 0;
  // Hands the file's bytes to take in order, a piece of bounded size at a
  // time, so that the whole file is never held at once. Returns whether the
  // file was read to its end; on failure take may have had a part of it.
  [[nodiscard]] virtual bool readInPieces(
      std::string_view path, const std::function<void(std::string_view)>& take) const = 0;
  // The caller's last look before new content takes a name: asked with a
  // path that names the file the new content displaces, as it stands at
  // that moment; says whether that is the file the caller expects.
  using DisplacedCheck = std::function<bool(std::string_view displaced)>;

  // Replaces the file's content with bytes so that the path names either the
  // old or the new content at every moment. Returns whether all bytes were
  // stored; on failure the old file is left as it was.
  bool replaceFile(std::string_view path, std::string_view bytes) {
    return replaceFileIf(path, bytes, {});
  }
  // As replaceFile, with a last check (when given). Where the system can
  // swap two names in one step, the new content takes the name first and the
  // check looks at the displaced file under the temporary name: nothing can
  // slip in between; a no swaps them back. Elsewhere the check looks at the
  // path right before the new content takes it (or, where the file is
  // overwritten in place, before its first byte is). When it says no,
  // nothing changes and the result is false.
  virtual bool replaceFileIf(std::string_view path, std::string_view bytes,
                             const DisplacedCheck& lastCheck) = 0;
  // Writes bytes to a new regular file under this path without following a
  // link: whatever stands there first (a file, a link, a FIFO; never a
  // folder) is removed, the target of a link stays untouched, and the new
  // file is created exclusively. Returns whether all bytes were stored.
  virtual bool recreateFile(std::string_view path, std::string_view bytes) = 0;
  // Removes the file (a link itself, not what it points to). Returns whether
  // the path names nothing afterwards.
  virtual bool removeFile(std::string_view path) = 0;
  // The process's current working directory, without a trailing separator.
  [[nodiscard]] virtual std::string currentDirectory() const = 0;
  // Creates the folder, and any missing folder above it, open to the user
  // only. Returns whether the path names a folder afterwards. A file system
  // that cannot create folders keeps this default.
  virtual bool createFolder(std::string_view path) {
    static_cast<void>(path);
    return false;
  }
  // The stamp of what the path names (links followed), or nothing when
  // nothing can be found there. Costs one status query, no read.
  [[nodiscard]] virtual std::optional<FileStamp> stamp(std::string_view path) const = 0;
  // The entries of a folder other than "." and "..", in no particular order;
  // names the program could not name again are left out. Nothing when the
  // folder cannot be read.
  [[nodiscard]] virtual std::optional<std::vector<FolderEntry>> listFolder(
      std::string_view path) const = 0;
};

}  // namespace platform
