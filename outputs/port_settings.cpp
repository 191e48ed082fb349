#include "outputs/port_settings.h"

namespace outputs {

void applyPortSettings(std::string_view entered, PhoneConnection& connection,
                       platform::Window& window, platform::Dialogs& dialogs,
                       platform::Setting& storedPort, platform::Clock& clock) {
  setPhoneButtonsVisible(window, false);
  storedPort.write("");
  if (entered.empty()) return;
  connectPhone(entered, connection, window, dialogs, storedPort, clock);
}

}  // namespace outputs
