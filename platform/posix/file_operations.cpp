#include "platform/posix/file_operations.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <limits>
#include <string_view>
#include <vector>

namespace platform::posix {

namespace {

// Repeats a call that a signal interrupted; returns its result or -1 with
// errno set.
template <typename Call>
auto retryOnInterrupt(Call call) {
  for (;;) {
    auto result = call();
    if (result != -1 || errno != EINTR) return result;
  }
}

int errorOf(int result) { return result == 0 ? 0 : errno; }

SysResult<int> descriptor(int fd) {
  if (fd < 0) return {-1, errno};
  return {fd, 0};
}

FileInfo infoOf(const struct stat& st) {
  FileInfo info;
  if (S_ISREG(st.st_mode)) {
    info.kind = FileKind::regular;
  } else if (S_ISDIR(st.st_mode)) {
    info.kind = FileKind::directory;
  } else if (S_ISLNK(st.st_mode)) {
    info.kind = FileKind::symbolicLink;
  }
  info.permissions = static_cast<std::uint32_t>(st.st_mode & 07777);
  info.owner = st.st_uid;
  info.group = st.st_gid;
  info.size = st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
  info.device = st.st_dev;
  info.inode = st.st_ino;
  info.links = st.st_nlink;
  info.modifiedNs = std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec;
  return info;
}

}  // namespace

SysResult<int> FileOperations::openForReading(const std::string& path) {
  // Without O_NONBLOCK, opening a FIFO would wait for a writer; for regular
  // files the flag changes nothing.
  return descriptor(
      retryOnInterrupt([&] { return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); }));
}

SysResult<int> FileOperations::openForUpdate(const std::string& path) {
  // Read access as well: where the file system cannot reserve space itself,
  // the C library does it by reading and writing single bytes.
  return descriptor(retryOnInterrupt([&] { return ::open(path.c_str(), O_RDWR | O_CLOEXEC); }));
}

SysResult<int> FileOperations::createExclusive(const std::string& path, std::uint32_t permissions) {
  return descriptor(retryOnInterrupt([&] {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                  static_cast<mode_t>(permissions));
  }));
}

