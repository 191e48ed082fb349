#pragma once

#include <functional>
#include <memory>

#include "platform/http.h"

namespace platform::win32 {

// HTTP through WinHTTP. Its calls block, so each exchange runs on a thread
// of its own; meanwhile the calling thread calls whileWaiting whenever
// messages arrive (the window's whole event handling, as a load lets it
// through), or without it only keeps its windows painted.
[[nodiscard]] std::unique_ptr<platform::Http> makeHttp(std::function<void()> whileWaiting);

}  // namespace platform::win32
