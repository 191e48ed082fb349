#pragma once

namespace platform {

// A control of a window, by the number its window definition gives it. The
// program names its controls; to the platform the number is all there is.
enum class ControlId : int { none = 0 };

[[nodiscard]] constexpr int toInt(ControlId id) { return static_cast<int>(id); }

}  // namespace platform
