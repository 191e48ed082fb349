#pragma once

#include <string_view>

#include "platform/shell.h"

namespace platform::posix {

// The desktop of a POSIX system: "xdg-open", searched on PATH, is started
// with the URL or the file path, converted from Windows-1252 to UTF-8, as its
// one argument (no shell in between). The program does not wait for it; a
// thread of its own collects its exit so that no zombie process stays.
// Nothing is reported when xdg-open cannot be started or fails.
class Shell : public platform::Shell {
 public:
  void openUrl(std::string_view url) override;
  void openFile(std::string_view path) override;
};

}  // namespace platform::posix
