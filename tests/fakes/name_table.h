#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/table_content.h"

namespace testing_support {

// A record table of names (column 1); every other cell holds the same text,
// which starts like one of the names, so that a search of the wrong column
// shows.
class NameTable : public platform::TableContent {
 public:
  explicit NameTable(std::vector<std::string> names) : names_(std::move(names)) {}
  [[nodiscard]] int rowCount() const override { return static_cast<int>(names_.size()); }
  [[nodiscard]] std::string cell(int row, int column) const override {
    return column == 1 ? names_.at(static_cast<std::size_t>(row - 1)) : "Sonntag 0711";
  }

 private:
  std::vector<std::string> names_;
};

}  // namespace testing_support
