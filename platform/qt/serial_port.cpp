#include "platform/qt/serial_port.h"

#include <poll.h>

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifdef __linux__
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace platform::qt {

namespace {

constexpr std::string_view portPrefix = "COM";
constexpr std::string_view linkPrefix = "com";
constexpr std::string_view fallbackDevice = "/dev/ttyS";
// Enough rounds to empty the driver's receive queue into the port's buffer;
// a line that keeps sending cannot hold the caller longer than that.
constexpr int drainRounds = 64;

}  // namespace

std::string serialDevicePath(std::string_view portName, std::string_view linkFolder) {
  if (!portName.starts_with(portPrefix)) return {};
  std::string_view digits = portName.substr(portPrefix.size());
  if (digits.empty() || digits.front() == '0') return {};
  int number = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size() || number < 1) return {};

  if (!linkFolder.empty()) {
    std::string link =
        std::string(linkFolder) + "/" + std::string(linkPrefix) + std::string(digits);
    std::error_code ignored;
    if (std::filesystem::symlink_status(link, ignored).type() !=
        std::filesystem::file_type::not_found) {
      return link;
    }
  }
  return std::string(fallbackDevice) + std::to_string(number - 1);
}

std::string serialLinkFolder(std::string_view xdgConfigHome, std::string_view home) {
  if (xdgConfigHome.starts_with('/')) return std::string(xdgConfigHome) + "/zudedo";
  if (!home.empty()) return std::string(home) + "/.config/zudedo";
  return {};
}

std::string serialLinkFolderOfThisProcess() {
  auto variable = [](const char* name) {
    const char* value = std::getenv(name);
    return std::string_view(value == nullptr ? "" : value);
  };
  return serialLinkFolder(variable("XDG_CONFIG_HOME"), variable("HOME"));
}

SerialPort::SerialPort() {
  port_.setReadBufferSize(static_cast<qint64>(receiveBufferBytes));
  // Also emitted while the port is waited for, within write() and
  // bytesWaiting().
  QObject::connect(&port_, &QSerialPort::readyRead, &port_, [this] {
    if (!keepingReceived_) discardReceived();
  });
}

SerialPort::~SerialPort() { close(); }

bool SerialPort::open(std::string_view portName) {
  close();
  std::string device = serialDevicePath(portName, serialLinkFolderOfThisProcess());
  if (device.empty()) return false;
  port_.setPortName(
      QFile::decodeName(QByteArray(device.data(), static_cast<qsizetype>(device.size()))));
  if (!port_.open(QIODevice::ReadWrite)) {
    port_.clearError();
    return false;
  }
  haveErrorCount_ = false;
  static_cast<void>(lineErrorSinceLastLook());
  return true;
}

bool SerialPort::isOpen() const { return port_.isOpen(); }

bool SerialPort::write(std::string_view bytes) {
  if (!port_.isOpen()) return false;
  if (bytes.empty()) return true;
  // What arrived before the command is no answer to it.
  discardReceived();
  auto size = static_cast<qint64>(bytes.size());
  bool allOut = port_.write(bytes.data(), size) == size;
  // Without an event loop the bytes leave the port's buffer only while the
  // port is waited for.
  QDeadlineTimer deadline(writeTimeoutMilliseconds);
  while (allOut && port_.bytesToWrite() > 0 && !deadline.hasExpired()) {
    if (!port_.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) break;
  }
  allOut = allOut && port_.bytesToWrite() == 0;
  // What did not go out in time must not trail behind into a later command.
  if (!allOut) port_.clear(QSerialPort::Output);
  port_.clearError();
  return allOut;
}

std::size_t SerialPort::bytesWaiting() {
  if (!port_.isOpen()) return 0;
  // Asked of the system itself: not every Qt version reports a hang-up from
  // the wait below.
  bool lineError = lineErrorSinceLastLook() || deviceGone();
  // Bytes that arrived while no event loop ran are still in the driver's
  // queue; a wait of no time takes them into the port's buffer.
  keepingReceived_ = true;
  for (int round = 0; round < drainRounds && port_.waitForReadyRead(0); ++round) {
  }
  keepingReceived_ = false;
  QSerialPort::SerialPortError error = port_.error();
  port_.clearError();
  if (lineError || error == QSerialPort::ReadError || error == QSerialPort::ResourceError) {
    return 0;
  }
  return static_cast<std::size_t>(port_.bytesAvailable());
}

std::string SerialPort::read(std::size_t count) {
  if (!port_.isOpen()) return {};
  qint64 available = port_.bytesAvailable();
  qint64 wanted =
      count < static_cast<std::size_t>(available) ? static_cast<qint64>(count) : available;
  QByteArray data = port_.read(wanted);
  return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

void SerialPort::close() {
  if (!port_.isOpen()) return;
  port_.close();
  port_.clearError();
}

void SerialPort::discardReceived() { port_.clear(QSerialPort::Input); }

bool SerialPort::deviceGone() const {
  pollfd device{port_.handle(), 0, 0};
  return ::poll(&device, 1, 0) == 1 && (device.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

bool SerialPort::lineErrorSinceLastLook() {
#ifdef __linux__
  serial_icounter_struct counts{};
  if (::ioctl(port_.handle(), TIOCGICOUNT, &counts) == -1) return false;
  // Parity errors and breaks do not count: the answer may still hold "OK".
  auto total = static_cast<unsigned long>(counts.frame) +
               static_cast<unsigned long>(counts.overrun) +
               static_cast<unsigned long>(counts.buf_overrun);
  bool grew = haveErrorCount_ && total != errorCount_;
  errorCount_ = total;
  haveErrorCount_ = true;
  return grew;
#else
  return false;
#endif
}

}  // namespace platform::qt
