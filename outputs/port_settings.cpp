#include "outputs/port_settings.h"

#include <optional>
#include <string>

namespace outputs {

void openPortSettings(const platform::DialogDefinition& dialog, PhoneConnection& connection,
                      platform::Window& window, platform::Dialogs& dialogs,
                      platform::Setting& storedPort, platform::Clock& clock) {
  std::optional<std::string> entered = dialogs.askForText(dialog, storedPort.read());
  if (!entered) return;
  applyPortSettings(*entered, connection, window, dialogs, storedPort, clock);
}

void applyPortSettings(std::string_view entered, PhoneConnection& connection,
                       platform::Window& window, platform::Dialogs& dialogs,
                       platform::Setting& storedPort, platform::Clock& clock) {
  setPhoneButtonsVisible(window, false);
  storedPort.write("");
  if (entered.empty()) return;
  connectPhone(entered, connection, window, dialogs, storedPort, clock);
}

}  // namespace outputs
