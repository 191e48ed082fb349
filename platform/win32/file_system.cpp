#include "platform/win32/file_system.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/path.h"
#include "platform/read_to_end.h"
#include "platform/temporary_name.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

// The most one WriteFile or ReadFile call is asked to move.
constexpr DWORD maxBytesPerCall = 1U << 30U;
// Bytes read at a time by readInPieces: large enough for few system calls,
// small enough to stay in the processor's cache.
constexpr DWORD pieceSize = 256 * 1024;
// FILETIME counts 100-nanosecond steps from 1601; these are the steps up to
// 1970.
constexpr std::int64_t fileTimeOf1970 = 116444736000000000;
constexpr std::int64_t nanosecondsPerFileTimeStep = 100;

constexpr std::wstring_view separators = L"\\/";

using platform::path::folderOf;
using platform::path::isSeparator;
using platform::path::nameOf;

// The marks of a file that its replacement takes over.
constexpr DWORD keptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                 FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool isFolderAttributes(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

EntryKind entryKind(DWORD attributes) {
  return isFolderAttributes(attributes) ? EntryKind::folder : EntryKind::file;
}

std::int64_t nanosecondsSince1970(FILETIME time) {
  auto steps = static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32U) |
                                         time.dwLowDateTime);
  return (steps - fileTimeOf1970) * nanosecondsPerFileTimeStep;
}

std::uint64_t combined(DWORD high, DWORD low) {
  return (static_cast<std::uint64_t>(high) << 32U) | low;
}

// Sync clients, virus scanners and indexers hold a file for a moment while
// they read it; a save they block is tried again for about two seconds.
constexpr int busyTries = 40;
constexpr DWORD busyStepMilliseconds = 50;

// How often a file that another program saved while this one put a
// displaced file back takes the name again.
constexpr int maxPutBackRounds = 4;

bool isBusy(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
         error == ERROR_LOCK_VIOLATION || error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// The same file, unchanged. The last write time tells a file from a newer
// one that was given the number of a removed one (Wine gives inode numbers,
// which the system reuses at once).
bool sameVersion(const BY_HANDLE_FILE_INFORMATION& one, const BY_HANDLE_FILE_INFORMATION& other) {
  return one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
         one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow &&
         CompareFileTime(&one.ftLastWriteTime, &other.ftLastWriteTime) == 0;
}

bool isMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

FileSystem::FileSystem(FileOperations& operations)
    : operations_(operations), random_(std::random_device{}()) {}

bool FileSystem::isFile(std::string_view path) const {
  auto attributes = operations_.attributes(toWide(path));
  return attributes.ok() && !isFolderAttributes(attributes.value);
}

bool FileSystem::isHidden(std::string_view path) const {
  auto attributes = operations_.attributes(toWide(path));
  return attributes.ok() &&
         (attributes.value & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

std::optional<std::string> FileSystem::readFile(std::string_view path) const {
  auto file = operations_.openForReading(toWide(path));
  if (!file.ok()) return std::nullopt;
  std::optional<std::string> result;
  auto size = operations_.size(file.value);
  if (size.ok()) {
    result =
        readToEnd(size.value, [&](char* buffer, std::size_t room) -> std::optional<std::size_t> {
          auto count = operations_.read(
              file.value, buffer, static_cast<DWORD>(std::min<std::size_t>(room, maxBytesPerCall)));
          if (!count.ok()) return std::nullopt;
          return count.value;
        });
  }
  operations_.close(file.value);
  return result;
}

bool FileSystem::readInPieces(std::string_view path,
                              const std::function<void(std::string_view)>& take) const {
  auto file = operations_.openForReading(toWide(path));
  if (!file.ok()) return false;
  bool complete = true;
  std::string piece(pieceSize, '\0');
  for (;;) {
    auto count = operations_.read(file.value, piece.data(), pieceSize);
    if (!count.ok()) {
      complete = false;
      break;
    }
    if (count.value == 0) break;
    take(std::string_view(piece.data(), count.value));
  }
  operations_.close(file.value);
  return complete;
}

bool FileSystem::writeAll(HANDLE file, std::string_view bytes) const {
  while (!bytes.empty()) {
    DWORD size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), maxBytesPerCall));
    auto count = operations_.write(file, bytes.data(), size);
    // A write that stores nothing without an error would repeat forever.
    if (!count.ok() || count.value == 0 || count.value > size) return false;
    bytes.remove_prefix(count.value);
  }
  return true;
}

