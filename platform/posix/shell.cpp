#include "platform/posix/shell.h"

#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <array>
#include <cerrno>
#include <string>
#include <system_error>
#include <thread>

#include "text/cp1252.h"

extern char** environ;

namespace platform::posix {

namespace {

constexpr const char* opener = "xdg-open";

void startOpener(std::string_view argument) {
  std::string program(opener);
  std::string utf8 = text::cp1252::toUtf8(argument);
  std::array<char*, 3> argv{program.data(), utf8.data(), nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, opener, nullptr, nullptr, argv.data(), environ) != 0) return;
  // The opener may run as long as the viewer it starts. Waiting for it on a
  // thread of its own keeps the window responsive without leaving a zombie,
  // and unlike a SIGCHLD handler it does not change how the process treats
  // its other children.
  try {
    std::thread([child] {
      while (waitpid(child, nullptr, 0) == -1 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    // No thread to spare: the finished opener stays a zombie until the end.
  }
}

}  // namespace

void Shell::openUrl(std::string_view url) { startOpener(url); }

void Shell::openFile(std::string_view path) { startOpener(path); }

}  // namespace platform::posix
