#include "table/editing.h"

#include <cstdint>
#include <string>
#include <vector>

#include "addressbook/field_table.h"
#include "addressbook/numbers.h"
#include "addressbook/record_table.h"
#include "addressbook/saving.h"
#include "table/notes.h"

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
std::optional<std::string> birthdayFromFields(const addressbook::Environment& env) {
  std::string dayText = fieldText(env.window, ControlId::dayEdit);
  std::string monthText = fieldText(env.window, ControlId::monthEdit);
  std::string yearText = fieldText(env.window, ControlId::yearEdit);
  std::string hourText = fieldText(env.window, ControlId::hourEdit);
  std::string minuteText = fieldText(env.window, ControlId::minuteEdit);
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
    env.dialogs.messageBox(check.text, check.caption);
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
std::size_t firstFreeSlot(const addressbook::AddressBook& book) {
  if (!book.store.hasSlots()) return 0;
  std::vector<bool> shown(book.store.capacity() + 1);
  for (std::uint32_t slot : book.table.slots()) {
    if (slot < shown.size()) shown[slot] = true;
  }
  for (std::size_t slot = 1; slot <= book.store.capacity(); ++slot) {
    if (!shown[slot] && !book.store.holdsRecord(slot)) return slot;
  }
  return 0;
}

void reportNoRowSelected(const addressbook::Environment& env) {
  env.dialogs.messageBox("kein Datensatz markiert !", "Stop!");
}

}  // namespace

void applyEdits(addressbook::AddressBook& book, const addressbook::Environment& env) {
  int row = env.window.selectedRow();
  std::size_t slot = book.table.slotOfRow(row);
  if (slot == 0) {
    reportNoRowSelected(env);
    return;
  }
  std::string name = fieldText(env.window, ControlId::nameEdit);
  std::string givenName = fieldText(env.window, ControlId::firstNameEdit);
  if (!givenName.empty()) name += ";" + givenName;

  addressbook::RecordStore& store = book.store;
  store.setField(slot, addressbook::field::name, cut(name));
  constexpr std::pair<int, ControlId> plainFields[] = {
      {addressbook::field::workPhone, ControlId::workPhoneEdit},
      {addressbook::field::homePhone, ControlId::homePhoneEdit},
      {addressbook::field::mobile, ControlId::mobileEdit},
      {addressbook::field::fax, ControlId::faxEdit},
      {addressbook::field::email, ControlId::emailEdit},
  };
  for (const auto& [f, id] : plainFields) store.setField(slot, f, fieldText(env.window, id));

  bool dateGiven = !env.window.text(ControlId::dayEdit).empty() ||
                   !env.window.text(ControlId::monthEdit).empty() ||
                   !env.window.text(ControlId::yearEdit).empty();
  if (dateGiven) {
    if (auto value = birthdayFromFields(env)) store.setField(slot, birthday, *value);
  }
  store.setField(slot, addressbook::field::notes,
                 notesForStore(fieldText(env.window, ControlId::notesEdit)));
  book.changed = true;
  env.window.tableRowChanged(row);
}

void deleteRecord(addressbook::AddressBook& book, const addressbook::Environment& env,
                  const addressbook::ShowRecord& showRecord,
                  const addressbook::SortByName& sortByName) {
  int row = env.window.selectedRow();
  std::size_t slot = book.table.slotOfRow(row);
  if (slot == 0) {
    reportNoRowSelected(env);
    return;
  }
  std::string name = book.table.cell(row, addressbook::field::name);
  std::string caption = "Datensatz " + addressbook::slotNumberText(slot) + " l\xF6schen ?";
  if (env.dialogs.messageBox(name, caption, platform::MessageButtons::yesNo,
                             platform::MessageIcon::exclamation) != platform::Answer::yes) {
    return;
  }
  book.store.setField(slot, addressbook::field::name, "");
  book.table.keepDeletedName(slot, name);
  book.changed = true;
  addressbook::saveAddressFile(book, env, false, showRecord, sortByName);
}

void newRecord(addressbook::AddressBook& book, const addressbook::Environment& env, bool duplicate,
               const addressbook::ShowRecord& showRecord) {
  std::size_t slot = firstFreeSlot(book);
  if (slot == 0) {
    env.dialogs.messageBox("Speicher ? (nach Programm-Neustart OK !)", defaultCaption);
    return;
  }
  int selected = env.window.selectedRow();
  std::size_t source = book.table.slotOfRow(selected);
  if (duplicate && source == 0) {
    env.dialogs.messageBox("duplizieren ? (Datensatz selektieren !)", defaultCaption);
    return;
  }
  for (int f = 1; f <= addressbook::fieldCount(); ++f) {
    std::string value = duplicate ? cut(std::string(book.store.field(source, f))) : std::string();
    book.store.setField(slot, f, value);
  }
  book.table.appendSlot(slot);
  book.changed = true;
  int row = book.table.rowCount();
  env.window.tableRowAppended();
  env.window.selectRow(row);
  env.window.scrollToRow(row);
  showRecord(row);
  env.window.setFocus(ControlId::nameEdit);
}

}  // namespace table
