#include "platform/posix/file_system.h"

#include <algorithm>
#include <cerrno>

#include "platform/path.h"
#include "platform/read_to_end.h"
#include "platform/temporary_name.h"
#include "text/cp1252.h"

namespace platform::posix {

namespace {

// Symbolic links followed in a row before a path counts as a loop, as the
// kernel does.
constexpr int maxLinkHops = 40;

// Bytes read at a time by readInPieces: large enough for few system calls,
// small enough to stay in the processor's cache.
constexpr std::size_t pieceSize = 256 * 1024;

constexpr std::uint32_t newFilePermissions = 0666;  // less the umask
constexpr std::uint32_t privatePermissions = 0600;
constexpr std::uint32_t privateFolderPermissions = 0700;

using path::folderOf;
using path::nameOf;

// The folder part in a form that can be opened: "." for a bare name.
std::string openableFolder(std::string_view path) {
  std::string_view folder = folderOf(path);
  return folder.empty() ? std::string(".") : std::string(folder);
}

// Whether creating a file failed because the folder forbids it, as opposed
// to the folder missing or the disk being full.
bool folderForbidsNewFiles(int error) {
  return error == EACCES || error == EPERM || error == EROFS;
}

EntryKind entryKind(FileKind kind) {
  switch (kind) {
    case FileKind::regular:
      return EntryKind::file;
    case FileKind::directory:
      return EntryKind::folder;
    case FileKind::symbolicLink:
    case FileKind::other:
      break;
  }
  return EntryKind::other;
}

// Keeps a file open, and so its inode its own, after another program's save
// removed it: an identity compared later cannot match a newer file that was
// given the same number.
class HeldOpen {
 public:
  HeldOpen(FileOperations& operations, const std::string& path)
      : operations_(operations), fd_(operations.openForReading(path)) {}
  ~HeldOpen() {
    if (fd_.ok()) operations_.close(fd_.value);
  }
  HeldOpen(const HeldOpen&) = delete;
  HeldOpen& operator=(const HeldOpen&) = delete;

