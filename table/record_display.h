#pragma once

#include <cstdint>
#include <string>

#include "addressbook/record_table.h"
#include "platform/clock.h"
#include "platform/window.h"

namespace table {

// Shows table row (1-based) in the edit fields: name and given name split at
// ";", the numbers, the e-mail address, the notes with their line breaks,
// the birthday in day, month, year, hour and minute, and the age on the
// clock's date. A row that does not exist empties the fields.
void showRecord(platform::Window& window, const addressbook::RecordTable& rows,
                const platform::Clock& clock, int row);

// The age label for a birthday on a date: "(56J)".
[[nodiscard]] std::string ageText(std::int64_t day, std::int64_t month, std::int64_t year,
                                  platform::Date today);

}  // namespace table
