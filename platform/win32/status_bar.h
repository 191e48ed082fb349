#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/control_id.h"

namespace platform::win32 {

// The status bar along the bottom edge of a window, divided into parts of
// fixed widths, with a progress bar (range 0 to 100) lying inside it as its
// child. Parts are numbered from 1. Texts are Windows-1252.
class StatusBar {
 public:
  // progress: the progress bar's place in the status bar at 100 %.
  StatusBar(HWND parent, ControlId id, std::span<const int> partWidths, RECT progress);

  // Creates the progress bar inside the status bar.
  HWND createProgressBar(ControlId id);

  // Places the parts, the progress bar and the font for this DPI.
  void layOut(int dpi, HFONT font);
  // Takes its place along the parent's bottom edge again.
  void followParent();

  void setText(int part, std::string_view text);
  [[nodiscard]] std::string text(int part) const;
  void setProgress(int percent);

  [[nodiscard]] HWND handle() const { return bar_; }
  [[nodiscard]] HWND progressBar() const { return progress_; }

 private:
  [[nodiscard]] bool hasPart(int part) const;

  HWND bar_;
  HWND progress_ = nullptr;
  std::vector<int> widths_;
  RECT progressPlace_;
};

}  // namespace platform::win32
