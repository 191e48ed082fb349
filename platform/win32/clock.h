#pragma once

#include "platform/clock.h"

namespace platform::win32 {

// Windows' own clock: GetTickCount (wraps after 49.7 days), Sleep and the
// local date and time of GetLocalTime.
class Clock : public platform::Clock {
 public:
  [[nodiscard]] std::uint32_t tickCount() const override;
  [[nodiscard]] Date today() const override;
  [[nodiscard]] LocalTime now() const override;
  void sleep(int milliseconds) override;
};

}  // namespace platform::win32
