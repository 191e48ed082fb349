#pragma once

#include <string_view>

#include "outputs/phone_connection.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/settings.h"
#include "platform/window.h"

namespace outputs {

// Applies an entered port: hides the phone buttons, clears the stored port
// and, when the entry is not empty, connects to it. A failed attempt leaves
// the stored port empty, so the next start tries no port. An empty entry
// leaves an open connection open (with its buttons hidden).
void applyPortSettings(std::string_view entered, PhoneConnection& connection,
                       platform::Window& window, platform::Dialogs& dialogs,
                       platform::Setting& storedPort, platform::Clock& clock);

}  // namespace outputs
