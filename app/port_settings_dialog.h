#pragma once

#include "platform/window_definition.h"

namespace app {

// The "Einstellungen" dialog of the settings button, as data: the
// telephone's port (with its tooltip), the CardDAV server's address, user
// and password, OK and "Jetzt abgleichen", placed at (348, 289) of the main
// window's client area. Each backend builds it.
[[nodiscard]] const platform::DialogDefinition& portSettingsDialog();

// The question for the server's password when no keyring holds it: one
// password field and OK.
[[nodiscard]] const platform::DialogDefinition& serverPasswordDialog();

}  // namespace app
