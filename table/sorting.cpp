#include "table/sorting.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "addressbook/field_table.h"
#include "text/cp1252.h"

namespace table {

namespace {

constexpr std::size_t maxSortedLength = 255;
constexpr int columnCount = 9;

struct SortEntry {
  std::string key;
  std::uint32_t slot;
};

// Characters 7 to 10, 4 to 5 and 1 to 2 of the text (counted from 1), a
// byte 0 for each position past its end: DD.MM.YYYY becomes YYYYMMDD.
std::string dateKey(std::string_view text) {
  static constexpr std::size_t positions[] = {7, 8, 9, 10, 4, 5, 1, 2};
  std::string key;
  for (std::size_t position : positions) key += position <= text.size() ? text[position - 1] : '\0';
  return key;
}

bool byteLess(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

}  // namespace

void sortTable(RecordTable& rows, platform::RecordView& view, int column, SortMode mode) {
  if (rows.rowCount() == 0) return;
  if (column < 1 || column > columnCount || view.columnWidth(column) == 0) return;

  std::size_t selectedSlot = rows.slotOfRow(view.selectedRow());
  std::vector<SortEntry> entries;
  entries.reserve(rows.slots().size());
  for (int row = 1; row <= rows.rowCount(); ++row) {
    std::string text = rows.cell(row, column).substr(0, maxSortedLength);
    std::string key = mode == SortMode::dateAscending ? dateKey(text) : text::cp1252::toUpper(text);
    entries.push_back({std::move(key), rows.slots()[static_cast<std::size_t>(row - 1)]});
  }
  if (mode == SortMode::textDescending) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const SortEntry& a, const SortEntry& b) { return byteLess(b.key, a.key); });
  } else {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const SortEntry& a, const SortEntry& b) { return byteLess(a.key, b.key); });
  }

  std::vector<std::uint32_t> slots;
  slots.reserve(entries.size());
  for (const SortEntry& entry : entries) slots.push_back(entry.slot);
  rows.setSlots(std::move(slots));
  view.reset();
  if (selectedSlot != 0) view.selectRow(rows.rowOfSlot(selectedSlot));
}

void sortByName(RecordTable& rows, platform::RecordView& view) {
  sortTable(rows, view, addressbook::field::name, SortMode::textAscending);
}

}  // namespace table
