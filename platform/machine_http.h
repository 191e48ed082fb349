#pragma once

#include <memory>

#include "platform/http.h"

namespace platform {

// HTTP through the backend the program is built with (Qt Network on Linux,
// WinHTTP on Windows).
[[nodiscard]] std::unique_ptr<Http> makeMachineHttp();

}  // namespace platform