SysResult<int> FileOperations::openDirectory(const std::string& path) {
  return descriptor(
      retryOnInterrupt([&] { return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
}

SysResult<std::size_t> FileOperations::read(int fd, char* buffer, std::size_t size) {
  ssize_t count = retryOnInterrupt([&] { return ::read(fd, buffer, size); });
  if (count < 0) return {0, errno};
  return {static_cast<std::size_t>(count), 0};
}

SysResult<std::size_t> FileOperations::write(int fd, const char* bytes, std::size_t size) {
  ssize_t count = retryOnInterrupt([&] { return ::write(fd, bytes, size); });
  if (count < 0) return {0, errno};
  return {static_cast<std::size_t>(count), 0};
}

int FileOperations::sync(int fd) {
  return errorOf(retryOnInterrupt([&] { return ::fsync(fd); }));
}

int FileOperations::reserve(int fd, std::uint64_t size) {
  if (size == 0) return 0;
  if (size > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return EFBIG;
  // posix_fallocate returns the error itself instead of setting errno.
  for (;;) {
    int error = ::posix_fallocate(fd, 0, static_cast<off_t>(size));
    if (error != EINTR) return error;
  }
}

int FileOperations::resize(int fd, std::uint64_t size) {
  if (size > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return EFBIG;
  return errorOf(retryOnInterrupt([&] { return ::ftruncate(fd, static_cast<off_t>(size)); }));
}

int FileOperations::changePermissions(int fd, std::uint32_t permissions) {
  return errorOf(::fchmod(fd, static_cast<mode_t>(permissions)));
}

int FileOperations::changeOwner(int fd, std::uint32_t owner, std::uint32_t group) {
  return errorOf(::fchown(fd, static_cast<uid_t>(owner), static_cast<gid_t>(group)));
}

SysResult<FileInfo> FileOperations::status(int fd) {
  struct stat st = {};
  if (::fstat(fd, &st) != 0) return {{}, errno};
  return {infoOf(st), 0};
}

SysResult<std::vector<std::string>> FileOperations::attributeNames(int fd) {
  std::vector<char> buffer;
  for (;;) {
    ssize_t length = ::flistxattr(fd, nullptr, 0);
    if (length < 0) {
      if (errno == ENOTSUP) return {{}, 0};
      return {{}, errno};
    }
    buffer.resize(static_cast<std::size_t>(length));
    length = ::flistxattr(fd, buffer.data(), buffer.size());
    // An attribute added between the two calls makes the list longer.
    if (length < 0 && errno == ERANGE) continue;
    if (length < 0) return {{}, errno};
    std::vector<std::string> names;
    // The names follow each other, each ended by a zero byte.
    std::string_view list(buffer.data(), static_cast<std::size_t>(length));
    while (!list.empty()) {
      std::size_t end = list.find('\0');
      if (end == std::string_view::npos) end = list.size();
      if (end > 0) names.emplace_back(list.substr(0, end));
      list.remove_prefix(std::min(end + 1, list.size()));
    }
    return {std::move(names), 0};
  }
}

SysResult<std::string> FileOperations::attribute(int fd, const std::string& name) {
  for (;;) {
    ssize_t length = ::fgetxattr(fd, name.c_str(), nullptr, 0);
    if (length < 0) return {{}, errno};
    std::string value(static_cast<std::size_t>(length), '\0');
    length = ::fgetxattr(fd, name.c_str(), value.data(), value.size());
    if (length < 0 && errno == ERANGE) continue;
    if (length < 0) return {{}, errno};
    value.resize(static_cast<std::size_t>(length));
    return {std::move(value), 0};
  }
}

int FileOperations::setAttribute(int fd, const std::string& name, std::string_view value) {
  return errorOf(::fsetxattr(fd, name.c_str(), value.data(), value.size(), 0));
}

int FileOperations::removeAttribute(int fd, const std::string& name) {
  return errorOf(::fremovexattr(fd, name.c_str()));
}

int FileOperations::close(int fd) {
  // Linux releases the descriptor even when close is interrupted, so it is
  // never repeated.
  return errorOf(::close(fd));
}

SysResult<FileInfo> FileOperations::pathStatus(const std::string& path, bool followLinks) {
  struct stat st = {};
  int result = followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
  if (result != 0) return {{}, errno};
  return {infoOf(st), 0};
}

SysResult<std::string> FileOperations::readLink(const std::string& path) {
  std::vector<char> buffer(PATH_MAX);
  for (;;) {
    ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (length < 0) return {{}, errno};
    if (static_cast<std::size_t>(length) < buffer.size()) {
      return {std::string(buffer.data(), static_cast<std::size_t>(length)), 0};
    }
    buffer.resize(buffer.size() * 2);
  }
}

int FileOperations::rename(const std::string& from, const std::string& to) {
  return errorOf(::rename(from.c_str(), to.c_str()));
}

int FileOperations::exchange(const std::string& first, const std::string& second) {
  return errorOf(::renameat2(AT_FDCWD, first.c_str(), AT_FDCWD, second.c_str(), RENAME_EXCHANGE));
}

int FileOperations::remove(const std::string& path) { return errorOf(::unlink(path.c_str())); }

int FileOperations::makeDirectory(const std::string& path, std::uint32_t permissions) {
  return errorOf(::mkdir(path.c_str(), static_cast<mode_t>(permissions)));
}

SysResult<std::vector<std::string>> FileOperations::listDirectory(const std::string& path) {
  DIR* folder = ::opendir(path.c_str());
  if (folder == nullptr) return {{}, errno};
  std::vector<std::string> names;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(folder);
    if (entry == nullptr) break;
    std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  int error = errno;
  ::closedir(folder);
  if (error != 0) return {{}, error};
  return {std::move(names), 0};
}

SysResult<std::string> FileOperations::currentDirectory() {
  std::vector<char> buffer(PATH_MAX);
  for (;;) {
    if (::getcwd(buffer.data(), buffer.size()) != nullptr) return {buffer.data(), 0};
    if (errno != ERANGE) return {{}, errno};
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace platform::posix
