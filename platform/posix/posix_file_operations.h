#pragma once

#include "platform/file_operations.h"

namespace platform {

// FileOperations through the POSIX system calls. Holds no state; every file
// it opens is opened close-on-exec.
class PosixFileOperations : public FileOperations {
 public:
  SysResult<int> openForReading(const std::string& path) override;
  SysResult<int> openForUpdate(const std::string& path) override;
  SysResult<int> createExclusive(const std::string& path, std::uint32_t permissions) override;
  SysResult<int> openDirectory(const std::string& path) override;
  SysResult<std::size_t> read(int fd, char* buffer, std::size_t size) override;
  SysResult<std::size_t> write(int fd, const char* bytes, std::size_t size) override;
  int sync(int fd) override;
  int reserve(int fd, std::uint64_t size) override;
  int resize(int fd, std::uint64_t size) override;
  int changePermissions(int fd, std::uint32_t permissions) override;
  int changeOwner(int fd, std::uint32_t owner, std::uint32_t group) override;
  SysResult<FileInfo> status(int fd) override;
  SysResult<std::vector<std::string>> attributeNames(int fd) override;
  SysResult<std::string> attribute(int fd, const std::string& name) override;
  int setAttribute(int fd, const std::string& name, std::string_view value) override;
  int removeAttribute(int fd, const std::string& name) override;
  int close(int fd) override;
  SysResult<FileInfo> pathStatus(const std::string& path, bool followLinks) override;
  SysResult<std::string> readLink(const std::string& path) override;
  int rename(const std::string& from, const std::string& to) override;
  int remove(const std::string& path) override;
  int makeDirectory(const std::string& path, std::uint32_t permissions) override;
  SysResult<std::vector<std::string>> listDirectory(const std::string& path) override;
  SysResult<std::string> currentDirectory() override;
};

}  // namespace platform