bool FileSystem::replaceFileIf(std::string_view path, std::string_view bytes,
                               const DisplacedCheck& lastCheck) {
  const std::wstring target = toWide(path);
  std::wstring_view name = nameOf(target);
  if (name.empty() || name == L"." || name == L"..") return false;

  auto old = operations_.attributes(target);
  if (old.ok()) {
    // Windows never replaces a read-only file; the folder's entry would be
    // swapped underneath the protection.
    if (isFolderAttributes(old.value) || (old.value & FILE_ATTRIBUTE_READONLY) != 0) return false;
  } else if (old.error != ERROR_FILE_NOT_FOUND) {
    return false;
  }
  const bool exists = old.ok();
  auto inPlace = [&] { return (!lastCheck || lastCheck(path)) && writeInPlace(target, bytes); };
  // A new file under the name would leave the other names on the old one.
  if (exists) {
    auto information = operations_.information(target);
    if (information.ok() && information.value.nNumberOfLinks > 1) return inPlace();
  }

  Win32Result<HANDLE> file{INVALID_HANDLE_VALUE, ERROR_FILE_EXISTS};
  std::wstring temporary;
  for (int attempt = 0; attempt < maxTemporaryNameTries && file.error == ERROR_FILE_EXISTS;
       ++attempt) {
    temporary = temporaryName(folderOf(target), name, random_);
    file = operations_.createNew(temporary);
  }
  if (!file.ok()) {
    // A folder where the user may change files but not create them.
    if (exists && file.error == ERROR_ACCESS_DENIED) return inPlace();
    return false;
  }

  bool stored = writeAll(file.value, bytes) && operations_.flush(file.value) == ERROR_SUCCESS;
  stored = operations_.close(file.value) == ERROR_SUCCESS && stored;
  // A file that stays hidden or a system file must not turn into an
  // ordinary one by being saved.
  if (stored && exists && (old.value & keptAttributes) != 0) {
    stored = operations_.setAttributes(temporary, old.value & keptAttributes) == ERROR_SUCCESS;
  }
  if (!stored) {
    operations_.remove(temporary);
    return false;
  }
  if (exists) return swapIn(target, temporary, lastCheck);
  bool moved =
      (!lastCheck || lastCheck(path)) && operations_.moveOver(temporary, target) == ERROR_SUCCESS;
  if (!moved) operations_.remove(temporary);
  return moved;
}

bool FileSystem::swapIn(const std::wstring& target, const std::wstring& temporary,
                        const DisplacedCheck& lastCheck) {
  std::wstring displaced = freeNameBeside(target);
  auto written = operations_.information(temporary);
  DWORD error = whileBusy([&] { return replaceMovingAside(target, temporary, displaced); });
  if (error != ERROR_SUCCESS) {
    operations_.remove(temporary);
    return false;
  }
  if (!lastCheck || lastCheck(fromWide(displaced))) {
    operations_.remove(displaced);
    return true;
  }
  // The displaced file takes its name back, and what held the name steps
  // aside in turn: the new content, which goes. Should another program have
  // saved meanwhile, its newer file is what steps aside: that one takes the
  // name again, and the file it pushes out (older: that save would have
  // replaced it) goes. Whatever cannot be placed stays under its temporary
  // name.
  auto comingBackInformation = operations_.information(displaced);
  if (!written.ok() || !comingBackInformation.ok()) return false;
  std::vector<BY_HANDLE_FILE_INFORMATION> older{written.value};
  std::wstring comingBack = displaced;
  for (int round = 0; round < maxPutBackRounds; ++round) {
    std::wstring aside = freeNameBeside(target);
    DWORD placed = replaceMovingAside(target, comingBack, aside);
    // Another program's file took the name during the move: it is newer.
    if (placed == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) operations_.remove(comingBack);
    if (placed != ERROR_SUCCESS) return false;
    auto steppedAside = operations_.information(aside);
    if (!steppedAside.ok()) return false;
    older.push_back(comingBackInformation.value);
    if (std::ranges::any_of(
            older, [&](const auto& file) { return sameVersion(file, steppedAside.value); })) {
      operations_.remove(aside);
      return false;
    }
    comingBack = aside;
    comingBackInformation = steppedAside;
  }
  return false;
}

DWORD FileSystem::replaceMovingAside(const std::wstring& target, const std::wstring& replacement,
                                     const std::wstring& aside) {
  DWORD error = operations_.replace(target, replacement, aside);
  if (error != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) return error;
  // The old file moved aside and the replacement could not follow. The old
  // file comes back only to a free name. When another program's file took
  // the name in between, the old one goes, as that program's save replaced
  // it.
  if (operations_.move(aside, target) == ERROR_SUCCESS) return ERROR_UNABLE_TO_MOVE_REPLACEMENT;
  operations_.remove(aside);
  return error;
}

std::wstring FileSystem::freeNameBeside(const std::wstring& target) {
  // ReplaceFileW overwrites a file under the name it moves the old one to.
  std::wstring name;
  do {
    name = temporaryName(folderOf(target), nameOf(target), random_);
  } while (operations_.attributes(name).ok());
  return name;
}

