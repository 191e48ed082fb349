#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/window.h"

namespace platform::win32 {

// The "Einstellungen" dialog in which the user names the telephone's port,
// modal over the owner window and placed at (596, 289) of its client area:
// a caption, the port field (tooltip "z.B. COM3 oder COM12") showing the
// stored port, and OK, which has the focus and is pressed by Enter. Returns
// the field's text (Windows-1252) when OK was pressed; nothing when the
// dialog was closed in any other way (Esc, the close box, the system menu).
[[nodiscard]] std::optional<std::string> runPortSettingsDialog(Window& owner,
                                                               std::string_view storedPort);

}  // namespace platform::win32
