#pragma once

#include <memory>

#include "platform/file_system.h"

namespace platform {

// The machine's own files, through the backend the program is built with
// (POSIX calls on Linux, the Win32 API on Windows).
[[nodiscard]] std::unique_ptr<FileSystem> makeMachineFileSystem();

}  // namespace platform
