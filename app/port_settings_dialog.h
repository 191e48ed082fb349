#pragma once

#include "platform/window_definition.h"

namespace app {

// The "Einstellungen" dialog in which the user names the telephone's port,
// as data: a caption, the port field (with its tooltip) and OK, placed at
// (596, 289) of the main window's client area. Each backend builds it.
[[nodiscard]] const platform::DialogDefinition& portSettingsDialog();

}  // namespace app
