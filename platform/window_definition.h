#pragma once

#include <span>
#include <string_view>

#include "platform/control_id.h"

namespace platform {

enum class ControlKind {
  edit,           // single-line edit field
  digitsEdit,     // single-line edit field that takes only 0 to 9 from the keyboard
  passwordEdit,   // single-line edit field that shows bullets instead of its text
  multiLineEdit,  // notes: both scroll bars, no wrapping, Enter breaks the line
  pictureButton,
  label,
  table,
  statusBar,
  progressBar,
  picture,  // decoration
  button,   // a push button with a text: in a dialog, each one closes it
};

// The single-line edit kinds: the fields whose texts a dialog hands back.
[[nodiscard]] constexpr bool isLineEdit(ControlKind kind) {
  return kind == ControlKind::edit || kind == ControlKind::digitsEdit ||
         kind == ControlKind::passwordEdit;
}

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
  std::string_view text = {};  // Windows-1252; for pictures the picture's resource name
  int x, y, width, height;     // client-area pixels
  FontId font = FontId::defaultFont;
  Alignment alignment = Alignment::left;
  bool scaled = false;                   // picture stretched to the control's size
  bool hidden = false;                   // hidden until shown by the program
  int pictureSize = 0;                   // the picture's own size (square) in pixels
  std::string_view accessibleName = {};  // Windows-1252; for picture buttons
  std::string_view tooltip = {};         // Windows-1252; CR LF breaks the line
  bool highlighted = false;              // a label on the highlight background
};

struct Rgb {
  int red, green, blue;
};

// The main window as a whole.
struct WindowDefinition {
  std::string_view title;  // Windows-1252
  int clientWidth, clientHeight;
  Rgb background;
  Rgb highlightBackground;  // of the highlighted labels
  Rgb tableBackground;
  std::span<const int> statusPartWidths;
  int progressX, progressY, progressWidth, progressHeight;
  int timerMilliseconds;
  std::span<const ControlDefinition> controls;
  std::span<const FontDefinition> fonts;
};

// A small modal dialog over the main window: labels, single-line edit fields
// and buttons, in creation (and Tab) order. Every button closes it; the first
// one is the default button, which has the focus when the dialog opens and
// which Enter presses from a field.
struct DialogDefinition {
  std::string_view title;  // Windows-1252
  std::string_view icon;   // the picture's resource name
  int iconSize;            // the caption icon's size (square) in pixels
  int clientWidth, clientHeight;
  int x, y;  // where it opens, in the owner's client coordinates
  std::span<const ControlDefinition> controls;
};

}  // namespace platform
