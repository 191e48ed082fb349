#pragma once

#include <string>
#include <string_view>

#include "addressbook/record_table.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "platform/window.h"

namespace outputs {

inline constexpr std::string_view entryListFileName = "prot.txt";

// One line of the entry list from what the edit fields hold now: name, given
// name, work, private and mobile number, fax and e-mail in fixed widths
// (20 20 14 14 14 14 20; padded with blanks or cut), then, when the day field
// is not empty, day "." month "." year and four blanks, then, when the hour
// field is not empty, hour ":" minute, and CR LF. Windows-1252 bytes.
[[nodiscard]] std::string entryListLine(const platform::Window& window);

// The list button: shows every row of the table in its current order in the
// edit fields, one after the other, and lists each; writes the lines and one
// more CR LF to "prot.txt" in the working directory, replacing an existing
// file, and opens it with the desktop's viewer. The edit fields keep the last
// row; the selection is not touched. When the file cannot be written nothing
// is opened (an old list would pass for the new one); nothing is reported.
void writeEntryList(platform::Window& window, const addressbook::RecordTable& rows,
                    const platform::Clock& clock, platform::FileSystem& files,
                    platform::Shell& shell);

}  // namespace outputs
