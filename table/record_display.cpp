#include "table/record_display.h"

#include <algorithm>
#include <string>

#include "addressbook/field_table.h"
#include "addressbook/numbers.h"
#include "table/control_ids.h"
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
  return addressbook::withNumber("(", age) + "J)";
}

void ShownFields::read(const RecordTable& rows, int row, platform::Date today) {
  for (std::string& text : texts_) text.clear();
  if (row < 1 || row > rows.rowCount()) return;
  using namespace addressbook::field;
  std::string_view name = rows.field(row, addressbook::field::name);
  set(control::nameEdit, part(name, ';', 1));
  set(control::firstNameEdit, part(name, ';', 2));
  set(control::workPhoneEdit, rows.field(row, workPhone));
  set(control::homePhoneEdit, rows.field(row, homePhone));
  set(control::mobileEdit, rows.field(row, mobile));
  set(control::faxEdit, rows.field(row, fax));
  set(control::emailEdit, rows.field(row, email));

  std::string_view date = rows.field(row, birthday);
  std::string_view day = part(date, ';', 1);
  std::int64_t dayNumber = numberOf(part(day, '.', 1));
  std::int64_t monthNumber = numberOf(part(day, '.', 2));
  std::int64_t year = numberOf(part(day, '.', 3));
  if (year < firstShownYear) return;
  set(control::dayEdit, std::to_string(dayNumber));
  set(control::monthEdit, std::to_string(monthNumber));
  set(control::yearEdit, std::to_string(year));
  std::string_view time = part(date, ';', 2);
  set(control::hourEdit, trimBlanks(part(time, ':', 1)));
  set(control::minuteEdit, trimBlanks(part(time, ':', 2)));
  set(control::ageLabel, ageText(dayNumber, monthNumber, year, today));
}

void showRecord(Records& records, const Screen& screen, int row) {
  ShownFields fields;
  fields.read(records.table, row, screen.clock.today());
  for (ControlId id : ShownFields::ids) screen.window.setText(id, fields.text(id));
  screen.window.setText(control::notesEdit,
                        notesForEditing(records.table.field(row, addressbook::field::notes)));
  records.shownSlot = records.table.slotOfRow(row);
}

void followSelection(Records& records, const Screen& screen) {
  int selected = screen.view.selectedRow();
  if (records.table.slotOfRow(selected) != records.shownSlot) showRecord(records, screen, selected);
  if (selected != records.labelledRow) {
    records.labelledRow = selected;
    screen.window.setText(control::rowLabel, addressbook::withNumber(" ", selected));
  }
}

bool fieldsHoldTypedText(const Records& records, const Screen& screen) {
  int row = records.shownSlot == 0 ? 0 : records.table.rowOfSlot(records.shownSlot);
  ShownFields shown;
  shown.read(records.table, row, screen.clock.today());
  for (ControlId id : ShownFields::ids) {
    if (id != control::ageLabel && screen.window.text(id) != shown.text(id)) return true;
  }
  return screen.window.text(control::notesEdit) !=
         notesForEditing(records.table.field(row, addressbook::field::notes));
}

}  // namespace table
