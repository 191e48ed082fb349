#pragma once

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/profile_file.h"

namespace testing_support {

// Settings held in memory; names compared as given (tests use the program's
// own spelling).
class MemoryProfileFile : public platform::ProfileFile {
 public:
  [[nodiscard]] std::string read(std::string_view path, std::string_view section,
                                 std::string_view key, std::string_view defaultValue,
                                 std::size_t room) const override {
    auto found = values.find({std::string(path), std::string(section), std::string(key)});
    std::string value = found == values.end() ? std::string(defaultValue) : found->second;
    if (room == 0) return {};
    if (value.size() > room - 1) value.resize(room - 1);
    return value;
  }
  bool write(std::string_view path, std::string_view section, std::string_view key,
             std::string_view value) override {
    values[{std::string(path), std::string(section), std::string(key)}] = std::string(value);
    writes.emplace_back(std::string(key), std::string(value));
    return true;
  }

  std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
  std::vector<std::pair<std::string, std::string>> writes;
};

}  // namespace testing_support
