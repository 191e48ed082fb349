#include "table/record_display.h"

#include <algorithm>
#include <string>

#include "addressbook/field_table.h"
#include "addressbook/numbers.h"
#include "table/notes.h"

namespace table {

namespace {

using addressbook::part;
using addressbook::trimBlanks;
using platform::ControlId;

constexpr int firstShownYear = 1800;
std::int64_t numberOf(std::string_view text) {
  return addressbook::leadingNumber(trimBlanks(text));
}

}  // namespace

std::string_view ShownFields::text(ControlId id) const {
  auto found = std::ranges::find(ids, id);
  if (found == ids.end()) return {};
  return texts_[static_cast<std::size_t>(found - ids.begin())];
}

void ShownFields::set(ControlId id, std::string_view text) {
  auto found = std::ranges::find(ids, id);
  if (found != ids.end()) texts_[static_cast<std::size_t>(found - ids.begin())] = text;
}

std::string ageText(std::int64_t day, std::int64_t month, std::int64_t year, platform::Date today) {
  // Far-off numbers from a damaged file must not overflow.
  auto clamp = [](std::int64_t n) { return std::clamp<std::int64_t>(n, -1'000'000, 1'000'000); };
  bool reached = clamp(day) + 31 * clamp(month) <= today.day + 31 * today.month;
  std::int64_t age = today.year - year - (reached ? 0 : 1);
  return "(" + std::to_string(age) + "J)";
}

ShownFields shownFields(const addressbook::RecordTable& rows, int row, platform::Date today) {
  ShownFields fields;
  if (row < 1 || row > rows.rowCount()) return fields;
  using namespace addressbook::field;
  std::string name = rows.cell(row, addressbook::field::name);
  fields.set(ControlId::nameEdit, part(name, ';', 1));
  fields.set(ControlId::firstNameEdit, part(name, ';', 2));
  fields.set(ControlId::workPhoneEdit, rows.cell(row, workPhone));
  fields.set(ControlId::homePhoneEdit, rows.cell(row, homePhone));
  fields.set(ControlId::mobileEdit, rows.cell(row, mobile));
  fields.set(ControlId::faxEdit, rows.cell(row, fax));
  fields.set(ControlId::emailEdit, rows.cell(row, email));

  std::string date = rows.cell(row, birthday);
  std::string_view day = part(date, ';', 1);
  std::int64_t dayNumber = numberOf(part(day, '.', 1));
  std::int64_t monthNumber = numberOf(part(day, '.', 2));
  std::int64_t year = numberOf(part(day, '.', 3));
  if (year < firstShownYear) return fields;
  fields.set(ControlId::dayEdit, std::to_string(dayNumber));
  fields.set(ControlId::monthEdit, std::to_string(monthNumber));
  fields.set(ControlId::yearEdit, std::to_string(year));
  std::string_view time = part(date, ';', 2);
  fields.set(ControlId::hourEdit, trimBlanks(part(time, ':', 1)));
  fields.set(ControlId::minuteEdit, trimBlanks(part(time, ':', 2)));
  fields.set(ControlId::ageLabel, ageText(dayNumber, monthNumber, year, today));
  return fields;
}

void showRecord(platform::Window& window, const addressbook::RecordTable& rows,
                const platform::Clock& clock, int row) {
  bool exists = row >= 1 && row <= rows.rowCount();
  ShownFields fields = exists ? shownFields(rows, row, clock.today()) : ShownFields();
  for (ControlId id : ShownFields::ids) window.setText(id, fields.text(id));
  window.setText(ControlId::notesEdit,
                 exists ? notesForEditing(rows.cell(row, addressbook::field::notes)) : "");
}

}  // namespace table
