#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/path.h"

namespace testing_support {

// Files held in memory, keyed by their full path. Every replace gives the
// file a new identity and a later modification time, as a rename over it
// would; tests change files behind the program's back through the maps.
class MemoryFileSystem : public platform::FileSystem {
 public:
  [[nodiscard]] bool isFile(std::string_view path) const override {
    return files.contains(std::string(path));
  }
  // As on POSIX: a name that starts with '.'.
  [[nodiscard]] bool isHidden(std::string_view path) const override {
    return platform::path::nameOf(path).starts_with('.');
  }
  [[nodiscard]] std::optional<std::string> readFile(std::string_view path) const override {
    ++readCalls;
    auto found = files.find(std::string(path));
    if (found == files.end()) return std::nullopt;
    std::string bytes = found->second;
    // Another program writes while the bytes are on their way.
    if (auto change = std::exchange(duringNextRead, nullptr)) change();
    return bytes;
  }
  [[nodiscard]] bool readInPieces(
      std::string_view path, const std::function<void(std::string_view)>& take) const override {
    auto bytes = readFile(path);
    if (bytes) take(*bytes);
    return bytes.has_value();
  }
  bool replaceFileIf(std::string_view path, std::string_view bytes,
                     const DisplacedCheck& lastCheck) override {
    ++replaceCalls;
    if (failWrites || folders.contains(path)) return false;
    if (auto change = std::exchange(whileNextWrite, nullptr)) change();
    if (lastCheck && !lastCheck(path)) return false;
    files[std::string(path)] = std::string(bytes);
    fileIds[std::string(path)] = ++lastFileId;
    touch(path);
    return true;
  }
  bool recreateFile(std::string_view path, std::string_view bytes) override {
    ++recreateCalls;
    if (failWrites) return false;
    files[std::string(path)] = std::string(bytes);
    return true;
  }
  bool removeFile(std::string_view path) override {
    auto found = files.find(path);
    if (found != files.end()) files.erase(found);
    return true;
  }
  [[nodiscard]] std::string currentDirectory() const override { return cwd; }
  // Creates the folder and every folder above it, unless one of them is a file.
  bool createFolder(std::string_view path) override {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
      std::string level(path.substr(0, slash));
      if (files.contains(level)) return false;
      folders.insert(level);
      if (slash == std::string_view::npos) return true;
    }
  }
  [[nodiscard]] std::optional<platform::FileStamp> stamp(std::string_view path) const override {
    ++stampCalls;
    std::string key(path);
    if (folders.contains(key)) return platform::FileStamp{.kind = platform::EntryKind::folder};
    auto found = files.find(key);
    if (found == files.end()) return std::nullopt;
    return platform::FileStamp{.kind = platform::EntryKind::file,
                               .fileId = valueOr(fileIds, key),
                               .size = found->second.size(),
                               .modifiedNs = valueOr(modified, key)};
  }
  [[nodiscard]] std::optional<std::vector<platform::FolderEntry>> listFolder(
      std::string_view path) const override {
    std::string folder(path);
    std::vector<platform::FolderEntry> entries;
    // Any separator of the system follows the folder.
    auto isSeparator = [](char c) { return platform::path::isSeparator(c); };
    auto add = [&](const std::string& entryPath, platform::EntryKind kind) {
      if (entryPath.size() <= folder.size() + 1 || !entryPath.starts_with(folder)) return;
      if (!isSeparator(entryPath[folder.size()])) return;
      std::string name = entryPath.substr(folder.size() + 1);
      if (std::ranges::any_of(name, isSeparator)) return;
      entries.push_back({.name = name, .kind = kind, .modifiedNs = valueOr(modified, entryPath)});
    };
    for (const auto& [entryPath, bytes] : files) add(entryPath, platform::EntryKind::file);
    for (const auto& entryPath : folders) add(entryPath, platform::EntryKind::folder);
    return entries;
  }

  // Gives the file a later modification time, as touch does.
  void touch(std::string_view path) { modified[std::string(path)] = lastModifiedNs += 1'000'000; }

  // A name in the current folder, joined with the system's separator.
  [[nodiscard]] std::string inCurrentFolder(std::string_view name) const {
    return platform::path::join(cwd, name);
  }

  std::map<std::string, std::string, std::less<>> files;
  // Stamps of the files; a path missing here has id or time 0.
  std::map<std::string, std::uint64_t, std::less<>> fileIds;
  std::map<std::string, std::int64_t, std::less<>> modified;
  std::set<std::string, std::less<>> folders;
  std::string cwd = "/home/anna";
  bool failWrites = false;
  // Called once, by the next read, after it has taken the file's bytes.
  mutable std::function<void()> duringNextRead;
  // Called once, by the next replacement, while the new content is written.
  std::function<void()> whileNextWrite;
  int replaceCalls = 0;
  int recreateCalls = 0;
  mutable int stampCalls = 0;
  mutable int readCalls = 0;

 private:
  template <typename Value>
  static Value valueOr(const std::map<std::string, Value, std::less<>>& map,
                       const std::string& key) {
    auto found = map.find(key);
    return found == map.end() ? Value{} : found->second;
  }

  std::uint64_t lastFileId = 0;
  std::int64_t lastModifiedNs = 1'700'000'000'000'000'000;
};

}  // namespace testing_support
