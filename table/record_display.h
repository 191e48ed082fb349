#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "table/control_ids.h"
#include "table/record_table.h"
#include "table/records.h"
#include "table/screen.h"

namespace table {

// The texts that showRecord puts into the edit fields and the age label for
// one row, by control id, except the notes (which may run to megabytes and
// are needed only by their own field). Windows-1252.
class ShownFields {
 public:
  // The fields in question, in the order showRecord fills them.
  static constexpr std::array ids{
      control::nameEdit,   control::firstNameEdit, control::workPhoneEdit, control::homePhoneEdit,
      control::mobileEdit, control::faxEdit,       control::emailEdit,     control::dayEdit,
      control::monthEdit,  control::yearEdit,      control::hourEdit,      control::minuteEdit,
      control::ageLabel};

  // Empty for a control that is not among the ids.
  [[nodiscard]] std::string_view text(platform::ControlId id) const;
  void set(platform::ControlId id, std::string_view text);

  // Takes the texts for table row (1-based): name and given name split at
  // ";", the numbers, the e-mail address, the birthday in day, month, year,
  // hour and minute, and the age on the date today. All empty for a row
  // that does not exist. Reusing one object for many rows keeps its memory.
  void read(const RecordTable& rows, int row, platform::Date today);

 private:
  std::array<std::string, ids.size()> texts_;
};

// Shows table row (1-based) in the edit fields: the shownFields on the
// clock's date and the notes with their line breaks. A row that does not
// exist empties the fields.
void showRecord(Records& records, const Screen& screen, int row);

// Brings the row label and the edit fields in line with the selection: the
// label follows the selected row number, and the fields are filled again
// whenever the selected row shows another record than they do (a row that
// a sort or refill moved under the selection counts too), but not for the
// record they already show, so typing after New is never wiped out.
void followSelection(Records& records, const Screen& screen);

// Whether the edit fields hold text that the record they show does not:
// typed and not applied yet (after New: any text at all).
[[nodiscard]] bool fieldsHoldTypedText(const Records& records, const Screen& screen);

// The age label for a birthday on a date: "(56J)".
[[nodiscard]] std::string ageText(std::int64_t day, std::int64_t month, std::int64_t year,
                                  platform::Date today);

}  // namespace table
