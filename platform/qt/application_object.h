#pragma once

#include <QCoreApplication>

namespace platform::qt {

// Qt's event loops and its D-Bus need an application object. The program
// makes its QApplication at start; vcftool has none, so the services that
// wait in a local event loop make a QCoreApplication the first time.
inline void ensureApplicationObject() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "morvi-telefonbuch";
  static char* argv[] = {name, nullptr};
  // Never destroyed: at the exit of the process Qt's own global objects
  // (those of Qt Network among them) are gone or going, and an application
  // object destroyed after them crashes (Qt 6.8).
  static auto* application = new QCoreApplication(argc, argv);
  (void)application;
}

}  // namespace platform::qt
