#pragma once

#include "platform/clock.h"
#include "platform/record_view.h"
#include "platform/status_bar.h"
#include "platform/window.h"

namespace table {

// The parts of the main window that show the records: the edit fields and
// the row label (through the window, which also lets pending events through
// during a long pass), the record table and the status bar, with the clock
// that dates the age label and paces the progress display.
struct Screen {
  platform::Window& window;
  platform::RecordView& view;
  platform::StatusBar& statusBar;
  const platform::Clock& clock;
};

}  // namespace table
