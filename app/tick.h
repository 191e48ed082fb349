#pragma once

#include <cstddef>
#include <string>

#include "app/file_commands.h"
#include "platform/window.h"
#include "table/records.h"
#include "table/screen.h"

namespace app {

// What the timer last acted on.
struct TickState {
  int lastCount = 0;
  std::string lastFilterText;
};

inline constexpr std::size_t maxFilterLength = 259;

// The search filter: the text of the search field, cut to maxFilterLength.
[[nodiscard]] std::string filterText(const platform::Window& window);

// One timer tick: writes the row count to the status bar when it changed,
// follows the selection, and refills the table when the search filter
// changed (not while a load or fill is running; a later tick catches up):
// from the file when another program changed it, nothing is unsaved and
// mayReload (no command is running), else from the records.
void timerTick(TickState& state, table::Records& records, const table::Screen& screen,
               FileCommands& files, bool mayReload);

}  // namespace app
