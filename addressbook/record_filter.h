#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "addressbook/record_store.h"

namespace addressbook {

// The slots, in slot order, that hold a record of which some field contains
// a filter after ANSI upper-casing of both (the filter is taken as given,
// already upper-cased by the caller); an empty filter passes every record.
// Examines as many slots at a time as the caller asks, so that a long pass
// can show its progress and stop between steps.
class RecordFilter {
 public:
  RecordFilter(const RecordStore& store, std::string_view upperFilter);

  // The slots to examine: 1 to capacity (none for a store without slots).
  [[nodiscard]] std::size_t capacity() const { return capacity_; }
  [[nodiscard]] bool finished() const { return next_ > capacity_; }
  // Examines the slots before slot end.
  void examineBefore(std::size_t end);
  // The slots that passed among those examined.
  [[nodiscard]] std::vector<std::uint32_t> takeSlots() { return std::move(slots_); }

 private:
  const RecordStore& store_;
  std::string_view upperFilter_;
  std::size_t capacity_;
  std::size_t next_ = 1;
  std::vector<std::uint32_t> slots_;
};

// Every slot that passes the filter, in one pass.
[[nodiscard]] std::vector<std::uint32_t> filterRecords(const RecordStore& store,
                                                       std::string_view upperFilter);

// Whether text contains upperFilter when text is upper-cased byte by byte.
[[nodiscard]] bool containsUpper(std::string_view text, std::string_view upperFilter);

}  // namespace addressbook
