#pragma once

#include <cstddef>
#include <string_view>

namespace testing_support {

// How much longer a bound on time may be in a build with AddressSanitizer.
#if defined(__SANITIZE_ADDRESS__)
constexpr double slowdown = 10.0;
#else
constexpr double slowdown = 1.0;
#endif

// How often pattern stands in text, not overlapping.
inline std::size_t occurrences(std::string_view text, std::string_view pattern) {
  std::size_t count = 0;
  for (std::size_t at = text.find(pattern); at != std::string_view::npos;
       at = text.find(pattern, at + pattern.size())) {
    ++count;
  }
  return count;
}

}  // namespace testing_support
