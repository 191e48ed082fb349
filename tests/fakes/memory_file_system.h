#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/path_separator.h"

namespace testing_support {

// Files held in memory, keyed by their full path.
class MemoryFileSystem : public platform::FileSystem {
 public:
  [[nodiscard]] bool isFile(std::string_view path) const override {
    return files.contains(std::string(path));
  }
  [[nodiscard]] std::optional<std::string> readFile(std::string_view path) const override {
    auto found = files.find(std::string(path));
    if (found == files.end()) return std::nullopt;
    return found->second;
  }
  bool replaceFile(std::string_view path, std::string_view bytes) override {
    ++replaceCalls;
    if (failWrites) return false;
    files[std::string(path)] = std::string(bytes);
    return true;
  }
  [[nodiscard]] std::string currentDirectory() const override { return cwd; }

  // A name in the current folder, joined with the system's separator.
  [[nodiscard]] std::string inCurrentFolder(std::string_view name) const {
    return cwd + platform::pathSeparator + std::string(name);
  }

  std::map<std::string, std::string, std::less<>> files;
  std::string cwd = "/home/anna";
  bool failWrites = false;
  int replaceCalls = 0;
};

}  // namespace testing_support
