#pragma once

#include <string_view>

#include "table/records.h"
#include "table/screen.h"

namespace table {

// Shows the records of which some field contains filter (compared after
// ANSI upper-casing of both) in the table, selects row 1 and shows it. The
// status bar shows the progress, naming file.
void fillTable(Records& records, const Screen& screen, std::string_view filter,
               std::string_view file);

}  // namespace table
