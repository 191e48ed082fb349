#pragma once

#include <string>

namespace platform {

// What the record table shows. Implemented above the platform layer; the
// window asks it for the cells it paints, so rows are never copied into the
// view. Rows and columns are numbered from 1. Texts are Windows-1252 bytes.
class TableContent {
 public:
  virtual ~TableContent() = default;
  [[nodiscard]] virtual int rowCount() const = 0;
  [[nodiscard]] virtual std::string cell(int row, int column) const = 0;
};

}  // namespace platform
