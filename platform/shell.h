#pragma once

#include <string_view>

namespace platform {

// Hands things to the desktop. Arguments are Windows-1252 bytes and are
// passed on as one argument each, never through a shell command line.
class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a URL (mailto:) with the desktop's default handler.
  virtual void openUrl(std::string_view url) = 0;
  // Opens a file with the desktop's default viewer, without waiting.
  virtual void openFile(std::string_view path) = 0;
};

}  // namespace platform
