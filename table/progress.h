#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "table/records.h"
#include "table/screen.h"

namespace table {

// Cards read, and slots examined, between two looks at the progress display.
inline constexpr std::size_t cardsPerStep = 64;
inline constexpr std::size_t slotsPerStep = 1024;

// Marks the records busy for the lifetime of the guard: commands and the
// filter step of the timer wait meanwhile.
class BusyGuard {
 public:
  explicit BusyGuard(Records& records) : records_(records), previous_(records.busy) {
    records.busy = true;
  }
  ~BusyGuard() { records_.busy = previous_; }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  Records& records_;
  bool previous_;
};

// Names the file a pass works on in status part 4: "File: " and the file.
void showFileName(const Screen& screen, std::string_view file);

// Lets the window breathe while a long pass runs: about every 32 ms of the
// tick count, and at the end of the pass, it handles pending events and
// shows how far the pass has come (status part 1 "37.50%", part 4 "File: "
// and the file, the progress bar).
class ProgressDisplay {
 public:
  ProgressDisplay(const Screen& screen, std::string_view file);

  // done of total steps; last forces the refresh. Returns false once the
  // window is gone.
  bool update(std::size_t done, std::size_t total, bool last);

 private:
  Screen screen_;
  std::string file_;
  std::uint32_t lastPeriod_;
};

}  // namespace table
