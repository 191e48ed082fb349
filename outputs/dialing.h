#pragma once

#include <optional>
#include <string>

#include "outputs/phone_connection.h"
#include "platform/control_id.h"
#include "platform/dialogs.h"
#include "platform/window.h"

namespace outputs {

// The command line that a phone button sends: "ATD" with the text of the
// number field beside a dial button as the field holds it but without its
// control characters (bytes below 0x20 and 0x7F), or "ATH" for a hang-up
// button, each ended by CR LF, so one click sends exactly one command line.
// Nothing for other controls.
[[nodiscard]] std::optional<std::string> phoneCommandLine(platform::ControlId button,
                                                          const platform::Window& window);

// A click on one of the six phone buttons: sends its command line in one
// write and returns at once; the telephone's answer is not read. Without an
// open connection it says "COM-Port nicht bereit !" and sends nothing. A
// failed write is not reported. Other controls are ignored.
void phoneCommand(platform::ControlId button, PhoneConnection& connection,
                  const platform::Window& window, platform::Dialogs& dialogs);

}  // namespace outputs
