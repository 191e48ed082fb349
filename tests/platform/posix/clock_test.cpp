#include "platform/posix/clock.h"

#include <gtest/gtest.h>

namespace {

TEST(SystemClock, sleepAdvancesTheTickCount) {
  platform::posix::Clock clock;
  std::uint32_t before = clock.tickCount();
  clock.sleep(30);
  // Unsigned difference, so a wrap of the 32-bit count in between is fine.
  std::uint32_t elapsed = clock.tickCount() - before;
  EXPECT_GE(elapsed, 30U);
  EXPECT_LT(elapsed, 5000U);
}

}  // namespace
