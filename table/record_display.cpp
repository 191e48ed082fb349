#include "table/record_display.h"

#include <algorithm>
#include <array>
#include <string>

#include "addressbook/field_table.h"
#include "addressbook/numbers.h"
#include "table/notes.h"

namespace table {

namespace {

using addressbook::part;
using addressbook::trimBlanks;
using platform::ControlId;

constexpr std::array shownFields{ControlId::nameEdit,      ControlId::firstNameEdit,
                                 ControlId::workPhoneEdit, ControlId::homePhoneEdit,
                                 ControlId::mobileEdit,    ControlId::faxEdit,
                                 ControlId::emailEdit,     ControlId::notesEdit};
constexpr std::array dateFields{ControlId::dayEdit, ControlId::monthEdit, ControlId::yearEdit,
                                ControlId::hourEdit, ControlId::minuteEdit};
constexpr int firstShownYear = 1800;
std::int64_t numberOf(std::string_view text) {
  return addressbook::leadingNumber(trimBlanks(text));
}

}  // namespace

std::string ageText(std::int64_t day, std::int64_t month, std::int64_t year, platform::Date today) {
  // Far-off numbers from a damaged file must not overflow.
  auto clamp = [](std::int64_t n) { return std::clamp<std::int64_t>(n, -1'000'000, 1'000'000); };
  bool reached = clamp(day) + 31 * clamp(month) <= today.day + 31 * today.month;
  std::int64_t age = today.year - year - (reached ? 0 : 1);
  return addressbook::withNumber("(", age) + "J)";
}

void showRecord(platform::Window& window, const addressbook::RecordTable& rows,
                const platform::Clock& clock, int row) {
  if (row < 1 || row > rows.rowCount()) {
    for (ControlId id : shownFields) window.setText(id, "");
    for (ControlId id : dateFields) window.setText(id, "");
    window.setText(ControlId::ageLabel, "");
    return;
  }
  using namespace addressbook::field;
  std::string name = rows.cell(row, addressbook::field::name);
  window.setText(ControlId::nameEdit, part(name, ';', 1));
  window.setText(ControlId::firstNameEdit, part(name, ';', 2));
  window.setText(ControlId::workPhoneEdit, rows.cell(row, workPhone));
  window.setText(ControlId::homePhoneEdit, rows.cell(row, homePhone));
  window.setText(ControlId::mobileEdit, rows.cell(row, mobile));
  window.setText(ControlId::faxEdit, rows.cell(row, fax));
  window.setText(ControlId::emailEdit, rows.cell(row, email));
  window.setText(ControlId::notesEdit, notesForEditing(rows.cell(row, notes)));
  for (ControlId id : dateFields) window.setText(id, "");

  std::string date = rows.cell(row, birthday);
  window.setText(ControlId::ageLabel, "");
  std::string_view day = part(date, ';', 1);
  std::int64_t dayNumber = numberOf(part(day, '.', 1));
  std::int64_t monthNumber = numberOf(part(day, '.', 2));
  std::int64_t year = numberOf(part(day, '.', 3));
  if (year < firstShownYear) return;
  window.setText(ControlId::dayEdit, std::to_string(dayNumber));
  window.setText(ControlId::monthEdit, std::to_string(monthNumber));
  window.setText(ControlId::yearEdit, std::to_string(year));
  std::string_view time = part(date, ';', 2);
  window.setText(ControlId::hourEdit, trimBlanks(part(time, ':', 1)));
  window.setText(ControlId::minuteEdit, trimBlanks(part(time, ':', 2)));
  window.setText(ControlId::ageLabel, ageText(dayNumber, monthNumber, year, clock.today()));
}

}  // namespace table
