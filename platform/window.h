#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/control_id.h"

namespace platform {

// Events of the main window, delivered once the program has attached a handler.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  virtual void timerExpired() = 0;
  // A button was clicked, or pressed from the keyboard.
  virtual void controlClicked(ControlId id) = 0;
  // A left click on the header of a table column (1-based).
  virtual void columnClicked(int column) = 0;
  // The window frame turns active (true) or inactive (false).
  virtual void activationChanged(bool active) = 0;
  // The user asks to close the window; return false to keep it open.
  virtual bool closeRequested() = 0;
};

// The most bytes of a text that a multi-line field shows: laying out
// megabytes would hold the window for many seconds (a quarter of a second of
// layout even as one line). A longer text shows its beginning only and is
// given back whole by text() until the user changes the field.
inline constexpr std::size_t maxShownLength = 65536;

// The most characters typing can put into a one-line field; a longer text
// that the program sets is kept whole, and typing cannot make it longer.
inline constexpr int typingLimit = 32767;

// The main window and its controls, addressed by id. All texts crossing this
// interface are Windows-1252 bytes; multi-line texts use CR LF line breaks.
// The record table and the status bar have interfaces of their own.
class Window {
 public:
  virtual ~Window() = default;

  [[nodiscard]] virtual std::string text(ControlId id) const = 0;
  virtual void setText(ControlId id, std::string_view text) = 0;
  virtual void setVisible(ControlId id, bool visible) = 0;
  [[nodiscard]] virtual bool isVisible(ControlId id) const = 0;
  virtual void setFocus(ControlId id) = 0;
  // The control that has the keyboard focus, or ControlId::none.
  [[nodiscard]] virtual ControlId focusedControl() const = 0;
  virtual void addTooltip(ControlId id, std::string_view text) = 0;

  // Shows the window in its normal state.
  virtual void show() = 0;
  // Until a handler is set the window handles its events by itself only.
  virtual void setEventHandler(WindowEvents* events) = 0;
  virtual void startTimer(int milliseconds) = 0;
  // Lets the window handle what is waiting: painting, input, timers.
  virtual void processPendingEvents() = 0;
  [[nodiscard]] virtual bool isAlive() const = 0;
};

}  // namespace platform
