#pragma once

#include "platform/shell.h"

namespace platform::win32 {

// The Windows shell: a URL goes to its registered handler through
// ShellExecuteW with the verb "open"; a file is shown in Notepad, started
// with CreateProcessW as "notepad.exe " followed by the path in quotes, found
// the way Windows finds programs. The program waits for neither; nothing is
// reported when the handler or Notepad cannot be started.
class Shell : public platform::Shell {
 public:
  void openUrl(std::string_view url) override;
  void openFile(std::string_view path) override;
};

}  // namespace platform::win32
