#include "outputs/entry_list.h"

#include <array>
#include <cstddef>

#include "addressbook/long_pass.h"
#include "platform/path_separator.h"

namespace outputs {

namespace {

using platform::ControlId;

struct Column {
  ControlId field;
  std::size_t width;
};

constexpr std::array<Column, 7> columns{{
    {ControlId::nameEdit, 20},
    {ControlId::firstNameEdit, 20},
    {ControlId::workPhoneEdit, 14},
    {ControlId::homePhoneEdit, 14},
    {ControlId::mobileEdit, 14},
    {ControlId::faxEdit, 14},
    {ControlId::emailEdit, 20},
}};

constexpr std::string_view lineEnd = "\r\n";
// Rows listed between two looks at the clock.
constexpr int progressInterval = 1024;

void appendFixed(std::string& line, std::string_view text, std::size_t width) {
  text = text.substr(0, width);
  line += text;
  line.append(width - text.size(), ' ');
}

std::string listPath(std::string directory) {
  if (!directory.ends_with(platform::pathSeparator)) directory += platform::pathSeparator;
  return directory + std::string(entryListFileName);
}

}  // namespace

void appendEntryListLine(std::string& list, const table::ShownFields& fields) {
  for (const Column& column : columns) appendFixed(list, fields.text(column.field), column.width);
  std::string_view day = fields.text(ControlId::dayEdit);
  if (!day.empty()) {
    list.append(day).append(".").append(fields.text(ControlId::monthEdit)).append(".");
    list.append(fields.text(ControlId::yearEdit)).append("    ");
  }
  std::string_view hour = fields.text(ControlId::hourEdit);
  if (!hour.empty()) list.append(hour).append(":").append(fields.text(ControlId::minuteEdit));
  list += lineEnd;
}

void writeEntryList(platform::Window& window, const addressbook::RecordTable& rows,
                    const platform::Clock& clock, platform::FileSystem& files,
                    platform::Shell& shell) {
  std::string path = listPath(files.currentDirectory());
  addressbook::ProgressDisplay display(window, clock, path);
  // The rows as they were asked for: a column click while the events are
  // handled must not mix two orders in one list.
  const addressbook::RecordTable listed = rows;
  platform::Date today = clock.today();
  std::string text;
  table::ShownFields fields;
  int rowCount = listed.rowCount();
  for (int row = 1; row <= rowCount; ++row) {
    fields.read(listed, row, today);
    appendEntryListLine(text, fields);
    if (row % progressInterval == 0 && !display.update(row, rowCount, false)) return;
  }
  if (!display.update(rowCount, rowCount, true)) return;
  text += lineEnd;
  if (!files.recreateFile(path, text)) return;
  shell.openFile(path);
}

}  // namespace outputs
