#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// One serial device for the telephone, opened by its port name ("COM3").
// Received bytes matter only as the answer to the last write: a port keeps
// at most a few kilobytes of them and may discard what arrives at other
// times, so a device that keeps sending costs no memory.
class SerialPort {
 public:
  virtual ~SerialPort() = default;
  // Opens the device for reading and writing, exclusively, only if it exists.
  virtual bool open(std::string_view portName) = 0;
  [[nodiscard]] virtual bool isOpen() const = 0;
  // Writes the bytes within a bounded time; returns whether all were written.
  virtual bool write(std::string_view bytes) = 0;
  // Received bytes waiting to be read; 0 when the line reports an error.
  [[nodiscard]] virtual std::size_t bytesWaiting() = 0;
  // Reads up to count bytes that are waiting, without blocking.
  virtual std::string read(std::size_t count) = 0;
  virtual void close() = 0;

  // The longest time one write may take, in milliseconds: a device that never
  // takes the bytes must not hold the window.
  static constexpr int writeTimeoutMilliseconds = 1000;
  // The most received bytes a port keeps for the caller: far more than an
  // answer to a command needs.
  static constexpr std::size_t receiveBufferBytes = 4096;
};

}  // namespace platform
