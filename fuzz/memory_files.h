#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace fuzzing {

// Files held in memory, keyed by their path.
class MemoryFiles : public platform::FileSystem {
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
    files[std::string(path)] = std::string(bytes);
    ++writes;
    return true;
  }
  [[nodiscard]] std::string currentDirectory() const override { return "/fuzz"; }

  std::map<std::string, std::string, std::less<>> files;
  int writes = 0;
};

}  // namespace fuzzing
