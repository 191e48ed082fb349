#pragma once

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "platform/posix/file_operations.h"

namespace testing_support {

// The real system calls, with faults injected into single ones.
class FaultyFileOperations : public platform::posix::FileOperations {
 public:
  std::optional<int> createError;
  std::optional<int> renameError;  // a swap of names too
  std::optional<int> exchangeError;
  // Called once, by the next swap of two names, right before it.
  std::function<void()> beforeExchange;
  std::optional<int> syncError;
  std::optional<int> reserveError;
  std::size_t maxBytesPerWrite = std::numeric_limits<std::size_t>::max();
  int failingWrite = -1;  // this write (counted from 0) and all after it fail
  int writeError = ENOSPC;
  std::optional<std::uint64_t> reportedSize;
  std::size_t maxBytesPerRead = std::numeric_limits<std::size_t>::max();
  int failingRead = -1;  // this read (counted from 0) fails with EIO

  int writes = 0;
  int reads = 0;
  int updateOpens = 0;

  platform::posix::SysResult<int> createExclusive(const std::string& path,
                                                  std::uint32_t permissions) override {
    if (createError) return {-1, *createError};
    return FileOperations::createExclusive(path, permissions);
  }
  platform::posix::SysResult<int> openForUpdate(const std::string& path) override {
    ++updateOpens;
    return FileOperations::openForUpdate(path);
  }
  platform::posix::SysResult<std::size_t> read(int fd, char* buffer, std::size_t size) override {
    if (reads++ == failingRead) return {0, EIO};
    return FileOperations::read(fd, buffer, std::min(size, maxBytesPerRead));
  }
  platform::posix::SysResult<std::size_t> write(int fd, const char* bytes,
                                                std::size_t size) override {
    if (failingWrite >= 0 && writes++ >= failingWrite) return {0, writeError};
    return FileOperations::write(fd, bytes, std::min(size, maxBytesPerWrite));
  }
  int sync(int fd) override {
    if (syncError) return *syncError;
    return FileOperations::sync(fd);
  }
  int reserve(int fd, std::uint64_t size) override {
    if (reserveError) return *reserveError;
    return FileOperations::reserve(fd, size);
  }
  int rename(const std::string& from, const std::string& to) override {
    if (renameError) return *renameError;
    return FileOperations::rename(from, to);
  }
  int exchange(const std::string& first, const std::string& second) override {
    if (exchangeError || renameError) return exchangeError ? *exchangeError : *renameError;
    if (auto racer = std::exchange(beforeExchange, nullptr)) racer();
    return FileOperations::exchange(first, second);
  }
  platform::posix::SysResult<platform::posix::FileInfo> status(int fd) override {
    auto info = FileOperations::status(fd);
    if (reportedSize) info.value.size = *reportedSize;
    return info;
  }
};

}  // namespace testing_support
