#pragma once

#include "platform/clock.h"

namespace platform {

// The machine's clock: a monotonic millisecond tick, the local date and time and a
// sleep of the calling thread.
class SystemClock : public Clock {
 public:
  [[nodiscard]] std::uint32_t tickCount() const override;
  [[nodiscard]] Date today() const override;
  [[nodiscard]] LocalTime now() const override;
  void sleep(int milliseconds) override;
};

}  // namespace platform
