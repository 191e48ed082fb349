#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/record_store.h"
#include "platform/table_content.h"

namespace table {

// The rows of the record table: each row shows one slot of the store. Columns
// 1 to 8 are the slot's fields, column 9 its slot number as " " + number.
class RecordTable : public platform::TableContent {
 public:
  explicit RecordTable(const addressbook::RecordStore& store) : store_(store) {}

  [[nodiscard]] int rowCount() const override { return static_cast<int>(slots_.size()); }
  [[nodiscard]] std::string cell(int row, int column) const override;
  // Field 1 to 8 of the slot that row shows, without a copy: valid until
  // the store changes. Empty for a row that does not exist.
  [[nodiscard]] std::string_view field(int row, int field) const;

  // The slot that row (1-based) shows; 0 for a row that does not exist.
  [[nodiscard]] std::size_t slotOfRow(int row) const;
  // The row (1-based) that shows slot, 0 when none does.
  [[nodiscard]] int rowOfSlot(std::size_t slot) const;

  [[nodiscard]] const std::vector<std::uint32_t>& slots() const { return slots_; }
  void setSlots(std::vector<std::uint32_t> slots) { slots_ = std::move(slots); }
  void appendSlot(std::size_t slot) { slots_.push_back(static_cast<std::uint32_t>(slot)); }
  // Empties the table for the next fill.
  void clear() {
    slots_.clear();
    deletedNames_.clear();
  }

  // The record in slot has been deleted (its name emptied) but its row stays
  // until the next fill: while the slot's name is empty, the row goes on
  // showing name.
  void keepDeletedName(std::size_t slot, std::string name) {
    deletedNames_[static_cast<std::uint32_t>(slot)] = std::move(name);
  }

 private:
  const addressbook::RecordStore& store_;
  std::vector<std::uint32_t> slots_;
  std::map<std::uint32_t, std::string> deletedNames_;
};

// Column 9's form of a slot number: one blank, then the number.
[[nodiscard]] std::string slotNumberText(std::size_t slot);

}  // namespace table
