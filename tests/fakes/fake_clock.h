#pragma once

#include <vector>

#include "platform/clock.h"

namespace testing_support {

// A clock that stands still unless a test or sleep() moves it, or moves on
// by tickStep every time it is read.
class FakeClock : public platform::Clock {
 public:
  [[nodiscard]] std::uint32_t tickCount() const override { return tick += tickStep; }
  [[nodiscard]] platform::Date today() const override { return date; }
  [[nodiscard]] platform::LocalTime now() const override { return {date, hour, minute, second}; }
  void sleep(int milliseconds) override {
    sleeps.push_back(milliseconds);
    tick += static_cast<std::uint32_t>(milliseconds);
  }

  mutable std::uint32_t tick = 1;
  std::uint32_t tickStep = 0;
  platform::Date date{2026, 12, 6};
  int hour = 15;
  int minute = 54;
  int second = 24;
  std::vector<int> sleeps;
};

}  // namespace testing_support
