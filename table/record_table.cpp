#include "table/record_table.h"

#include <algorithm>

#include "addressbook/field_table.h"
#include "addressbook/numbers.h"

namespace table {

std::string slotNumberText(std::size_t slot) {
  return addressbook::withNumber(" ", static_cast<std::int64_t>(slot));
}

std::string RecordTable::cell(int row, int column) const {
  if (column == addressbook::fieldCount() + 1) {
    std::size_t slot = slotOfRow(row);
    if (slot == 0 || slot > store_.capacity() || !store_.hasSlots()) return {};
    return slotNumberText(slot);
  }
  return std::string(field(row, column));
}

std::string_view RecordTable::field(int row, int field) const {
  std::size_t slot = slotOfRow(row);
  if (slot == 0 || slot > store_.capacity() || !store_.hasSlots()) return {};
  if (field < 1 || field > addressbook::fieldCount()) return {};
  if (field == addressbook::field::name && store_.field(slot, field).empty()) {
    auto deleted = deletedNames_.find(static_cast<std::uint32_t>(slot));
    if (deleted != deletedNames_.end()) return deleted->second;
  }
  return store_.field(slot, field);
}

std::size_t RecordTable::slotOfRow(int row) const {
  if (row < 1 || row > rowCount()) return 0;
  return slots_[static_cast<std::size_t>(row - 1)];
}

int RecordTable::rowOfSlot(std::size_t slot) const {
  auto found = std::find(slots_.begin(), slots_.end(), slot);
  return found == slots_.end() ? 0 : static_cast<int>(found - slots_.begin()) + 1;
}

}  // namespace table
