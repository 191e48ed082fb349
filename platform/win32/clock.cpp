#include "platform/win32/clock.h"

#include <windows.h>

#include "platform/machine_clock.h"

namespace platform::win32 {

std::uint32_t Clock::tickCount() const { return GetTickCount(); }

Date Clock::today() const { return now().date; }

LocalTime Clock::now() const {
  SYSTEMTIME local{};
  GetLocalTime(&local);
  return {{local.wYear, local.wMonth, local.wDay}, local.wHour, local.wMinute, local.wSecond};
}

void Clock::sleep(int milliseconds) {
  if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace platform::win32

namespace platform {

std::unique_ptr<Clock> makeMachineClock() { return std::make_unique<win32::Clock>(); }

}  // namespace platform
