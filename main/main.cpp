// Morvi-Telefonbuch: builds the main window with Qt, hands the real services
// of this machine to the program and runs until the window is closed.

#include <QApplication>
#include <cstdlib>

#include "app/main_window_definition.h"
#include "app/program.h"
#include "app/setting_keys.h"
#include "platform/config_candidates.h"
#include "platform/ini_profile_file.h"
#include "platform/machine_http.h"
#include "platform/machine_keyring.h"
#include "platform/posix/clock.h"
#include "platform/posix/file_operations.h"
#include "platform/posix/file_system.h"
#include "platform/posix/shell.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/serial_port.h"
#include "platform/qt/window.h"

int main(int, char** argv) {
  // The program reads no command-line arguments, not even those of Qt.
  int noArguments = 1;
  QApplication application(noArguments, argv);
  platform::posix::FileOperations fileOperations;
  platform::posix::FileSystem files(fileOperations);
  platform::IniProfileFile profile(files);
  platform::posix::Clock clock;
  platform::posix::Shell shell;
  platform::qt::SerialPort serial;
  platform::qt::Window window(app::mainWindowDefinition());
  platform::qt::Dialogs dialogs(&window);
  std::unique_ptr<platform::Http> http = platform::makeMachineHttp();
  std::unique_ptr<platform::Keyring> keyring = platform::makeMachineKeyring();
  const char* password = std::getenv("ZUDEDO_CARDDAV_PASSWORD");

  app::Program program(
      {window, window, window, dialogs, profile, files, clock, serial, shell, *http, *keyring},
      platform::configCandidatesOfThisProcess(app::configFileName),
      platform::backupFolderOfThisProcess(app::stateFolderName),
      password ? std::optional<std::string>(password) : std::nullopt);
  program.start();
  // Closed while it was starting: there is no window left to wait for.
  if (window.isAlive()) QApplication::exec();
  return 0;
}
