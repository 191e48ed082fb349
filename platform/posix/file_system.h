#pragma once

#include <random>

#include "platform/file_system.h"
#include "platform/posix/file_operations.h"

namespace platform::posix {

// The machine's files through POSIX calls. Paths of the program (Windows-1252)
// are handed to the system as UTF-8; the working directory comes back as
// Windows-1252, or as "." when it has no such form.
//
// replaceFile writes a temporary file beside the target, syncs it, gives it
// the old file's owner, group, permissions, access control list and extended
// attributes, and renames it over the target, so a crash or a full disk never
// leaves a half-written file. A symbolic link is followed: the file it points
// to is replaced and the link stays. The file is overwritten in place instead
// when the folder does not allow a new file, when the file has further hard
// links, or when the new file cannot take over all of the above (a user
// saving another user's file); the space for the new content is reserved
// first, so that a full disk fails before the first byte is overwritten.
// A last check is asked after the new file has swapped names with the old
// one (renameat2 with RENAME_EXCHANGE); where the file system cannot swap,
// right before the rename.
class FileSystem : public platform::FileSystem {
 public:
  explicit FileSystem(FileOperations& operations);

  [[nodiscard]] bool isFile(std::string_view path) const override;
  // A name that starts with '.'.
  [[nodiscard]] bool isHidden(std::string_view path) const override;
  [[nodiscard]] std::optional<std::string> readFile(std::string_view path) const override;
  [[nodiscard]] bool readInPieces(std::string_view path,
                                  const std::function<void(std::string_view)>& take) const override;
  bool replaceFileIf(std::string_view path, std::string_view bytes,
                     const DisplacedCheck& lastCheck) override;
  bool recreateFile(std::string_view path, std::string_view bytes) override;
  bool removeFile(std::string_view path) override;
  [[nodiscard]] std::string currentDirectory() const override;
  bool createFolder(std::string_view path) override;
  [[nodiscard]] std::optional<FileStamp> stamp(std::string_view path) const override;
  [[nodiscard]] std::optional<std::vector<FolderEntry>> listFolder(
      std::string_view path) const override;

 private:
  [[nodiscard]] std::optional<std::string> resolveLinks(std::string path) const;
  [[nodiscard]] bool writeAll(int fd, std::string_view bytes) const;
  [[nodiscard]] bool writeInPlace(const std::string& path, std::string_view bytes) const;
  // Gives the new file at fd what the old one had; false when it cannot.
  [[nodiscard]] bool takeOver(const FileInfo& old, const std::string& oldPath, int fd) const;
  [[nodiscard]] bool copyAttributes(const std::string& from, int to) const;
  void syncFolder(const std::string& folder) const;
  // Swaps the written temporary file with the target and asks lastCheck
  // about the displaced one, which goes on a yes and comes back on a no.
  // Where no swap is possible, as renameIn.
  bool swapIn(const std::string& temporary, const std::string& target, std::string_view path,
              const FileInfo& written, const DisplacedCheck& lastCheck);
  // Asks lastCheck about path, then renames the temporary file over the
  // target. The temporary file is gone afterwards whatever happened.
  bool renameIn(const std::string& temporary, const std::string& target, std::string_view path,
                const DisplacedCheck& lastCheck);

  FileOperations& operations_;
  std::mt19937 random_;
};

}  // namespace platform::posix
