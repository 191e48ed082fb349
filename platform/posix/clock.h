#pragma once

#include "platform/clock.h"

namespace platform::posix {

// The machine's clock: a monotonic millisecond tick, the local date and time and a
// sleep of the calling thread.
class Clock : public platform::Clock {
 public:
  [[nodiscard]] std::uint32_t tickCount() const override;
  [[nodiscard]] Date today() const override;
  [[nodiscard]] LocalTime now() const override;
  void sleep(int milliseconds) override;
};

}  // namespace platform::posix
