#pragma once

#include <span>
#include <string_view>

#include "platform/control_ids.h"

namespace platform {

enum class ControlKind {
  edit,           // single-line edit field
  digitsEdit,     // single-line edit field that takes only 0 to 9 from the keyboard
  multiLineEdit,  // notes: both scroll bars, no wrapping, Enter breaks the line
  pictureButton,
  label,
  table,
  statusBar,
  progressBar,
  picture,  // decoration
};

enum class Alignment { left, right, centre, centreBoth };

// Fonts of the main window; defaultFont is the window's own.
enum class FontId { defaultFont, field, notes, title, separator, rowLabel };

struct FontDefinition {
  FontId id;
  std::string_view face;                          // preferred face
  std::span<const std::string_view> substitutes;  // tried in order when the face is missing
  int points;
  bool bold;
  bool italic;
};

// One control of a window, in creation order (which is also the Tab order).
struct ControlDefinition {
  ControlId id;
  ControlKind kind;
  std::string_view text;    // Windows-1252; for pictures the picture's resource name
  int x, y, width, height;  // client-area pixels
  FontId font = FontId::defaultFont;
  Alignment alignment = Alignment::left;
  bool scaled = false;                   // picture stretched to the control's size
  bool hidden = false;                   // hidden until shown by the program
  int pictureSize = 0;                   // the picture's own size (square) in pixels
  std::string_view accessibleName = {};  // Windows-1252; for picture buttons
};

struct Rgb {
  int red, green, blue;
};

// The main window as a whole.
struct WindowDefinition {
  std::string_view title;  // Windows-1252
  int clientWidth, clientHeight;
  Rgb background;
  Rgb rowLabelBackground;
  Rgb tableBackground;
  std::span<const int> statusPartWidths;
  int progressX, progressY, progressWidth, progressHeight;
  int timerMilliseconds;
  std::span<const ControlDefinition> controls;
  std::span<const FontDefinition> fonts;
};

}  // namespace platform
