#include "table/editing.h"

#include <cstdint>
#include <string>
#include <vector>

#include "addressbook/field_table.h"
#include "addressbook/numbers.h"
#include "table/control_ids.h"
#include "table/notes.h"
#include "table/record_display.h"

namespace table {

namespace {

using addressbook::field::birthday;
using platform::ControlId;

// The caption a message box shows when it is given none of its own.
constexpr std::string_view defaultCaption = "Fehler";

std::string cut(std::string text) {
  if (text.size() > maxCellLength) text.resize(maxCellLength);
  return text;
}

std::string fieldText(const platform::Window& window, ControlId id) { return cut(window.text(id)); }

struct BirthdayCheck {
  bool failed;
  std::string_view text;
  std::string_view caption;
};

// The birthday of the date and time fields in display form, or nothing when
// a check failed (each failure has been reported).
std::optional<std::string> birthdayFromFields(const platform::Window& window,
                                              platform::Dialogs& dialogs) {
  std::string dayText = fieldText(window, control::dayEdit);
  std::string monthText = fieldText(window, control::monthEdit);
  std::string yearText = fieldText(window, control::yearEdit);
  std::string hourText = fieldText(window, control::hourEdit);
  std::string minuteText = fieldText(window, control::minuteEdit);
  std::int64_t day = addressbook::leadingNumber(dayText);
  std::int64_t month = addressbook::leadingNumber(monthText);
  std::int64_t year = addressbook::leadingNumber(yearText);
  std::int64_t hour = addressbook::leadingNumber(hourText);
  std::int64_t minute = addressbook::leadingNumber(minuteText);
  bool hasTime = !hourText.empty() || !minuteText.empty();

  const BirthdayCheck checks[] = {
      {day < 1 || day > 31, "Tag?", "Datum?"},
      {month < 1 || month > 12, "Monat?", "Datum?"},
      {year < 1850 || year > 2050, "Jahr?", "Datum?"},
      {hasTime && hour > 23, "Stunde?", "Zeit?"},
      {hasTime && minute > 59, "Minute?", "Zeit?"},
  };
  int errors = 0;
  for (const BirthdayCheck& check : checks) {
    if (!check.failed) continue;
    dialogs.messageBox(check.text, check.caption);
    ++errors;
  }
  if (errors > 0) return std::nullopt;
  std::string value = addressbook::padded(day, 2) + "." + addressbook::padded(month, 2) + "." +
                      addressbook::padded(year, 4);
  if (hasTime) value += " ; " + addressbook::padded(hour, 2) + ":" + addressbook::padded(minute, 2);
  return value;
}

// The lowest slot that neither holds a record nor is shown by a row of the
// table (a new row whose name has not been applied yet), or 0.
std::size_t firstFreeSlot(const Records& records) {
  if (!records.store.hasSlots()) return 0;
  std::vector<bool> shown(records.store.capacity() + 1);
  for (std::uint32_t slot : records.table.slots()) {
    if (slot < shown.size()) shown[slot] = true;
  }
  for (std::size_t slot = 1; slot <= records.store.capacity(); ++slot) {
    if (!shown[slot] && !records.store.holdsRecord(slot)) return slot;
  }
  return 0;
}

void reportNoRowSelected(platform::Dialogs& dialogs) {
  dialogs.messageBox("kein Datensatz markiert !", "Stop!");
}

}  // namespace

void applyEdits(Records& records, const Screen& screen, platform::Dialogs& dialogs) {
  const platform::Window& window = screen.window;
  int row = screen.view.selectedRow();
  std::size_t slot = records.table.slotOfRow(row);
  if (slot == 0) {
    reportNoRowSelected(dialogs);
    return;
  }
  std::string name = fieldText(window, control::nameEdit);
  std::string givenName = fieldText(window, control::firstNameEdit);
  if (!givenName.empty()) name += ";" + givenName;

  addressbook::RecordStore& store = records.store;
  store.setField(slot, addressbook::field::name, cut(name));
  constexpr std::pair<int, ControlId> plainFields[] = {
      {addressbook::field::workPhone, control::workPhoneEdit},
      {addressbook::field::homePhone, control::homePhoneEdit},
      {addressbook::field::mobile, control::mobileEdit},
      {addressbook::field::fax, control::faxEdit},
      {addressbook::field::email, control::emailEdit},
  };
  for (const auto& [f, id] : plainFields) store.setField(slot, f, fieldText(window, id));

  bool dateGiven = !window.text(control::dayEdit).empty() ||
                   !window.text(control::monthEdit).empty() ||
                   !window.text(control::yearEdit).empty();
  if (dateGiven) {
    if (auto value = birthdayFromFields(window, dialogs)) store.setField(slot, birthday, *value);
  }
  store.setField(slot, addressbook::field::notes,
                 notesForStore(fieldText(window, control::notesEdit)));
  records.changed = true;
  screen.view.rowChanged(row);
}

bool deleteRecord(Records& records, const Screen& screen, platform::Dialogs& dialogs) {
  int row = screen.view.selectedRow();
  std::size_t slot = records.table.slotOfRow(row);
  if (slot == 0) {
    reportNoRowSelected(dialogs);
    return false;
  }
  std::string name = records.table.cell(row, addressbook::field::name);
  std::string caption = "Datensatz " + slotNumberText(slot) + " l\xF6schen ?";
  if (dialogs.messageBox(name, caption, platform::MessageButtons::yesNo,
                         platform::MessageIcon::exclamation) != platform::Answer::yes) {
    return false;
  }
  records.store.setField(slot, addressbook::field::name, "");
  records.table.keepDeletedName(slot, name);
  records.changed = true;
  return true;
}

void newRecord(Records& records, const Screen& screen, platform::Dialogs& dialogs, bool duplicate) {
  std::size_t slot = firstFreeSlot(records);
  if (slot == 0) {
    dialogs.messageBox("Speicher ? (nach Programm-Neustart OK !)", defaultCaption);
    return;
  }
  int selected = screen.view.selectedRow();
  std::size_t source = records.table.slotOfRow(selected);
  if (duplicate && source == 0) {
    dialogs.messageBox("duplizieren ? (Datensatz selektieren !)", defaultCaption);
    return;
  }
  // The slot may have held a deleted record of another program's card.
  records.store.clearCard(slot);
  for (int f = 1; f <= addressbook::fieldCount(); ++f) {
    std::string value =
        duplicate ? cut(std::string(records.store.field(source, f))) : std::string();
    records.store.setField(slot, f, value);
  }
  records.table.appendSlot(slot);
  records.changed = true;
  int row = records.table.rowCount();
  screen.view.rowAppended();
  screen.view.selectRow(row);
  screen.view.scrollToRow(row);
  showRecord(records, screen, row);
  screen.window.setFocus(control::nameEdit);
}

}  // namespace table
