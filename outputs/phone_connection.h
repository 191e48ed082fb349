#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/control_id.h"
#include "platform/dialogs.h"
#include "platform/serial_port.h"
#include "platform/settings.h"
#include "platform/window.h"
#include "table/control_ids.h"

namespace outputs {

// The one serial connection to the telephone. Open or not open is the port's
// own state; the connection adds nothing to it (no line settings, no call).
class PhoneConnection {
 public:
  explicit PhoneConnection(platform::SerialPort& port) : port_(port) {}

  [[nodiscard]] bool isOpen() const { return port_.isOpen(); }
  // Writes the bytes in one write; returns whether all of them went out.
  bool write(std::string_view bytes) { return port_.write(bytes); }
  [[nodiscard]] platform::SerialPort& port() { return port_; }

 private:
  platform::SerialPort& port_;
};

// The controls of the main window with ids from 1300 to 1350: the three dial
// and the three hang-up buttons.
inline constexpr std::array<platform::ControlId, 6> phoneButtons{
    table::control::dialWorkButton,   table::control::dialHomeButton,
    table::control::dialMobileButton, table::control::hangUpWorkButton,
    table::control::hangUpHomeButton, table::control::hangUpMobileButton};

void setPhoneButtonsVisible(platform::Window& window, bool visible);

// A port entry as it is checked and shown: blanks (0x20) around it removed,
// upper-cased with the Windows-1252 ANSI table.
[[nodiscard]] std::string normalizePortEntry(std::string_view name);

// The port name ("COM3") of a normalized entry: it must start with "COM",
// followed (after blanks, tabs and line feeds) by a decimal number that
// rounds, half away from zero, to a port number from 1 to 2147483647.
// Reading the number stops at the first character that cannot continue it
// ("COM3:" is COM3, "COM3.6" is COM4). Nothing when the entry names no port.
[[nodiscard]] std::optional<std::string> portNameOf(std::string_view normalizedEntry);

// Connects to the telephone on the named port: closes an open connection,
// checks the name ("COMx ?"), opens the port ("Open ?") and probes it with
// "AT", waiting 200 ms for an answer holding "OK" ("kein Telefon gefunden !",
// the port is closed again). On success the port stays open, its name is
// stored as the telephone port and the phone buttons are shown. An empty
// name only closes the connection.
void connectPhone(std::string_view name, PhoneConnection& connection, platform::Window& window,
                  platform::Dialogs& dialogs, platform::Setting& storedPort,
                  platform::Clock& clock);

}  // namespace outputs
