// Morvi-Telefonbuch: builds the main window with Qt, hands the real services
// of this machine to the program and runs until the window is closed.

#include <QApplication>

#include "app/config_location.h"
#include "app/main_window_definition.h"
#include "app/program.h"
#include "platform/ini_profile_file.h"
#include "platform/posix/posix_file_operations.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/system_clock.h"
#include "platform/posix/xdg_shell.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_serial_port.h"
#include "platform/qt/qt_window.h"

int main(int, char** argv) {
  // The program reads no command-line arguments, not even those of Qt.
  int noArguments = 1;
  QApplication application(noArguments, argv);
  platform::PosixFileOperations fileOperations;
  platform::PosixFileSystem files(fileOperations);
  platform::IniProfileFile profile(files);
  platform::SystemClock clock;
  platform::XdgShell shell;
  platform::qt::QtSerialPort serial;
  platform::qt::QtWindow window(app::mainWindowDefinition());
  platform::qt::QtDialogs dialogs(&window);

  app::Program program({window, dialogs, profile, files, clock, serial, shell},
                       platform::configCandidatesOfThisProcess());
  program.start();
  // Closed while it was starting: there is no window left to wait for.
  if (window.isAlive()) QApplication::exec();
  return 0;
}
