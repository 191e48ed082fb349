#pragma once

#include <cstdint>

namespace platform {

struct Date {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
};

struct LocalTime {
  Date date;
  int hour = 0;    // 0 to 23
  int minute = 0;  // 0 to 59
  int second = 0;  // 0 to 60 (a leap second)
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since some fixed moment; wraps like a 32-bit tick count.
  [[nodiscard]] virtual std::uint32_t tickCount() const = 0;
  [[nodiscard]] virtual Date today() const = 0;
  // The local date and time of day, to the second.
  [[nodiscard]] virtual LocalTime now() const = 0;
  virtual void sleep(int milliseconds) = 0;
};

}  // namespace platform
