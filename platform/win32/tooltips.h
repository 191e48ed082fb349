#pragma once

#include <windows.h>

#include <string_view>

namespace platform::win32 {

// The program's one tooltip window, shared by the main window and the
// dialogs it owns: tips show after the mouse has rested on a control for a
// second, stay nine seconds, follow after 200 ms when the mouse moves on to
// the next control, are centred below their control and at most 500 pixels
// wide (at 100 %); CR LF breaks a tip's lines, longer lines are wrapped.
class Tooltips {
 public:
  explicit Tooltips(HWND owner) : owner_(owner) {}

  // Registers the control with the text (Windows-1252); creates the tooltip
  // window first when there is none (or it has gone). dpi scales the width.
  void add(HWND control, std::string_view text, int dpi);
  // Forgets a control, for instance one of a dialog that is closing.
  void remove(HWND control);

  [[nodiscard]] HWND handle() const { return tip_; }

 private:
  void create(int dpi);

  HWND owner_;
  HWND tip_ = nullptr;
};

}  // namespace platform::win32
