#include "platform/win32/serial_port.h"

#include <algorithm>
#include <charconv>

namespace platform::win32 {

namespace {

constexpr std::string_view portPrefix = "COM";
constexpr std::wstring_view devicePrefix = L"\\\\.\\COM";
constexpr DWORD baudRate = 9600;
constexpr DWORD failures = CE_RXOVER | CE_OVERRUN | CE_FRAME | CE_IOE | CE_TXFULL;

}  // namespace

std::wstring serialDeviceName(std::string_view portName) {
  if (!portName.starts_with(portPrefix)) return {};
  std::string_view digits = portName.substr(portPrefix.size());
  if (digits.empty() || digits.front() == '0') return {};
  unsigned number = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size() || number < 1) return {};
  return std::wstring(devicePrefix) + std::to_wstring(number);
}

std::size_t waitingBytes(DWORD lineErrors, DWORD bytesInQueue) {
  if ((lineErrors & failures) != 0) return 0;
  return std::min<std::size_t>(bytesInQueue, platform::SerialPort::receiveBufferBytes);
}

SerialPort::~SerialPort() { close(); }

bool SerialPort::open(std::string_view portName) {
  close();
  std::wstring device = serialDeviceName(portName);
  if (device.empty()) return false;
  port_ = CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                      nullptr);
  if (port_ == INVALID_HANDLE_VALUE) return false;
  if (!configure()) {
    close();
    return false;
  }
  // The driver's receive queue need hold no more than the answer to one
  // command; a driver may keep a larger one.
  SetupComm(port_, static_cast<DWORD>(receiveBufferBytes), static_cast<DWORD>(receiveBufferBytes));
  PurgeComm(port_, PURGE_RXCLEAR | PURGE_TXCLEAR);
  return true;
}

bool SerialPort::configure() const {
  DCB settings{};
  settings.DCBlength = sizeof settings;
  if (!GetCommState(port_, &settings)) return false;
  settings.BaudRate = baudRate;
  settings.ByteSize = 8;
  settings.Parity = NOPARITY;
  settings.StopBits = ONESTOPBIT;
  settings.fBinary = TRUE;
  settings.fParity = FALSE;
  settings.fOutxCtsFlow = FALSE;
  settings.fOutxDsrFlow = FALSE;
  settings.fDtrControl = DTR_CONTROL_ENABLE;
  settings.fDsrSensitivity = FALSE;
  settings.fOutX = FALSE;
  settings.fInX = FALSE;
  settings.fNull = FALSE;
  settings.fRtsControl = RTS_CONTROL_ENABLE;
  settings.fAbortOnError = FALSE;
  if (!SetCommState(port_, &settings)) return false;

  // Reads return at once with what has arrived; a write is bounded in time.
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;
  timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(writeTimeoutMilliseconds);
  return SetCommTimeouts(port_, &timeouts) != FALSE;
}

bool SerialPort::isOpen() const { return port_ != INVALID_HANDLE_VALUE; }

bool SerialPort::write(std::string_view bytes) {
  if (!isOpen()) return false;
  if (bytes.empty()) return true;
  // What arrived before the command, and the line errors it brought, are no
  // part of the answer to it.
  PurgeComm(port_, PURGE_RXCLEAR);
  DWORD errors = 0;
  ClearCommError(port_, &errors, nullptr);
  DWORD written = 0;
  auto size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), MAXDWORD));
  bool allOut = WriteFile(port_, bytes.data(), size, &written, nullptr) && written == bytes.size();
  // What did not go out in time must not trail behind into a later command.
  if (!allOut) PurgeComm(port_, PURGE_TXABORT | PURGE_TXCLEAR);
  return allOut;
}

std::size_t SerialPort::bytesWaiting() {
  if (!isOpen()) return 0;
  DWORD errors = 0;
  COMSTAT status{};
  if (!ClearCommError(port_, &errors, &status)) return 0;
  return waitingBytes(errors, status.cbInQue);
}

std::string SerialPort::read(std::size_t count) {
  if (!isOpen()) return {};
  std::string bytes(std::min(count, receiveBufferBytes), '\0');
  DWORD received = 0;
  if (bytes.empty() ||
      !ReadFile(port_, bytes.data(), static_cast<DWORD>(bytes.size()), &received, nullptr)) {
    return {};
  }
  bytes.resize(received);
  return bytes;
}

void SerialPort::close() {
  if (!isOpen()) return;
  CloseHandle(port_);
  port_ = INVALID_HANDLE_VALUE;
}

}  // namespace platform::win32
