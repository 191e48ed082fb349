#include "addressbook/record_filter.h"

#include <algorithm>

#include "addressbook/field_table.h"
#include "text/cp1252.h"

namespace addressbook {

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

RecordFilter::RecordFilter(const RecordStore& store, std::string_view upperFilter)
    : store_(store),
      upperFilter_(upperFilter),
      capacity_(store.hasSlots() ? store.capacity() : 0) {}

void RecordFilter::examineBefore(std::size_t end) {
  // The pass works on locals, which the compiler can keep in registers.
  const RecordStore& store = store_;
  std::string_view filter = upperFilter_;
  std::vector<std::uint32_t> slots = std::move(slots_);
  std::size_t slot = next_;
  for (end = std::min(end, capacity_ + 1); slot < end; ++slot) {
    if (!store.holdsRecord(slot)) continue;
    bool passes = filter.empty();
    for (int f = 1; f <= fieldCount() && !passes; ++f) {
      passes = containsUpper(store.field(slot, f), filter);
    }
    if (passes) slots.push_back(static_cast<std::uint32_t>(slot));
  }
  slots_ = std::move(slots);
  next_ = std::max(next_, slot);
}

std::vector<std::uint32_t> filterRecords(const RecordStore& store, std::string_view upperFilter) {
  RecordFilter filter(store, upperFilter);
  filter.examineBefore(filter.capacity() + 1);
  return filter.takeSlots();
}

}  // namespace addressbook
