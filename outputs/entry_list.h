#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/shell.h"
#include "table/record_display.h"
#include "table/record_table.h"
#include "table/screen.h"

namespace outputs {

inline constexpr std::string_view entryListFileName = "prot.txt";

// Appends one line of the entry list from what the edit fields show for a row:
// name, given name, work, private and mobile number, fax and e-mail in fixed
// widths (20 20 14 14 14 14 20; padded with blanks or cut), then, when the
// day is not empty, day "." month "." year and four blanks, then, when the
// hour is not empty, hour ":" minute, and CR LF. Windows-1252 bytes.
void appendEntryListLine(std::string& list, const table::ShownFields& fields);

// The list button: lists every row of the table in its current order as the
// edit fields would show it, without touching them; writes the lines and one
// more CR LF to a new "prot.txt" in the working directory (whatever stood
// under that name is removed first, a link is never followed) and opens it
// with the desktop's viewer. While it works it handles pending events now
// and then and shows its progress in the status bar; the caller keeps
// commands back meanwhile. When the window is closed meanwhile, or the file
// cannot be written, nothing is opened (an old list would pass for the new
// one); nothing is reported.
void writeEntryList(const table::Screen& screen, const table::RecordTable& rows,
                    platform::FileSystem& files, platform::Shell& shell);

}  // namespace outputs
