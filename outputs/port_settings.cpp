#include "outputs/port_settings.h"

#include <optional>
#include <string>

namespace outputs {

void openPortSettings(PhoneConnection& connection, platform::Window& window,
                      platform::Dialogs& dialogs, platform::Settings& settings,
                      platform::Clock& clock) {
  std::string storedPort = settings.read(platform::setting::telephonePort);
  std::optional<std::string> entered = dialogs.portSettings(storedPort);
  if (!entered) return;
  applyPortSettings(*entered, connection, window, dialogs, settings, clock);
}

void applyPortSettings(std::string_view entered, PhoneConnection& connection,
                       platform::Window& window, platform::Dialogs& dialogs,
                       platform::Settings& settings, platform::Clock& clock) {
  setPhoneButtonsVisible(window, false);
  settings.write(platform::setting::telephonePort, "");
  if (entered.empty()) return;
  connectPhone(entered, connection, window, dialogs, settings, clock);
}

}  // namespace outputs
