#include "outputs/entry_list.h"

#include <array>
#include <cstddef>

#include "platform/path_separator.h"
#include "table/record_display.h"

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

std::string entryListLine(const platform::Window& window) {
  std::string line;
  for (const Column& column : columns) appendFixed(line, window.text(column.field), column.width);
  std::string day = window.text(ControlId::dayEdit);
  if (!day.empty()) {
    line += day + "." + window.text(ControlId::monthEdit) + "." + window.text(ControlId::yearEdit) +
            "    ";
  }
  std::string hour = window.text(ControlId::hourEdit);
  if (!hour.empty()) line += hour + ":" + window.text(ControlId::minuteEdit);
  line += lineEnd;
  return line;
}

void writeEntryList(platform::Window& window, const addressbook::RecordTable& rows,
                    const platform::Clock& clock, platform::FileSystem& files,
                    platform::Shell& shell) {
  std::string text;
  int rowCount = rows.rowCount();
  for (int row = 1; row <= rowCount; ++row) {
    table::showRecord(window, rows, clock, row);
    text += entryListLine(window);
  }
  text += lineEnd;
  std::string path = listPath(files.currentDirectory());
  if (!files.replaceFile(path, text)) return;
  shell.openFile(path);
}

}  // namespace outputs
