#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/window.h"
#include "platform/window_definition.h"

namespace platform::win32 {

// The dialog of a DialogDefinition, modal over the owner window and placed
// at the definition's place in its client area: its labels, its one edit
// field showing text (with the field's tooltip) and its default button,
// which has the focus and is pressed by Enter. Returns the field's text
// (Windows-1252) when that button was pressed; nothing when the dialog was
// closed in any other way (Esc, the close box, the system menu).
[[nodiscard]] std::optional<std::string> runTextDialog(Window& owner,
                                                       const DialogDefinition& definition,
                                                       std::string_view text);

}  // namespace platform::win32
