#pragma once

#include <string_view>

#include "outputs/phone_connection.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/settings.h"
#include "platform/window.h"

namespace outputs {

// The settings button: shows the port settings dialog with the stored port
// and applies what the user entered when the dialog was closed with OK.
// Closing the dialog otherwise changes nothing.
void openPortSettings(const platform::DialogDefinition& dialog, PhoneConnection& connection,
                      platform::Window& window, platform::Dialogs& dialogs,
                      platform::Setting& storedPort, platform::Clock& clock);

// Applies an entered port: hides the phone buttons, clears the stored port
// and, when the entry is not empty, connects to it. A failed attempt leaves
// the stored port empty, so the next start tries no port. An empty entry
// leaves an open connection open (with its buttons hidden).
void applyPortSettings(std::string_view entered, PhoneConnection& connection,
                       platform::Window& window, platform::Dialogs& dialogs,
                       platform::Setting& storedPort, platform::Clock& clock);

}  // namespace outputs
