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

const PhoneButton* phoneButton(ControlId id) {
  for (const PhoneButton& entry : buttonTable) {
    if (entry.button == id) return &entry;
  }
  return nullptr;
}

}  // namespace

bool isDialable(std::string_view number) {
  constexpr std::string_view signs = " +*#,()-/";
  bool started = false;
  bool digitSeen = false;
  for (char c : number) {
    char upper = text::cp1252::toUpper(c);
    if (c >= '0' && c <= '9') {
      digitSeen = true;
    } else if (signs.find(c) == std::string_view::npos &&
               !((upper == 'T' || upper == 'P') && !started) && !(upper == 'W' && digitSeen)) {
      return false;
    }
    started = started || c != ' ';
  }
  return true;
}

void phoneCommand(ControlId button, PhoneConnection& connection, const platform::Window& window,
                  platform::Dialogs& dialogs) {
  const PhoneButton* entry = phoneButton(button);
  if (entry == nullptr) return;
  if (!connection.isOpen()) {
    dialogs.messageBox("COM-Port nicht bereit !", "Stop");
    return;
  }
  std::string line = "ATH";
  if (entry->numberField != ControlId::none) {
    std::string number = withoutControlCharacters(window.text(entry->numberField));
    if (!isDialable(number)) {
      dialogs.messageBox(notDialableText, "Stop");
      return;
    }
    line = "ATD" + number;
  }
  line += lineEnd;
  // The telephone's answer stays unread; a failed write changes nothing.
  connection.write(line);
}

}  // namespace outputs
