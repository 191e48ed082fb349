#pragma once

#include <memory>

#include "platform/clock.h"

namespace platform {

// The machine's clock, through the backend the program is built with.
[[nodiscard]] std::unique_ptr<Clock> makeMachineClock();

}  // namespace platform
