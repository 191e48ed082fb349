// Morvi-Telefonbuch on Windows: builds the main window with the Win32 API,
// hands the services of Windows to the program and runs until the window is
// closed.

#include <cstdlib>

#include "app/main_window_definition.h"
#include "app/program.h"
#include "app/setting_keys.h"
#include "platform/config_candidates.h"
#include "platform/ini_profile_file.h"
#include "platform/machine_keyring.h"
#include "platform/win32/clock.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/file_operations.h"
#include "platform/win32/file_system.h"
#include "platform/win32/http.h"
#include "platform/win32/serial_port.h"
#include "platform/win32/shell.h"
#include "platform/win32/window.h"

int main() {
  platform::win32::initCommonControls();
  platform::win32::FileOperations fileOperations;
  platform::win32::FileSystem files(fileOperations);
  // The same bytes as on Linux, whatever the system's code page.
  platform::IniProfileFile profile(files);
  platform::win32::Clock clock;
  platform::win32::Shell shell;
  platform::win32::SerialPort serial;
  platform::win32::Window window(app::mainWindowDefinition());
  platform::win32::Dialogs dialogs(window);
  // The window's events go on while the server is waited for.
  std::unique_ptr<platform::Http> http =
      platform::win32::makeHttp([&window] { window.processPendingEvents(); });
  std::unique_ptr<platform::Keyring> keyring = platform::makeMachineKeyring();
  const char* password = std::getenv("ZUDEDO_CARDDAV_PASSWORD");

  app::Program program(
      {window, window, window, dialogs, profile, files, clock, serial, shell, *http, *keyring},
      platform::configCandidatesOfThisProcess(app::configFileName),
      platform::backupFolderOfThisProcess(app::stateFolderName),
      password ? std::optional<std::string>(password) : std::nullopt);
  program.start();
  window.runUntilClosed();
  return 0;
}
