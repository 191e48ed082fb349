#pragma once

#include <QSerialPort>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/serial_port.h"

namespace platform::qt {

// The device file for a port name "COMn" (n from 1, no leading zero): the
// entry "comn" in linkFolder when there is one (normally a symbolic link to
// the telephone's device, followed when the port is opened), else
// /dev/ttyS<n-1>. Empty for a name of another form.
[[nodiscard]] std::string serialDevicePath(std::string_view portName, std::string_view linkFolder);

// The folder of the port links: "zudedo" in $XDG_CONFIG_HOME (when it is an
// absolute path), else in $HOME/.config; empty when neither is known.
[[nodiscard]] std::string serialLinkFolder(std::string_view xdgConfigHome, std::string_view home);
[[nodiscard]] std::string serialLinkFolderOfThisProcess();

// The telephone's serial port through QSerialPort, used without an event
// loop. The device is opened exclusively for reading and writing in raw mode
// with QSerialPort's line settings (9600 baud, 8 data bits, no parity, one
// stop bit, no flow control); the settings it had before are restored when
// the port is closed. A write gives up after one second and then discards
// what it could not send. Line errors (framing, overrun, I/O) make
// bytesWaiting() report 0; parity errors and breaks do not count.
//
// Received bytes are kept only for the caller's next look: bytesWaiting()
// takes in (up to receiveBufferBytes) what arrived since the last write,
// and read() hands it out. Whatever arrives at other times (while the event
// loop runs, before a write) is read and discarded, so a device that keeps
// sending costs neither memory nor a blocked line.
class SerialPort : public platform::SerialPort {
 public:
  SerialPort();
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
  // Drops what was received, in the port's buffer and in the driver's.
  void discardReceived();

  // Whether the driver counted a framing or overrun error since the last look.
  bool lineErrorSinceLastLook();
  // Whether the system reports the device gone: its line hung up or the
  // device removed.
  [[nodiscard]] bool deviceGone() const;

  QSerialPort port_;
  // Set while bytesWaiting() takes in the bytes that the caller will read.
  bool keepingReceived_ = false;
  // The driver's error counters at the last look (framing, overrun, buffer
  // overrun); unused where the driver keeps none (pseudo-terminals, many USB
  // adapters).
  unsigned long errorCount_ = 0;
  bool haveErrorCount_ = false;
};

}  // namespace platform::qt
