#include "outputs/phone_connection.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "text/cp1252.h"

namespace outputs {

namespace {

constexpr std::string_view portPrefix = "COM";
constexpr std::string_view probeCommand = "AT\r\n";
constexpr std::string_view probeAnswer = "OK";
constexpr int probeWaitMilliseconds = 200;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal number at the start of text after blanks, tabs and line feeds,
// as a C library's strtod reads it (sign, digits, fraction, exponent; no hex,
// no "INF"), rounded half away from zero; 0 without digits, nothing when the
// number is too large for a port number.
std::optional<double> roundedLeadingNumber(std::string_view text) {
  std::size_t start = text.find_first_not_of(" \t\n");
  if (start == std::string_view::npos) return 0.0;
  text.remove_prefix(start);
  std::size_t end = 0;
  bool negative = false;
  if (end < text.size() && (text[end] == '+' || text[end] == '-')) {
    negative = text[end] == '-';
    ++end;
  }
  std::size_t digitsStart = end;
  std::size_t digits = 0;
  while (end < text.size() && isDigit(text[end])) ++end, ++digits;
  if (end < text.size() && text[end] == '.') {
    ++end;
    while (end < text.size() && isDigit(text[end])) ++end, ++digits;
  }
  if (digits == 0) return 0.0;
  if (end < text.size() && (text[end] == 'E' || text[end] == 'e')) {
    std::size_t exponent = end + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    if (exponent < text.size() && isDigit(text[exponent])) {
      end = exponent;
      while (end < text.size() && isDigit(text[end])) ++end;
    }
  }
  double value = 0;
  auto [last, error] = std::from_chars(text.data() + digitsStart, text.data() + end, value);
  if (error != std::errc() || last != text.data() + end) return std::nullopt;
  return std::round(negative ? -value : value);
}

}  // namespace

void setPhoneButtonsVisible(platform::Window& window, bool visible) {
  for (platform::ControlId id : phoneButtons) window.setVisible(id, visible);
}

std::string normalizePortEntry(std::string_view name) {
  std::size_t first = name.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  std::size_t last = name.find_last_not_of(' ');
  return text::cp1252::toUpper(name.substr(first, last - first + 1));
}

std::optional<std::string> portNameOf(std::string_view normalizedEntry) {
  if (!normalizedEntry.starts_with(portPrefix)) return std::nullopt;
  std::optional<double> number = roundedLeadingNumber(normalizedEntry.substr(portPrefix.size()));
  // Zero, negative numbers and numbers beyond an int name no port.
  if (!number || !(*number >= 1) || *number > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return std::string(portPrefix) + std::to_string(static_cast<int>(*number));
}

void connectPhone(std::string_view name, PhoneConnection& connection, platform::Window& window,
                  platform::Dialogs& dialogs, platform::Setting& storedPort,
                  platform::Clock& clock) {
  platform::SerialPort& port = connection.port();
  if (port.isOpen()) port.close();
  if (name.empty()) return;

  std::string entry = normalizePortEntry(name);
  std::optional<std::string> portName = portNameOf(entry);
  if (!portName) {
    dialogs.messageBox(entry, "COMx ?");
    return;
  }
  if (!port.open(*portName)) {
    dialogs.messageBox(*portName, "Open ?");
    return;
  }

  // A failed write is not examined: the probe then finds no answer.
  port.write(probeCommand);
  clock.sleep(probeWaitMilliseconds);
  std::string answer = port.read(port.bytesWaiting());
  if (answer.find(probeAnswer) == std::string::npos) {
    port.close();
    dialogs.messageBox(*portName, "kein Telefon gefunden !");
    return;
  }
  storedPort.write(*portName);
  setPhoneButtonsVisible(window, true);
}

}  // namespace outputs
