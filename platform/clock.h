#pragma once

#include <cstdint>

namespace platform {

struct Date {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since some fixed moment; wraps like a 32-bit tick count.
  [[nodiscard]] virtual std::uint32_t tickCount() const = 0;
  [[nodiscard]] virtual Date today() const = 0;
  virtual void sleep(int milliseconds) = 0;
};

}  // namespace platform
