#pragma once

#include <optional>
#include <span>

#include "platform/dialogs.h"
#include "platform/win32/window.h"
#include "platform/window_definition.h"

namespace platform::win32 {

// The dialog of a DialogDefinition, modal over the owner window and placed
// at the definition's place in its client area: its labels, its edit fields
// showing the texts of fields by id (with their tooltips) and its buttons;
// the first button is the default one, which has the focus and is pressed
// by Enter. Returns the button pressed and every field's text
// (Windows-1252); nothing when the dialog was closed in any other way (Esc,
// the close box, the system menu).
[[nodiscard]] std::optional<DialogResult> runTextDialog(Window& owner,
                                                        const DialogDefinition& definition,
                                                        std::span<const DialogField> fields);

}  // namespace platform::win32
