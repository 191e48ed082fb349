#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace platform::win32 {

std::uint32_t Win32Clock::tickCount() const { return GetTickCount(); }

Date Win32Clock::today() const { return now().date; }

LocalTime Win32Clock::now() const {
  SYSTEMTIME local{};
  GetLocalTime(&local);
  return {{local.wYear, local.wMonth, local.wDay}, local.wHour, local.wMinute, local.wSecond};
}

void Win32Clock::sleep(int milliseconds) {
  if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace platform::win32
