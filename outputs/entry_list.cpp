#include "outputs/entry_list.h"

#include <array>
#include <cstddef>

#include "platform/path.h"
#include "table/control_ids.h"
#include "table/progress.h"

namespace outputs {

namespace {

using platform::ControlId;
namespace control = table::control;

struct Column {
  ControlId field;
  std::size_t width;
};

constexpr std::array<Column, 7> columns{{
    {control::nameEdit, 20},
    {control::firstNameEdit, 20},
    {control::workPhoneEdit, 14},
    {control::homePhoneEdit, 14},
    {control::mobileEdit, 14},
    {control::faxEdit, 14},
    {control::emailEdit, 20},
}};

constexpr std::string_view lineEnd = "\r\n";
// Rows listed between two looks at the clock.
constexpr int progressInterval = 1024;

void appendFixed(std::string& line, std::string_view text, std::size_t width) {
  text = text.substr(0, width);
  line += text;
  line.append(width - text.size(), ' ');
}

}  // namespace

void appendEntryListLine(std::string& list, const table::ShownFields& fields) {
  for (const Column& column : columns) appendFixed(list, fields.text(column.field), column.width);
  std::string_view day = fields.text(control::dayEdit);
  if (!day.empty()) {
    list.append(day).append(".").append(fields.text(control::monthEdit)).append(".");
    list.append(fields.text(control::yearEdit)).append("    ");
  }
  std::string_view hour = fields.text(control::hourEdit);
  if (!hour.empty()) list.append(hour).append(":").append(fields.text(control::minuteEdit));
  list += lineEnd;
}

void writeEntryList(const table::Screen& screen, const table::RecordTable& rows,
                    platform::FileSystem& files, platform::Shell& shell) {
  std::string path = platform::path::join(files.currentDirectory(), entryListFileName);
  table::ProgressDisplay display(screen, path);
  // The rows as they were asked for: a column click while the events are
  // handled must not mix two orders in one list.
  const table::RecordTable listed = rows;  // NOLINT(performance-unnecessary-copy-initialization)
  platform::Date today = screen.clock.today();
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
