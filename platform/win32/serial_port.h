#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/serial_port.h"

namespace platform::win32 {

// The device name of a port name "COMn" (n from 1, no leading zero):
// "\\.\COMn", the form that also reaches COM10 and above. Empty for a name
// of another form.
[[nodiscard]] std::wstring serialDeviceName(std::string_view portName);

// The count of received bytes a port reports for what ClearCommError found:
// 0 after an overrun, framing, I/O or buffer error (parity errors and
// breaks do not count), else the bytes in the driver's queue, at most
// receiveBufferBytes, as a device that keeps sending may fill a larger one.
[[nodiscard]] std::size_t waitingBytes(DWORD lineErrors, DWORD bytesInQueue);

// The telephone's COM port through the Win32 communications functions. The
// port is opened exclusively and set to 9600 baud, 8 data bits, no parity,
// one stop bit, no flow control, with DTR and RTS on; a port whose settings
// cannot be made (a device that is not a serial line, or no device behind
// the name) is closed again and counts as not opened. Reads never wait. A
// write gives up after one second and then discards what it could not send.
// bytesWaiting() reports what waitingBytes says.
//
// Nothing is read in the background: received bytes stay in the driver's
// queue (asked to hold receiveBufferBytes) until the caller reads them, and
// every write first discards what is waiting and the line errors noted so
// far, so that only the answer to the written command is seen.
class SerialPort : public platform::SerialPort {
 public:
  SerialPort() = default;
  ~SerialPort() override;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  bool open(std::string_view portName) override;
  [[nodiscard]] bool isOpen() const override;
  bool write(std::string_view bytes) override;
  [[nodiscard]] std::size_t bytesWaiting() override;
  std::string read(std::size_t count) override;
  void close() override;

 private:
  [[nodiscard]] bool configure() const;

  HANDLE port_ = INVALID_HANDLE_VALUE;
};

}  // namespace platform::win32
