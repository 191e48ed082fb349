#pragma once

namespace platform::win32 {

// Registers the classes of the common controls the program uses (list view,
// status bar, progress bar, tooltips and the rest of the standard set). Call
// it once before the first window is created.
void initCommonControls();

}  // namespace platform::win32
