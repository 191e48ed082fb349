#include "outputs/dialing.h"

#include <array>
#include <string>

#include "table/control_ids.h"
#include "text/cp1252.h"

namespace outputs {

namespace {

using platform::ControlId;
namespace control = table::control;

struct PhoneButton {
  ControlId button;
  ControlId numberField;  // none for a hang-up button
};

constexpr std::array<PhoneButton, 6> buttonTable{{
    {control::dialWorkButton, control::workPhoneEdit},
    {control::dialHomeButton, control::homePhoneEdit},
    {control::dialMobileButton, control::mobileEdit},
    {control::hangUpWorkButton, ControlId::none},
    {control::hangUpHomeButton, ControlId::none},
    {control::hangUpMobileButton, ControlId::none},
}};

constexpr std::string_view lineEnd = "\r\n";

// A number may come from a file with line breaks or other control
// characters inside a value; sent as they are, they would end the command
// line early and make the rest of the number a command of its own.
std::string withoutControlCharacters(std::string number) {
  std::erase_if(number, text::cp1252::isControl);
  return number;
}

}  // namespace

std::optional<std::string> phoneCommandLine(ControlId button, const platform::Window& window) {
  for (const PhoneButton& entry : buttonTable) {
    if (entry.button != button) continue;
    std::string line = entry.numberField == ControlId::none
                           ? std::string("ATH")
                           : "ATD" + withoutControlCharacters(window.text(entry.numberField));
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
