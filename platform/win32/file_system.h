#pragma once

#include <functional>
#include <random>

#include "platform/file_system.h"
#include "platform/win32/file_operations.h"

namespace platform::win32 {

// The machine's files through the Win32 API. Paths of the program
// (Windows-1252) are handed to the system as UTF-16; both '\' and '/'
// separate folders. The working directory comes back as Windows-1252, or as
// "." when it has no such form.
//
// replaceFile writes a temporary file beside the target, checks the count of
// every write, flushes it to the disk and gives it the target's name with
// ReplaceFileW, so a crash or a full disk never leaves a half-written file.
// The new file keeps the old one's hidden, system and archive marks and its
// access control list. The old file steps aside under a temporary name,
// where the last check looks at it and from where it comes back on a no. A
// file that others hold open for a moment is tried again for about two
// seconds, painting meanwhile. The file is overwritten in place instead when
// the folder does not allow a new file or the file has further hard links;
// the space for the new content is taken first. A read-only target is not
// replaced. On every failure the temporary file is removed and the old file
// stays as it was.
//
// recreateFile and removeFile remove a link itself, never what it points to,
// and never a folder; a read-only file is not removed. A stamp's identity is
// the volume's serial number and the file index, its time the last write.
// listFolder reports a link by what it points to and leaves out a link that
// points nowhere.
class FileSystem : public platform::FileSystem {
 public:
  explicit FileSystem(FileOperations& operations);

  [[nodiscard]] bool isFile(std::string_view path) const override;
  // Hidden and system files are kept out of the user's view.
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
  [[nodiscard]] bool writeAll(HANDLE file, std::string_view bytes) const;
  // Gives the written temporary file the target's name, the old file moving
  // aside for lastCheck, which decides whether it goes or comes back.
  bool swapIn(const std::wstring& target, const std::wstring& temporary,
              const DisplacedCheck& lastCheck);
  // ReplaceFileW, moving the old file aside; the old file never comes back
  // over another file. ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: another
  // program's file took the name meanwhile, and the old file is gone.
  DWORD replaceMovingAside(const std::wstring& target, const std::wstring& replacement,
                           const std::wstring& aside);
  [[nodiscard]] std::wstring freeNameBeside(const std::wstring& target);
  [[nodiscard]] bool writeInPlace(const std::wstring& target, std::string_view bytes);
  // Calls again while the file is busy, for a bounded time; the last error.
  DWORD whileBusy(const std::function<DWORD()>& call);

  FileOperations& operations_;
  std::mt19937 random_;
};

}  // namespace platform::win32
