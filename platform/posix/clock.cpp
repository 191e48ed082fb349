#include "platform/posix/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

#include "platform/machine_clock.h"

namespace platform::posix {

std::uint32_t Clock::tickCount() const {
  auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  // Wraps after 49.7 days like the 32-bit tick count of Windows.
  return static_cast<std::uint32_t>(elapsed.count());
}

Date Clock::today() const { return now().date; }

LocalTime Clock::now() const {
  std::time_t seconds = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&seconds, &local) == nullptr) return {};
  return {{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday},
          local.tm_hour,
          local.tm_min,
          local.tm_sec};
}

void Clock::sleep(int milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace platform::posix

namespace platform {

std::unique_ptr<Clock> makeMachineClock() { return std::make_unique<posix::Clock>(); }

}  // namespace platform