 private:
  FileOperations& operations_;
  SysResult<int> fd_;
};

}  // namespace

FileSystem::FileSystem(FileOperations& operations)
    : operations_(operations), random_(std::random_device{}()) {}

bool FileSystem::isHidden(std::string_view path) const { return nameOf(path).starts_with('.'); }

bool FileSystem::isFile(std::string_view path) const {
  auto info = operations_.pathStatus(text::cp1252::toUtf8(path), true);
  return info.ok() && info.value.kind == FileKind::regular;
}

std::optional<std::string> FileSystem::readFile(std::string_view path) const {
  auto fd = operations_.openForReading(text::cp1252::toUtf8(path));
  if (!fd.ok()) return std::nullopt;
  std::optional<std::string> result;
  auto info = operations_.status(fd.value);
  if (info.ok() && info.value.kind == FileKind::regular) {
    result = readToEnd(info.value.size,
                       [&](char* buffer, std::size_t room) -> std::optional<std::size_t> {
                         auto count = operations_.read(fd.value, buffer, room);
                         if (!count.ok()) return std::nullopt;
                         return count.value;
                       });
  }
  operations_.close(fd.value);
  return result;
}

bool FileSystem::readInPieces(std::string_view path,
                              const std::function<void(std::string_view)>& take) const {
  auto fd = operations_.openForReading(text::cp1252::toUtf8(path));
  if (!fd.ok()) return false;
  auto info = operations_.status(fd.value);
  bool complete = info.ok() && info.value.kind == FileKind::regular;
  if (complete) {
    std::string piece(pieceSize, '\0');
    for (;;) {
      auto count = operations_.read(fd.value, piece.data(), piece.size());
      if (!count.ok()) {
        complete = false;
        break;
      }
      if (count.value == 0) break;
      take(std::string_view(piece.data(), count.value));
    }
  }
  operations_.close(fd.value);
  return complete;
}

std::optional<std::string> FileSystem::resolveLinks(std::string path) const {
  for (int hop = 0; hop < maxLinkHops; ++hop) {
    auto info = operations_.pathStatus(path, false);
    if (!info.ok()) {
      // A name that does not exist yet is created; any other failure (a
      // parent that is a file, no access) ends the save.
      if (info.error == ENOENT) return path;
      return std::nullopt;
    }
    if (info.value.kind != FileKind::symbolicLink) return path;
    auto target = operations_.readLink(path);
    if (!target.ok() || target.value.empty()) return std::nullopt;
    if (target.value.front() == '/') {
      path = std::move(target.value);
    } else {
      path = std::string(folderOf(path)) + target.value;
    }
  }
  return std::nullopt;
}

bool FileSystem::writeAll(int fd, std::string_view bytes) const {
  while (!bytes.empty()) {
    auto count = operations_.write(fd, bytes.data(), bytes.size());
    // A write that stores nothing without an error would repeat forever.
    if (!count.ok() || count.value == 0 || count.value > bytes.size()) return false;
    bytes.remove_prefix(count.value);
  }
  return true;
}

bool FileSystem::writeInPlace(const std::string& path, std::string_view bytes) const {
  auto fd = operations_.openForUpdate(path);
  if (!fd.ok()) return false;
  // The room for the new content is taken before the first old byte is
  // overwritten, so a full disk fails the save with the file untouched.
  bool stored = operations_.reserve(fd.value, bytes.size()) == 0 && writeAll(fd.value, bytes) &&
                operations_.resize(fd.value, bytes.size()) == 0 && operations_.sync(fd.value) == 0;
  return operations_.close(fd.value) == 0 && stored;
}

bool FileSystem::copyAttributes(const std::string& from, int to) const {
  auto source = operations_.openForReading(from);
  if (!source.ok()) return false;
  bool copied = false;
  auto wanted = operations_.attributeNames(source.value);
  auto present = operations_.attributeNames(to);
  if (wanted.ok() && present.ok()) {
    copied = true;
    // A new file may inherit attributes (a default access control list of
    // the folder) that the old one did not have.
    for (const std::string& name : present.value) {
      if (std::find(wanted.value.begin(), wanted.value.end(), name) == wanted.value.end())
        copied = copied && operations_.removeAttribute(to, name) == 0;
    }
    for (const std::string& name : wanted.value) {
      auto value = operations_.attribute(source.value, name);
      copied = copied && value.ok() && operations_.setAttribute(to, name, value.value) == 0;
    }
  }
  operations_.close(source.value);
  return copied;
}

bool FileSystem::takeOver(const FileInfo& old, const std::string& oldPath, int fd) const {
  auto created = operations_.status(fd);
  if (!created.ok()) return false;
  // Owner and group in one call: the privileged may set both, an owner may
  // set a group it belongs to. The call is left out when nothing changes,
  // because some file systems refuse it altogether.
  if (created.value.owner != old.owner || created.value.group != old.group) {
    if (operations_.changeOwner(fd, old.owner, old.group) != 0) return false;
  }
  // Attributes before the mode: the mode sets the access control list's
  // mask, which the old mode holds as well.
  return copyAttributes(oldPath, fd) && operations_.changePermissions(fd, old.permissions) == 0;
}

void FileSystem::syncFolder(const std::string& folder) const {
  // Makes the rename itself durable. Some file systems cannot sync a
  // folder; the new content is in place either way, so errors are ignored.
  auto fd = operations_.openDirectory(folder);
  if (!fd.ok()) return;
  operations_.sync(fd.value);
  operations_.close(fd.value);
}

bool FileSystem::replaceFileIf(std::string_view path, std::string_view bytes,
                               const DisplacedCheck& lastCheck) {
  auto inPlace = [&](const std::string& target) {
    return (!lastCheck || lastCheck(path)) && writeInPlace(target, bytes);
  };
  auto resolved = resolveLinks(text::cp1252::toUtf8(path));
  if (!resolved) return false;
  const std::string& target = *resolved;
  std::string_view name = nameOf(target);
  if (name.empty() || name == "." || name == "..") return false;

  auto old = operations_.pathStatus(target, false);
  if (!old.ok() && old.error != ENOENT) return false;
  bool exists = old.ok();
  if (exists && old.value.kind != FileKind::regular) return false;
  // A new file under the name would leave the other names on the old one.
  if (exists && old.value.links > 1) return inPlace(target);

  // While it is written the temporary file is private; it takes the old
  // file's permissions at the end, or, for a new file, what the umask gives.
  SysResult<int> fd{-1, EEXIST};
  std::string temporary;
  for (int attempt = 0; attempt < maxTemporaryNameTries && fd.error == EEXIST; ++attempt) {
    temporary = temporaryName(folderOf(target), name, random_);
    fd = operations_.createExclusive(temporary, exists ? privatePermissions : newFilePermissions);
  }
  if (!fd.ok()) {
    if (exists && folderForbidsNewFiles(fd.error)) return inPlace(target);
    return false;
  }

  // A new file that cannot be what the old one was to the others who use it
  // (its owner, group, mode, access control list, attributes) would lock
  // them out; the old file is overwritten instead.
  if (exists && !takeOver(old.value, target, fd.value)) {
    operations_.close(fd.value);
    operations_.remove(temporary);
    return inPlace(target);
  }
  bool stored = writeAll(fd.value, bytes) && operations_.sync(fd.value) == 0;
  auto written = operations_.status(fd.value);
  HeldOpen writtenFile(operations_, temporary);
  stored = operations_.close(fd.value) == 0 && stored && written.ok();
  if (stored) {
    stored = exists && lastCheck ? swapIn(temporary, target, path, written.value, lastCheck)
                                 : renameIn(temporary, target, path, lastCheck);
  } else {
    operations_.remove(temporary);
  }
  if (stored) syncFolder(openableFolder(target));
  return stored;
}

bool FileSystem::swapIn(const std::string& temporary, const std::string& target,
                        std::string_view path, const FileInfo& written,
                        const DisplacedCheck& lastCheck) {
  // The check names the displaced file in the program's own form; a link
  // that leads to a name without one is checked before a rename instead.
  auto displaced = text::cp1252::fromUtf8(temporary);
  if (!displaced || operations_.exchange(temporary, target) != 0)
    return renameIn(temporary, target, path, lastCheck);
  auto old = operations_.pathStatus(temporary, false);
  HeldOpen displacedFile(operations_, temporary);
  if (lastCheck(*displaced)) {
    operations_.remove(temporary);
    return true;
  }
  // The displaced file takes its name back. Should a newer file have taken
  // the name meanwhile (another save replacing the new content), that one
  // is what comes back here: it takes the name again, and the displaced
  // file goes, as that save would have replaced it. Anything else found
  // under the temporary name (a swap failed) stays.
  auto holds = [&](const FileInfo& file) {
    auto there = operations_.pathStatus(temporary, false);
    return there.ok() && there.value.device == file.device && there.value.inode == file.inode;
  };
  operations_.exchange(temporary, target);
  if (!holds(written) && old.ok()) operations_.exchange(temporary, target);
  if (holds(written) || (old.ok() && holds(old.value))) operations_.remove(temporary);
  return false;
}

bool FileSystem::renameIn(const std::string& temporary, const std::string& target,
                          std::string_view path, const DisplacedCheck& lastCheck) {
  bool moved = (!lastCheck || lastCheck(path)) && operations_.rename(temporary, target) == 0;
  if (!moved) operations_.remove(temporary);
  return moved;
}

bool FileSystem::recreateFile(std::string_view path, std::string_view bytes) {
  std::string target = text::cp1252::toUtf8(path);
  // unlink removes a link itself, never what it points to, and refuses a
  // folder, whose name then makes the exclusive creation fail.
  int removed = operations_.remove(target);
  if (removed != 0 && removed != ENOENT) return false;
  auto fd = operations_.createExclusive(target, newFilePermissions);
  if (!fd.ok()) return false;
  bool stored = writeAll(fd.value, bytes);
  return operations_.close(fd.value) == 0 && stored;
}

bool FileSystem::removeFile(std::string_view path) {
  int error = operations_.remove(text::cp1252::toUtf8(path));
  return error == 0 || error == ENOENT;
}

std::string FileSystem::currentDirectory() const {
  auto cwd = operations_.currentDirectory();
  // Relative names still resolve against the working directory.
  if (!cwd.ok() || cwd.value.empty()) return ".";
  std::string& folder = cwd.value;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  // A folder whose name has no Windows-1252 form cannot be named inside the
  // program (its bytes would be converted a second time on the way back), so
  // it is named relatively, as ".".
  auto converted = text::cp1252::fromUtf8(folder);
  return converted ? std::move(*converted) : std::string(".");
}

bool FileSystem::createFolder(std::string_view path) {
  std::string folder = text::cp1252::toUtf8(path);
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder.empty()) return false;
  auto isFolder = [&](const std::string& candidate) {
    auto info = operations_.pathStatus(candidate, true);
    return info.ok() && info.value.kind == FileKind::directory;
  };
  if (isFolder(folder)) return true;
  // Every missing level from the top down; a level that exists already
  // answers EEXIST.
  for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
       slash = folder.find('/', slash + 1)) {
    if (folder[slash - 1] == '/') continue;
    int error = operations_.makeDirectory(folder.substr(0, slash), privateFolderPermissions);
    if (error != 0 && error != EEXIST) return false;
  }
  operations_.makeDirectory(folder, privateFolderPermissions);
  return isFolder(folder);
}

std::optional<FileStamp> FileSystem::stamp(std::string_view path) const {
  auto info = operations_.pathStatus(text::cp1252::toUtf8(path), true);
  if (!info.ok()) return std::nullopt;
  return FileStamp{.kind = entryKind(info.value.kind),
                   .volume = info.value.device,
                   .fileId = info.value.inode,
                   .size = info.value.size,
                   .modifiedNs = info.value.modifiedNs};
}

std::optional<std::vector<FolderEntry>> FileSystem::listFolder(std::string_view path) const {
  std::string folder = text::cp1252::toUtf8(path);
  auto names = operations_.listDirectory(folder);
  if (!names.ok()) return std::nullopt;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  std::vector<FolderEntry> entries;
  entries.reserve(names.value.size());
  for (const std::string& name : names.value) {
    auto converted = text::cp1252::fromUtf8(name);
    if (!converted) continue;
    // An entry removed since the listing is left out too.
    auto info = operations_.pathStatus(folder + name, true);
    if (!info.ok()) continue;
    entries.push_back({.name = std::move(*converted),
                       .kind = entryKind(info.value.kind),
                       .modifiedNs = info.value.modifiedNs});
  }
  return entries;
}

}  // namespace platform::posix
