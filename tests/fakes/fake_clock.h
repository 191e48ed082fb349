#pragma once

#include <vector>

#include "platform/clock.h"

namespace testing_support {

// A clock that stands still unless a test or sleep() moves it.
class FakeClock : public platform::Clock {
 public:
  [[nodiscard]] std::uint32_t tickCount() const override { return tick; }
  [[nodiscard]] platform::Date today() const override { return date; }
  void sleep(int milliseconds) override {
    sleeps.push_back(milliseconds);
    tick += static_cast<std::uint32_t>(milliseconds);
  }

  std::uint32_t tick = 1;
  platform::Date date{2026, 12, 6};
  std::vector<int> sleeps;
};

}  // namespace testing_support
