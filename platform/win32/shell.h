#pragma once

#include <string>

#include "platform/shell.h"

namespace platform::win32 {

// The Windows shell: a URL goes to its registered handler through
// ShellExecuteW with the verb "open"; a file is shown in Notepad, started
// with CreateProcessW as the Notepad program file followed by the path, each
// in quotes. Notepad is named by its full path in the system folder and
// never searched for: the program's folder and the current folder, where
// Windows looks first, may hold a program of that name that someone else
// put there. The program waits for neither; nothing is reported when the
// handler or Notepad cannot be started.
class Shell : public platform::Shell {
 public:
  // Notepad of the system folder.
  Shell();
  // Notepad as this program file (a full path).
  explicit Shell(std::wstring notepad) : notepad_(std::move(notepad)) {}

  void openUrl(std::string_view url) override;
  void openFile(std::string_view path) override;

 private:
  std::wstring notepad_;
};

}  // namespace platform::win32
