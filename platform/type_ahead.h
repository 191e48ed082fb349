#pragma once

#include <string_view>

#include "platform/table_content.h"

namespace platform {

// Where letters typed into the record table lead, on every system alike: to
// the next row whose name (column 1) starts with them, letter case aside
// (the Windows ANSI upper-casing), searched downwards from the current row
// and on from row 1 after the last. The first letter of a search starts
// below the current row (at row 1 when there is none); each further letter
// typed while the search lasts searches from the current row itself, so that
// the row stays while its name still fits. One letter typed again and again
// steps through the names starting with it. typed holds all letters of the
// search so far, as a program text. Returns the row, 0 when no name fits.
[[nodiscard]] int typeAheadRow(const TableContent& content, int currentRow, std::string_view typed);

}  // namespace platform
