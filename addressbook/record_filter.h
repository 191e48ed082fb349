#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "addressbook/record_store.h"

namespace addressbook {

// Called now and then while slots are examined, with the number examined so
// far and the capacity; false stops the pass.
using FilterProgress = std::function<bool(std::size_t examined, std::size_t capacity)>;

// The slots, in slot order, that hold a record of which some field contains
// filter after ANSI upper-casing of both (filter is taken as given, already
// upper-cased by the caller). An empty filter passes every record.
[[nodiscard]] std::vector<std::uint32_t> filterRecords(const RecordStore& store,
                                                       std::string_view upperFilter,
                                                       const FilterProgress& progress = {});

// Whether text contains upperFilter when text is upper-cased byte by byte.
[[nodiscard]] bool containsUpper(std::string_view text, std::string_view upperFilter);

}  // namespace addressbook
