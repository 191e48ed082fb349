#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "addressbook/record_table.h"
#include "platform/clock.h"
#include "platform/window.h"

namespace table {

// The texts that showRecord puts into the edit fields and the age label for
// one row, by control id, except the notes (which may run to megabytes and
// are needed only by their own field). Windows-1252.
class ShownFields {
 public:
  // The fields in question, in the order showRecord fills them.
  static constexpr std::array ids{
      platform::ControlId::nameEdit,      platform::ControlId::firstNameEdit,
      platform::ControlId::workPhoneEdit, platform::ControlId::homePhoneEdit,
      platform::ControlId::mobileEdit,    platform::ControlId::faxEdit,
      platform::ControlId::emailEdit,     platform::ControlId::dayEdit,
      platform::ControlId::monthEdit,     platform::ControlId::yearEdit,
      platform::ControlId::hourEdit,      platform::ControlId::minuteEdit,
      platform::ControlId::ageLabel};

  // Empty for a control that is not among the ids.
  [[nodiscard]] std::string_view text(platform::ControlId id) const;
  void set(platform::ControlId id, std::string_view text);

  // Takes the texts for table row (1-based): name and given name split at
  // ";", the numbers, the e-mail address, the birthday in day, month, year,
  // hour and minute, and the age on the date today. All empty for a row
  // that does not exist. Reusing one object for many rows keeps its memory.
  void read(const addressbook::RecordTable& rows, int row, platform::Date today);

 private:
  std::array<std::string, ids.size()> texts_;
};

// Shows table row (1-based) in the edit fields: the shownFields on the
// clock's date and the notes with their line breaks. A row that does not
// exist empties the fields.
void showRecord(platform::Window& window, const addressbook::RecordTable& rows,
                const platform::Clock& clock, int row);

// The age label for a birthday on a date: "(56J)".
[[nodiscard]] std::string ageText(std::int64_t day, std::int64_t month, std::int64_t year,
                                  platform::Date today);

}  // namespace table
