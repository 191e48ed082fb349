#include "addressbook/record_filter.h"

#include "addressbook/field_table.h"
#include "text/cp1252.h"

namespace addressbook {

namespace {
constexpr std::size_t progressInterval = 1024;
}

bool containsUpper(std::string_view text, std::string_view upperFilter) {
  if (upperFilter.empty()) return true;
  if (text.size() < upperFilter.size()) return false;
  const auto& upper = text::cp1252::upperTable;
  auto first = static_cast<unsigned char>(upperFilter.front());
  std::size_t last = text.size() - upperFilter.size();
  for (std::size_t i = 0; i <= last; ++i) {
    if (upper[static_cast<unsigned char>(text[i])] != first) continue;
    std::size_t k = 1;
    while (k < upperFilter.size() && upper[static_cast<unsigned char>(text[i + k])] ==
                                         static_cast<unsigned char>(upperFilter[k])) {
      ++k;
    }
    if (k == upperFilter.size()) return true;
  }
  return false;
}

std::vector<std::uint32_t> filterRecords(const RecordStore& store, std::string_view upperFilter,
                                         const FilterProgress& progress) {
  std::vector<std::uint32_t> slots;
  std::size_t capacity = store.hasSlots() ? store.capacity() : 0;
  for (std::size_t slot = 1; slot <= capacity; ++slot) {
    if (progress && slot % progressInterval == 0 && !progress(slot, capacity)) break;
    if (!store.holdsRecord(slot)) continue;
    bool passes = upperFilter.empty();
    for (int f = 1; f <= fieldCount() && !passes; ++f) {
      passes = containsUpper(store.field(slot, f), upperFilter);
    }
    if (passes) slots.push_back(static_cast<std::uint32_t>(slot));
  }
  return slots;
}

}  // namespace addressbook
