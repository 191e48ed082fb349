#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::posix {

// The outcome of one system call: its value, or the errno of its failure.
template <typename T>
struct SysResult {
  T value{};
  int error = 0;

  [[nodiscard]] bool ok() const { return error == 0; }
};

enum class FileKind { regular, directory, symbolicLink, other };

struct FileInfo {
  FileKind kind = FileKind::other;
  std::uint32_t permissions = 0;  // mode bits 07777
  std::uint32_t owner = 0;
  std::uint32_t group = 0;
  std::uint64_t size = 0;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t links = 1;      // names the file has (hard links)
  std::int64_t modifiedNs = 0;  // since 1970
};

// The POSIX system calls that reading and replacing a file need, one method
// each, so that tests can make single calls fail underneath the real logic.
// Paths are in the operating system's form (UTF-8 on Linux). Methods
// returning int give 0 on success and the errno otherwise. Calls interrupted
// by a signal are repeated inside. Holds no state; every file it opens is
// opened close-on-exec.
class FileOperations {
 public:
  virtual ~FileOperations() = default;

  // Never waits, not even for the writer of a FIFO.
  [[nodiscard]] virtual SysResult<int> openForReading(const std::string& path);
  // An existing file opened for reading and writing, its content untouched.
  [[nodiscard]] virtual SysResult<int> openForUpdate(const std::string& path);
  // A new file, opened for writing; fails with EEXIST when the name is taken,
  // also by a link (which is never followed).
  // The process's umask applies to permissions.
  [[nodiscard]] virtual SysResult<int> createExclusive(const std::string& path,
                                                       std::uint32_t permissions);
  // A folder opened so that it can be synced.
  [[nodiscard]] virtual SysResult<int> openDirectory(const std::string& path);

  // Bytes read (0 at the end of the file).
  [[nodiscard]] virtual SysResult<std::size_t> read(int fd, char* buffer, std::size_t size);
  // Bytes stored, which may be fewer than size.
  [[nodiscard]] virtual SysResult<std::size_t> write(int fd, const char* bytes, std::size_t size);
  virtual int sync(int fd);
  // Allocates the disk space for the first size bytes of the file, so that
  // writing them afterwards cannot run out of room. Size 0 needs nothing.
  virtual int reserve(int fd, std::uint64_t size);
  // Cuts or extends the file to this length.
  virtual int resize(int fd, std::uint64_t size);
  virtual int changePermissions(int fd, std::uint32_t permissions);
  virtual int changeOwner(int fd, std::uint32_t owner, std::uint32_t group);
  [[nodiscard]] virtual SysResult<FileInfo> status(int fd);
  // Extended attributes, the access control list among them. A file system
  // without them lists none.
  [[nodiscard]] virtual SysResult<std::vector<std::string>> attributeNames(int fd);
  [[nodiscard]] virtual SysResult<std::string> attribute(int fd, const std::string& name);
  virtual int setAttribute(int fd, const std::string& name, std::string_view value);
  virtual int removeAttribute(int fd, const std::string& name);
  virtual int close(int fd);

  // followLinks: stat, otherwise lstat.
  [[nodiscard]] virtual SysResult<FileInfo> pathStatus(const std::string& path, bool followLinks);
  // The target stored in a symbolic link, as written there (may be relative).
  [[nodiscard]] virtual SysResult<std::string> readLink(const std::string& path);
  virtual int rename(const std::string& from, const std::string& to);
  // Swaps the files two existing names point to, in one step; EINVAL where
  // the file system cannot.
  virtual int exchange(const std::string& first, const std::string& second);
  virtual int remove(const std::string& path);
  virtual int makeDirectory(const std::string& path, std::uint32_t permissions);
  // The names in a folder, "." and ".." left out.
  [[nodiscard]] virtual SysResult<std::vector<std::string>> listDirectory(const std::string& path);
  [[nodiscard]] virtual SysResult<std::string> currentDirectory();
};

}  // namespace platform::posix
