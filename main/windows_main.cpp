// Morvi-Telefonbuch on Windows: builds the main window with the Win32 API,
// hands the services of Windows to the program and runs until the window is
// closed.

#include "app/main_window_definition.h"
#include "app/program.h"
#include "platform/config_candidates.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_file_operations.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_profile_file.h"
#include "platform/win32/win32_serial_port.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_window.h"

int main() {
  platform::win32::initCommonControls();
  platform::win32::Win32FileOperations fileOperations;
  platform::win32::Win32FileSystem files(fileOperations);
  platform::win32::Win32ProfileFile profile;
  platform::win32::Win32Clock clock;
  platform::win32::Win32Shell shell;
  platform::win32::Win32SerialPort serial;
  platform::win32::Win32Window window(app::mainWindowDefinition());
  platform::win32::Win32Dialogs dialogs(window);

  app::Program program({window, dialogs, profile, files, clock, serial, shell},
                       platform::configCandidatesOfThisProcess(),
                       platform::backupFolderOfThisProcess());
  program.start();
  window.runUntilClosed();
  return 0;
}
