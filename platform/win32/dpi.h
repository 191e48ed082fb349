#pragma once

namespace platform::win32 {

// The DPI at which the window's layout is given in pixels (100 %).
inline constexpr int baseDpi = 96;

// A length in pixels at 100 % as pixels at the given DPI, rounded to the
// nearest pixel (halves away from zero, as MulDiv rounds).
[[nodiscard]] constexpr int scaled(int pixels, int dpi) {
  long long product = static_cast<long long>(pixels) * dpi;
  long long half = baseDpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / baseDpi : (product - half) / baseDpi);
}

// A length in pixels at the given DPI as pixels at 100 %.
[[nodiscard]] constexpr int unscaled(int pixels, int dpi) {
  if (dpi <= 0) return pixels;
  long long product = static_cast<long long>(pixels) * baseDpi;
  long long half = dpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / dpi : (product - half) / dpi);
}

}  // namespace platform::win32
