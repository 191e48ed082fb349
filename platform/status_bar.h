#pragma once

#include <string_view>

namespace platform {

// The status bar of the main window: texts in parts numbered from 1, and
// the progress bar inside it. Texts are Windows-1252.
class StatusBar {
 public:
  virtual ~StatusBar() = default;
  virtual void setText(int part, std::string_view text) = 0;
  virtual void setProgress(int percent) = 0;
};

}  // namespace platform
