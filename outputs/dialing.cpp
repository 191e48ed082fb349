#include "outputs/dialing.h"

#include <array>

namespace outputs {

namespace {

using platform::ControlId;

struct PhoneButton {
  ControlId button;
  ControlId numberField;  // none for a hang-up button
};

constexpr std::array<PhoneButton, 6> buttonTable{{
    {ControlId::dialWorkButton, ControlId::workPhoneEdit},
    {ControlId::dialHomeButton, ControlId::homePhoneEdit},
    {ControlId::dialMobileButton, ControlId::mobileEdit},
    {ControlId::hangUpWorkButton, ControlId::none},
    {ControlId::hangUpHomeButton, ControlId::none},
    {ControlId::hangUpMobileButton, ControlId::none},
}};

constexpr std::string_view lineEnd = "\r\n";

}  // namespace

std::optional<std::string> phoneCommandLine(ControlId button, const platform::Window& window) {
  for (const PhoneButton& entry : buttonTable) {
    if (entry.button != button) continue;
    std::string line = entry.numberField == ControlId::none
                           ? std::string("ATH")
                           : "ATD" + window.text(entry.numberField);
    line += lineEnd;
    return line;
  }
  return std::nullopt;
}

void phoneCommand(ControlId button, PhoneConnection& connection, const platform::Window& window,
                  platform::Dialogs& dialogs) {
  std::optional<std::string> line = phoneCommandLine(button, window);
  if (!line) return;
  if (!connection.isOpen()) {
    dialogs.messageBox("COM-Port nicht bereit !", "Stop");
    return;
  }
  // The telephone's answer stays unread; a failed write changes nothing.
  connection.write(*line);
}

}  // namespace outputs