bool FileSystem::writeInPlace(const std::wstring& target, std::string_view bytes) {
  Win32Result<HANDLE> file;
  whileBusy([&] {
    file = operations_.openForUpdate(target);
    return file.error;
  });
  if (!file.ok()) return false;
  // The room for the new content is taken before the first old byte is
  // overwritten, so a full disk fails the save with the file untouched.
  auto size = operations_.size(file.value);
  bool stored = size.ok() &&
                (bytes.size() <= size.value ||
                 operations_.setLength(file.value, bytes.size()) == ERROR_SUCCESS) &&
                writeAll(file.value, bytes) &&
                operations_.setLength(file.value, bytes.size()) == ERROR_SUCCESS &&
                operations_.flush(file.value) == ERROR_SUCCESS;
  return operations_.close(file.value) == ERROR_SUCCESS && stored;
}

DWORD FileSystem::whileBusy(const std::function<DWORD()>& call) {
  DWORD error = call();
  for (int attempt = 1; attempt < busyTries && isBusy(error); ++attempt) {
    operations_.wait(busyStepMilliseconds);
    error = call();
  }
  return error;
}

std::string FileSystem::currentDirectory() const {
  auto cwd = operations_.currentDirectory();
  // Relative names still resolve against the working directory.
  if (!cwd.ok() || cwd.value.empty()) return ".";
  std::wstring& folder = cwd.value;
  while (folder.size() > 1 && isSeparator(folder.back())) folder.pop_back();
  // A folder that the program could not name again is named relatively, as
  // ".".
  return pathFromWide(folder).value_or(std::string("."));
}

bool FileSystem::createFolder(std::string_view path) {
  std::wstring folder = toWide(path);
  while (folder.size() > 1 && isSeparator(folder.back())) folder.pop_back();
  if (folder.empty()) return false;
  auto isFolder = [&](const std::wstring& candidate) {
    auto attributes = operations_.attributes(candidate);
    return attributes.ok() && isFolderAttributes(attributes.value);
  };
  if (isFolder(folder)) return true;
  // Every missing level from the top down; a level that exists already
  // answers ERROR_ALREADY_EXISTS, a drive ERROR_ACCESS_DENIED.
  for (std::size_t separator = folder.find_first_of(separators, 1); separator != std::wstring::npos;
       separator = folder.find_first_of(separators, separator + 1)) {
    if (isSeparator(folder[separator - 1]) || folder[separator - 1] == L':') continue;
    operations_.makeDirectory(folder.substr(0, separator));
  }
  operations_.makeDirectory(folder);
  return isFolder(folder);
}

bool FileSystem::recreateFile(std::string_view path, std::string_view bytes) {
  const std::wstring target = toWide(path);
  // A folder in the way is refused here and the path stays taken.
  DWORD removed = operations_.removeEntry(target);
  if (removed != ERROR_SUCCESS && !isMissing(removed)) return false;
  auto file = operations_.createNew(target);
  if (!file.ok()) return false;
  bool stored = writeAll(file.value, bytes);
  return operations_.close(file.value) == ERROR_SUCCESS && stored;
}

bool FileSystem::removeFile(std::string_view path) {
  DWORD error = operations_.removeEntry(toWide(path));
  return error == ERROR_SUCCESS || isMissing(error);
}

std::optional<FileStamp> FileSystem::stamp(std::string_view path) const {
  auto information = operations_.information(toWide(path));
  if (!information.ok()) return std::nullopt;
  const BY_HANDLE_FILE_INFORMATION& found = information.value;
  return FileStamp{.kind = entryKind(found.dwFileAttributes),
                   .volume = found.dwVolumeSerialNumber,
                   .fileId = combined(found.nFileIndexHigh, found.nFileIndexLow),
                   .size = combined(found.nFileSizeHigh, found.nFileSizeLow),
                   .modifiedNs = nanosecondsSince1970(found.ftLastWriteTime)};
}

std::optional<std::vector<FolderEntry>> FileSystem::listFolder(std::string_view path) const {
  // An empty path would be the current folder to FindFirstFileW; elsewhere
  // it names nothing.
  if (path.empty()) return std::nullopt;
  std::wstring folder = toWide(path);
  auto found = operations_.listDirectory(folder);
  if (!found.ok()) return std::nullopt;
  if (!isSeparator(folder.back())) folder += L'\\';
  std::vector<FolderEntry> entries;
  entries.reserve(found.value.size());
  for (const WIN32_FIND_DATAW& entry : found.value) {
    std::wstring_view name(entry.cFileName);
    if (name == L"." || name == L"..") continue;
    auto programName = pathFromWide(name);
    if (!programName) continue;
    DWORD attributes = entry.dwFileAttributes;
    FILETIME modified = entry.ftLastWriteTime;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
      // A link counts as what it points to; one that points nowhere is left
      // out.
      auto target = operations_.information(folder + std::wstring(name));
      if (!target.ok()) continue;
      attributes = target.value.dwFileAttributes;
      modified = target.value.ftLastWriteTime;
    }
    entries.push_back({.name = std::move(*programName),
                       .kind = entryKind(attributes),
                       .modifiedNs = nanosecondsSince1970(modified)});
  }
  return entries;
}

}  // namespace platform::win32
