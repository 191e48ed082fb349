#include "platform/posix/posix_file_operations.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string_view>
#include <vector>

namespace platform {

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
  info.modifiedNs = std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec;
  return info;
}

}  // namespace

SysResult<int> PosixFileOperations::openForReading(const std::string& path) {
  // Without O_NONBLOCK, opening a FIFO would wait for a writer; for regular
  // files the flag changes nothing.
  return descriptor(
      retryOnInterrupt([&] { return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); }));
}

SysResult<int> PosixFileOperations::openForOverwrite(const std::string& path) {
  return descriptor(
      retryOnInterrupt([&] { return ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC); }));
}

SysResult<int> PosixFileOperations::createExclusive(const std::string& path,
                                                    std::uint32_t permissions) {
  return descriptor(retryOnInterrupt([&] {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                  static_cast<mode_t>(permissions));
  }));
}

SysResult<int> PosixFileOperations::openDirectory(const std::string& path) {
  return descriptor(
      retryOnInterrupt([&] { return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
}

SysResult<std::size_t> PosixFileOperations::read(int fd, char* buffer, std::size_t size) {
  ssize_t count = retryOnInterrupt([&] { return ::read(fd, buffer, size); });
  if (count < 0) return {0, errno};
  return {static_cast<std::size_t>(count), 0};
}

SysResult<std::size_t> PosixFileOperations::write(int fd, const char* bytes, std::size_t size) {
  ssize_t count = retryOnInterrupt([&] { return ::write(fd, bytes, size); });
  if (count < 0) return {0, errno};
  return {static_cast<std::size_t>(count), 0};
}

int PosixFileOperations::sync(int fd) {
  return errorOf(retryOnInterrupt([&] { return ::fsync(fd); }));
}

int PosixFileOperations::changePermissions(int fd, std::uint32_t permissions) {
  return errorOf(::fchmod(fd, static_cast<mode_t>(permissions)));
}

int PosixFileOperations::changeOwner(int fd, std::uint32_t owner, std::uint32_t group) {
  return errorOf(::fchown(fd, static_cast<uid_t>(owner), static_cast<gid_t>(group)));
}

SysResult<FileInfo> PosixFileOperations::status(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return {{}, errno};
  return {infoOf(st), 0};
}

int PosixFileOperations::close(int fd) {
  // Linux releases the descriptor even when close is interrupted, so it is
  // never repeated.
  return errorOf(::close(fd));
}

SysResult<FileInfo> PosixFileOperations::pathStatus(const std::string& path, bool followLinks) {
  struct stat st {};
  int result = followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
  if (result != 0) return {{}, errno};
  return {infoOf(st), 0};
}

SysResult<std::string> PosixFileOperations::readLink(const std::string& path) {
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

int PosixFileOperations::rename(const std::string& from, const std::string& to) {
  return errorOf(::rename(from.c_str(), to.c_str()));
}

int PosixFileOperations::remove(const std::string& path) { return errorOf(::unlink(path.c_str())); }

int PosixFileOperations::makeDirectory(const std::string& path, std::uint32_t permissions) {
  return errorOf(::mkdir(path.c_str(), static_cast<mode_t>(permissions)));
}

SysResult<std::vector<std::string>> PosixFileOperations::listDirectory(const std::string& path) {
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

SysResult<std::string> PosixFileOperations::currentDirectory() {
  std::vector<char> buffer(PATH_MAX);
  for (;;) {
    if (::getcwd(buffer.data(), buffer.size()) != nullptr) return {buffer.data(), 0};
    if (errno != ERANGE) return {{}, errno};
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace platform
